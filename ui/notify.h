#pragma once
// Notifications: what a control tells its window ("click" on "closebtn").
//
// Types raised by the standard controls:
//   buttons          "click"; checkable ones also "selectchanged" (wParam = checked)
//   combo boxes      "itemselect" (wParam = new index, lParam = old index)
//   sliders          "movevaluechanged" while dragged, "valuechanged" when set
//                    by the user (wParam = value)
//   line edits       "textchanged" (user typing), "return", "killfocus"
//   lists            "itemselect" (wParam = row), "itemclick" (wParam = row),
//                    "checkclick" (wParam = row, lParam = checked)
//   colour palette   "colorchanged" (wParam = ARGB)
//   any widget with a custom context menu   "menu" (wParam = x, lParam = y)
//   edits, spin boxes  "setfocus", "killfocus"
//   lists            "itemactivate" (double click or Enter; wParam = row)
//   the window       "windowinit" (once, sender = root), "timer" (wParam = id),
//                    "windowsize" (sender = root)
// Only named widgets raise anything (Designer names them all; code that
// builds widgets names them and calls AttachNotifications).

#include "platform/window_messages.h"

#include <QMap>
#include <QObject>
#include <QPointer>
#include <QString>

class WindowImplBase;

struct TNotifyUI {
    QString sType;
    QPointer<QObject> pSender;  // a widget, or the QAction of a menu item
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    QString sVirtualWnd;  // "virtualwnd" property of the sender or an ancestor

    QString SenderName() const { return pSender ? pSender->objectName() : QString(); }
};

class INotifyUI {
public:
    virtual void Notify(TNotifyUI& msg) = 0;

protected:
    ~INotifyUI() = default;
};

// Routes a sub-page's notifications to the page: a widget whose
// "virtualwnd" property (or an ancestor's) names a registered pump sends
// there when the window's Notify hands the message on to NotifyPump.
class CNotifyPump {
public:
    virtual ~CNotifyPump() = default;
    bool AddVirtualWnd(const QString& name, CNotifyPump* pump);
    bool RemoveVirtualWnd(const QString& name);
    // Delivers msg to the pump named by msg.sVirtualWnd; false when none.
    bool NotifyPump(TNotifyUI& msg);

protected:
    virtual void OnPumpNotify(TNotifyUI&) {}

private:
    QMap<QString, CNotifyPump*> m_virtualWnds;
};

// Raises a notification from a control: it goes to the window that holds
// the control. async = queued to the next turn of the event loop. False
// when the control lies in no window.
bool SendNotify(QObject* sender, const QString& type, WPARAM wParam = 0, LPARAM lParam = 0,
                bool async = false);

// The window that holds a widget, or nullptr.
WindowImplBase* OwnerWindow(const QObject* object);

// Hooks the notifications of every standard control in a subtree built
// by code (layouts are hooked by the builder). Safe to call twice.
void AttachNotifications(QWidget* root);
