#pragma once
// CMainWnd: the program's one top-level window. Built from "XML_MAIN", it
// starts hidden, starts its worker threads (device discovery in slot 0) and
// shows itself when the discovery's first pass posts the instance message,
// as it does when a second start of the program sends it. The close button
// hides it to the tray (or minimises it where there is no tray); only the
// tray menu's "exit" closes it, and closing stops every worker thread.

#include "app/main_discovery_sink.h"
#include "platform/worker_slots.h"
#include "transport/device_table.h"
#include "ui/menu_wnd.h"
#include "ui/tray_icon.h"
#include "ui/window_impl_base.h"

#include <QMenu>  // CMenuWnd::Menu() is inline and needs the whole class

inline constexpr UINT UIMSG_TRAYICON = WM_USER + 1;  // 1025

// The main window, for worker threads and device pages to post and send to;
// 0 before it is initialised and once it is closing.
WindowHandle MainWindowHandle();

class CMainWnd : public WindowImplBase {
    Q_OBJECT
public:
    static constexpr int kWorkerSlotCount = 20;
    static constexpr int kDiscoverySlot = 0;
    static constexpr std::chrono::milliseconds kWorkerStopBound{1000};
    enum TimerId : UINT { kStartupTimer = 1011, kTrayMenuTimer = 1032 };

    CMainWnd();
    ~CMainWnd() override;

    // The tray menu's "exit": closes the window, which ends the program.
    void Exit();
    bool IsWorkerRunning(int slot) const { return workers_.IsRunning(slot); }
    bool IsNoDeviceShown() const;
    bool IsProgramMenuOpen() const { return trayMenu_.IsOpen(); }

protected:
    QString GetSkinFile() override { return QStringLiteral("XML_MAIN"); }
    QString GetWindowClassName() const override { return QStringLiteral("MainWnd"); }
    void InitWindow() override;
    void Notify(TNotifyUI& msg) override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void OnWindowInit();
    void OnClick(const QString& sender);
    void OnTimer(UINT id);
    void OnTrayIcon(LPARAM mouseMessage);
    void OnMenuCommand(const MenuCmd& command);
    void OnInstanceMessage(WPARAM wParam, LPARAM lParam);
    void OnDestroy();

    void CloseToTray();
    void ShowAndRaise();
    void RefreshNoDeviceLayout(const char* source);
    int ConnectedDeviceCount() const;
    void FitToMonitor();
    void OpenTrayMenu();
    void SwapMaxRestoreButtons();

    CControlUI maxButton_;
    CControlUI restoreButton_;
    CControlUI noDeviceLink_;
    CTrayIcon tray_;
    CMenuWnd trayMenu_;
    // Whether "No_device_Link" follows the device count; the mouse page's
    // data check (message 3333) will set and clear it.
    bool noDeviceLayoutInUse_ = true;
    CSlotList deviceSlots_;
    CMainDiscoverySink discoverySink_;
    CWorkerSlots workers_{kWorkerSlotCount};
};
