#pragma once
// CMainWnd: the program's one top-level window and its switchboard. Built
// from "XML_MAIN", it starts hidden, starts its worker threads (device
// discovery in slot 0) and shows itself when the discovery's first pass
// posts the instance message, as a second start of the program does. The
// close button hides it to the tray (or minimises it where there is no
// tray); only the tray menu's "exit" closes it, and closing stops every
// worker thread.
//
// Its parts, one file each: the notification router (main_wnd_routes.cpp,
// over the tables of notify_routes.h), the message table
// (main_wnd_messages.cpp), tray, menus and monitor fit (main_wnd_tray.cpp),
// the file dialogs and profile commands (main_wnd_files.cpp), and the input
// captures of the key panel and the macro editor (main_wnd_capture.cpp).

#include "app/device_list.h"
#include "app/file_dialogs.h"
#include "app/lighting_sync_thread.h"
#include "app/main_discovery_sink.h"
#include "app/notify_routes.h"
#include "devices/velmora_usb_device.h"
#include "platform/worker_slots.h"
#include "services/device_hook.h"
#include "services/interface_language.h"
#include "services/skin_frame.h"
#include "transport/device_table.h"
#include "ui/menu_wnd.h"
#include "ui/tray_icon.h"
#include "ui/window_impl_base.h"

#include <QByteArray>
#include <QList>
#include <QMenu>  // CMenuWnd::Menu() is inline and needs the whole class
#include <QPointer>

#include <span>

inline constexpr UINT UIMSG_TRAYICON = WM_USER + 1;  // 1025

// The main window, for worker threads and device pages to post and send to;
// 0 before it is initialised and once it is closing.
WindowHandle MainWindowHandle();

class CMainWnd : public WindowImplBase {
    Q_OBJECT
public:
    static constexpr int kWorkerSlotCount = 20;
    static constexpr int kDiscoverySlot = 0;
    static constexpr int kLightingSyncSlot = 2;
    static constexpr std::chrono::milliseconds kWorkerStopBound{1000};
    enum TimerId : UINT {
        kStartupTimer = 1011,
        kDpiEditTimer = 1021,
        kTrayMenuTimer = 1032,
        kKeyWriteTimer = 1033,
        kProfileSwitchTimer = 1055,
        kGameEventTimer = 1066,
    };

    CMainWnd();
    ~CMainWnd() override;

    // The tray menu's "exit": closes the auxiliary windows and the window,
    // which ends the program.
    void Exit();
    bool IsWorkerRunning(int slot) const { return workers_.IsRunning(slot); }
    bool IsNoDeviceShown() const;
    bool IsProgramMenuOpen() const { return trayMenu_.IsOpen(); }
    bool IsSuspended() const { return suspended_; }
    int GetLightingControl() const { return lightingControl_; }
    int GetWindowActive() const { return windowActive_; }
    CDevicePages& Pages() { return pages_; }
    CDeviceList& DeviceList() { return deviceList_; }
    const CDeviceHook& Hook() const { return hook_; }
    CVelmoraUSBDevice* CurrentPage() const { return pages_.current; }
    // The bytes of the last data block of kind 1 or 2 (empty for others).
    QByteArray CopyDataBuffer(std::uintptr_t kind) const;

protected:
    QString GetSkinFile() override { return QStringLiteral("XML_MAIN"); }
    QString GetWindowClassName() const override { return QStringLiteral("MainWnd"); }
    void InitWindow() override;
    void Notify(TNotifyUI& msg) override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    QWidget* CreateControl(const QString& className, QWidget* parent) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

    // What the window asks of the user and of the system; tests answer
    // these themselves.
    // The message box; 1 when the user confirms.
    virtual int ShowMessage(const QString& titleId, const QString& text, bool textIsIdentifier, bool withCancel);
    // The chosen file, empty when cancelled.
    virtual QString ChooseFile(FileDialogMode mode, FileKind kind);
    virtual bool StartProgram(const QString& program, const QStringList& arguments, const QString& folder);
    // Ends the program at once with exit code 0.
    virtual void EndProgram();

private:
    // Start-up and showing.
    void OnWindowInit();
    void CloseToTray();
    void HideToTray();
    void ShowAndRaise();
    void SetPagesHidden(int hidden);
    void RefreshNoDeviceLayout(const char* source);
    int ConnectedDeviceCount() const;
    void CloseAuxWindows();
    void OpenAuxWindow(RouteAction which);
    void OpenMouseSettings();
    void WatchDisplays();
    void SwapMaxRestoreButtons();

    // Router (main_wnd_routes.cpp).
    void RunRoute(const NotifyRoute& route, const PageEvent& event);
    bool RunWindowRoute(const NotifyRoute& route, const PageEvent& event);
    // The hand-off to the current page; 0 without a page that fits.
    int HandOff(PageFeature feature, PageNeed need, PageEvent event);
    void SetLightControl(int on);
    void ShowFunctionTab(int number);
    void CopyDpiEdit(int index);
    void ShareLighting();
    void PickDpiColor(int stage);
    void ShowAudioColour(const QString& sender, int value);
    void OnTimer(UINT id);
    void OnMenuCommand(const MenuCmd& command);

    // Message table (main_wnd_messages.cpp).
    struct MessageRow;
    static std::span<const MessageRow> MessageTable();
    LRESULT OnActivate(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseHover(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseWheel(WPARAM wParam, LPARAM lParam);
    LRESULT OnInstanceMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnSettingsRelay(WPARAM wParam, LPARAM lParam);
    LRESULT OnLightState(WPARAM wParam, LPARAM lParam);
    LRESULT OnWorkToolQuery(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);
    LRESULT OnClose(WPARAM wParam, LPARAM lParam);
    LRESULT OnPowerBroadcast(WPARAM wParam, LPARAM lParam);
    LRESULT OnHookMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnGameMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnCopyData(WPARAM wParam, LPARAM lParam);
    LRESULT OnDisplayChange(WPARAM wParam, LPARAM lParam);
    LRESULT OnTrayIcon(WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyHook(WPARAM wParam, LPARAM lParam);
    LRESULT OnPanelMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnMenuClick(WPARAM wParam, LPARAM lParam);
    LRESULT OnDpiTrace(WPARAM wParam, LPARAM lParam);
    LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnDeviceArrived(WPARAM wParam, LPARAM lParam);
    LRESULT OnDeviceLeft(WPARAM wParam, LPARAM lParam);
    LRESULT OnUpdateBadgeSeen(WPARAM wParam, LPARAM lParam);
    LRESULT OnEntryStateChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnFirmwareVersion(WPARAM wParam, LPARAM lParam);
    LRESULT OnDeviceDataChecked(WPARAM wParam, LPARAM lParam);

    // Captures (main_wnd_capture.cpp).
    void SwitchKeyCapture(bool on);
    void RunMacroCaptureRoute(const NotifyRoute& route, const PageEvent& event);
    void StartMacroCapture(int mode);
    // tellEditor: the capture ends from outside the editor, which stops and saves.
    void EndMacroCapture(bool tellEditor);
    void EndCaptureIfDeviceGone();
    void SetInterfaceEnabled(bool enabled);

    // Tray, menus and monitor fit (main_wnd_tray.cpp).
    void ToggleFromTray();
    void OpenTrayMenu();
    void FitToMonitor();
    void KeepOnScreen();

    // File dialogs and profile commands (main_wnd_files.cpp).
    void RunFileRoute(RouteAction action);
    void ConfirmProfileCommand(RouteAction action);
    void ImportProfile();
    void RenameProfile();
    void ShowProfileAnswer(int answer, bool tellSuccess);
    void ImportMacro();
    void ImportExportRecoil(FileDialogMode mode);

    CControlUI closeButton_, maxButton_, restoreButton_, minButton_, skinButton_;
    CControlUI gameModeButton_, cloudButton_, smartEyesButton_, setButton_;
    CControlUI noDeviceLink_;
    CControlUI errorDeviceLink_;
    // Takes the notifications of controls marked virtualwnd="mainpage" and
    // does nothing with them.
    CNotifyPump mainPage_;
    CTrayIcon tray_;
    CMenuWnd trayMenu_;
    CMenuWnd macroActionMenu_;
    // The auxiliary windows while open: settings, about, colour picker and
    // audio-light styles.
    QPointer<WindowImplBase> settingsWnd_, aboutWnd_, colorPickerWnd_, audioLightWnd_;

    int lightingControl_ = 1;
    int windowActive_ = 0;
    bool displayChanged_ = false;
    bool suspended_ = false;
    bool windowInitialised_ = false;
    // Whether "No_device_Link" follows the device count; the mouse page's
    // data check (message 3333) sets and clears it.
    bool noDeviceLayoutInUse_ = true;
    // Set when the user was sent to the firmware update; the next arrival
    // tells the page the update is done.
    bool postUpdate_ = false;
    UINT currentMessage_ = 0;  // the message the table's handler is running for
    QSize screenSize_;
    QByteArray soundData_;
    QByteArray styleColors_;
    CDevicePages pages_;
    CSlotList deviceSlots_;
    CDeviceList deviceList_{this, deviceSlots_, pages_};
    CLightingSync lightingSync_;
    CMainDiscoverySink discoverySink_;
    CWorkerSlots workers_{kWorkerSlotCount};
    CInterfaceLanguage language_;
    CRootSkinReceiver skin_{*this};
    CDeviceHook hook_;
    // The page whose macro editor records while a macro capture is armed.
    QPointer<CVelmoraUSBDevice> capturePage_;
};
