#pragma once
// WindowImplBase: a window built from a layout, with notifications,
// messages, timers, modal runs and DPI scaling.
//
//   class CAboutWnd : public WindowImplBase {
//       QString GetSkinFile() override { return "XML_ABOUT"; }
//       QString GetWindowClassName() const override { return "AboutWnd"; }
//       void Notify(TNotifyUI& msg) override { if (msg.sType == "click") ...;
//                                               WindowImplBase::Notify(msg); }
//   };
//   CAboutWnd about; about.Create(owner, "About"); about.CenterWindow();
//   int code = about.ShowModal();  // the code given to Close
//
// Life: Create builds the layout, calls InitWindow and queues "windowinit".
// Close(code) closes the message endpoint (waiting sends return), hands
// WM_DESTROY to HandleMessage (join workers there), hides the window, ends
// a modal run and calls OnFinalMessage. The window manager's close button
// first asks HandleMessage(WM_CLOSE); unhandled, it means Close(IDCANCEL).

#include "platform/window_messages.h"
#include "ui/control.h"
#include "ui/dialog_builder.h"
#include "ui/notify.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

class QEventLoop;
class QTimer;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

class WindowImplBase : public QWidget,
                       public INotifyUI,
                       public CNotifyPump,
                       public IDialogBuilderCallback,
                       private IMessageHandler {
    Q_OBJECT
public:
    explicit WindowImplBase(bool topLevel = true);
    ~WindowImplBase() override;

    // Builds the layout into the window; false when the layout could not be
    // built (the window is then empty but usable). parent: owner window.
    bool Create(QWidget* parent, const QString& title);
    // Runs a nested loop until Close; returns the close code (IDCANCEL when
    // the window was destroyed some other way).
    int ShowModal();
    void ShowWindow(bool show = true, bool takeFocus = true);
    void CenterWindow();  // over the owner, or the screen without one
    void Close(int code = IDOK);
    bool IsClosed() const { return m_closed; }

    WindowHandle GetHWND() const;  // for PostWindowMessage / SendWindowMessage

    // Lookup.
    QWidget* GetRoot() const { return m_root; }
    CControlUI FindControl(const QString& name) const;
    CControlUI FindSubControlByName(QWidget* parent, const QString& name) const;
    CControlUI FindSubControlByName(const CControlUI& parent, const QString& name) const;

    // Notifications: Notify first, then each added notifier.
    void AddNotifier(INotifyUI* notifier);
    void RemoveNotifier(INotifyUI* notifier);
    void DeliverNotify(TNotifyUI& msg);

    // One-shot timers by id: on expiry the timer is gone and Notify gets
    // {"timer", control (or the root), id}. Setting a running id restarts it.
    bool SetTimer(UINT id, UINT elapseMs, QWidget* control = nullptr);
    bool KillTimer(UINT id);
    bool IsTimerRunning(UINT id) const;

    // DPI: allowed values only (others become 96). Scales the layout's size
    // and fonts relative to 96.
    void SetDPI(int dpi);
    int GetDPI() const { return m_dpi; }
    static void SetAllDPI(int dpi);  // every window of the program
    int ScaleValue(int value) const;
    // Takes the shared fonts (CFontTable) again, at this window's DPI.
    void ApplyFonts();

    // Skin: a Qt style sheet file (name or path through the resource folder).
    bool ApplyStyleSheet(const QString& nameOrPath);

protected:
    // The layout: a resource name of "res.xml" or a relative path.
    virtual QString GetSkinFile() = 0;
    virtual QString GetWindowClassName() const = 0;
    virtual void InitWindow() {}
    // Default: hands the message to the virtual window it belongs to.
    void Notify(TNotifyUI& msg) override;
    // Every message sent or posted to the window, the tray callback, the
    // menu command (WM_MENUCLICK) and WM_CLOSE / WM_DESTROY.
    virtual LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual void OnFinalMessage() {}
    // Classes the layout names that neither Qt nor the factory know.
    QWidget* CreateControl(const QString& className, QWidget* parent) override;

    void closeEvent(QCloseEvent* event) override;
    // Raises "windowsize" from the root; overrides call this too.
    void resizeEvent(QResizeEvent* event) override;

private:
    LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnTimerExpired(UINT id);

    CMessageEndpoint* m_endpoint;
    QWidget* m_root = nullptr;
    QSize m_layoutSize;
    QList<INotifyUI*> m_notifiers;
    struct TimerSlot {
        QTimer* timer;
        QPointer<QWidget> control;
    };
    QHash<UINT, TimerSlot> m_timers;
    QEventLoop* m_modalLoop = nullptr;
    int m_closeCode = IDCANCEL;
    bool m_closed = false;
    int m_dpi = 96;
    qreal m_baseFontSize = 0;
};
