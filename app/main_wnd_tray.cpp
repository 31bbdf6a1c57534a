// The main window's tray icon, its menus and the fit to the monitor.

#include "app/frame_rules.h"
#include "app/main_wnd.h"
#include "platform/trace.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

LRESULT CMainWnd::OnTrayIcon(WPARAM, LPARAM lParam)
{
    if (lParam == WM_LBUTTONUP)
        ToggleFromTray();
    else if (lParam == WM_RBUTTONUP)
        SetTimer(kTrayMenuTimer, 10);
    return 0;
}

void CMainWnd::ToggleFromTray()
{
    RefreshNoDeviceLayout("UIMSG_TRAYICON");
    const bool shown = isVisible() && !isMinimized();
    CloseAuxWindows();
    if (shown) {
        ShowWindow(false);
        SetPagesHidden(1);
        return;
    }
    FitToMonitor();
    ShowAndRaise();
    update();
    SetPagesHidden(0);
}

void CMainWnd::OpenTrayMenu()
{
    const QPoint cursor = QCursor::pos();
    const QScreen* monitor = QGuiApplication::screenAt(cursor);
    if (!monitor)
        monitor = QGuiApplication::primaryScreen();
    const QRect area = monitor ? monitor->geometry() : QRect();
    if (!trayMenu_.Init(this, QStringLiteral("menu.xml"), cursor, TrayMenuAlign(cursor, area)))
        Trace("tray menu could not be built");
}

// A window that grows with its page (a device page wider than the main
// layout) stays on the screen it is on, close button included.
void CMainWnd::KeepOnScreen()
{
    const QScreen* monitor = screen();
    if (!monitor || isMaximized() || isFullScreen())
        return;
    const QRect frame = frameGeometry();
    const QPoint position = PositionOnScreen(frame, monitor->availableGeometry());
    if (position != frame.topLeft())
        move(position);
}

void CMainWnd::FitToMonitor()
{
    const QScreen* monitor = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!monitor)
        return;
    SetDPI(FitDpi(monitor->geometry().size()));
    CenterWindow();
}
