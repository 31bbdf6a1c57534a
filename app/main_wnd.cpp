#include "app/main_wnd.h"

#include "app/frame_rules.h"
#include "app/registered_messages.h"
#include "platform/product.h"
#include "platform/trace.h"
#include "services/diag_log.h"
#include "ui/resource_manager.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>

#include <atomic>

static std::atomic<WindowHandle> gMainWindow{0};

WindowHandle MainWindowHandle()
{
    return gMainWindow;
}

static void TraceWorkerEnd(CWorkerSlots::EndResult result)
{
    if (result == CWorkerSlots::EndResult::Ended)
        Trace("所有对象处于激发状态");
    else if (result == CWorkerSlots::EndResult::Overran)
        Trace("所有对象处于非激发状态，超时");
}

static bool SameName(const QString& name, const char* expected)
{
    return name.compare(QLatin1String(expected), Qt::CaseInsensitive) == 0;
}

CMainWnd::CMainWnd() = default;

CMainWnd::~CMainWnd()
{
    // Closing first releases workers waiting in a send to this window; then
    // they end before the slot list and the sink they use go.
    if (!IsClosed())
        Close(IDCANCEL);
}

void CMainWnd::InitWindow()
{
    Trace("InitWindow");
    maxButton_ = FindControl("maxbtn");
    restoreButton_ = FindControl("restorebtn");
    noDeviceLink_ = FindControl("No_device_Link");
    // The layout draws its own title bar; a window without one (skin
    // missing) keeps the system's frame and its buttons.
    if (CControlUI titleBar = FindControl("title_bar")) {
        setWindowFlag(Qt::FramelessWindowHint);
        titleBar.Widget()->installEventFilter(this);
    }
    discoverySink_.SetWindow(GetHWND());
    gMainWindow = GetHWND();

    const QIcon icon(CResourceManager::GetInstance().FindFile("ICON_MAIN"));
    setWindowIcon(icon);
    if (!tray_.CreateTrayIcon(this, icon, QString::fromUtf8(kProductTitle), UIMSG_TRAYICON))
        Trace("no tray icon: the close button minimises");
}

void CMainWnd::OnWindowInit()
{
    ShowWindow(false);  // shown by the instance message after the first discovery pass
    workers_.Start(kDiscoverySlot, [this](const CStopEvent& stop) {
        DeviceDiscoveryThread(deviceSlots_, discoverySink_, stop);
    });
    SetTimer(kStartupTimer, 100);
}

void CMainWnd::Notify(TNotifyUI& msg)
{
    if (msg.sType != "timer")
        TraceF("notify %s from %s", qPrintable(msg.sType), qPrintable(msg.SenderName()));
    if (msg.sType == "windowinit")
        OnWindowInit();
    else if (msg.sType == "click")
        OnClick(msg.SenderName());
    else if (msg.sType == "timer")
        OnTimer(static_cast<UINT>(msg.wParam));
    WindowImplBase::Notify(msg);
}

void CMainWnd::OnClick(const QString& sender)
{
    // "nodevice_ok_btn" hides like the close button, with the same fallback.
    if (SameName(sender, "closebtn") || SameName(sender, "nodevice_ok_btn"))
        CloseToTray();
    else if (SameName(sender, "minbtn"))
        showMinimized();
    else if (SameName(sender, "maxbtn"))
        showMaximized();
    else if (SameName(sender, "restorebtn"))
        showNormal();
}

void CMainWnd::OnTimer(UINT id)
{
    KillTimer(id);
    if (id == kStartupTimer)
        FitToMonitor();
    else if (id == kTrayMenuTimer)
        OpenTrayMenu();
}

LRESULT CMainWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled)
{
    bHandled = true;
    if (uMsg == UWM_INSTANCE_MSG && uMsg != 0)
        OnInstanceMessage(wParam, lParam);
    else if (uMsg == UIMSG_TRAYICON)
        OnTrayIcon(lParam);
    else if (uMsg == WM_MENUCLICK && wParam != 0)
        OnMenuCommand(*reinterpret_cast<const MenuCmd*>(wParam));
    else if (uMsg == WM_CLOSE)
        CloseToTray();  // the window manager's close: the same as "closebtn"
    else if (uMsg == WM_DESTROY)
        OnDestroy();
    else
        return WindowImplBase::HandleMessage(uMsg, wParam, lParam, bHandled);
    return 0;
}

void CMainWnd::OnInstanceMessage(WPARAM wParam, LPARAM lParam)
{
    TraceF("软件标示 %u，%llxd%llxd", UWM_INSTANCE_MSG, static_cast<unsigned long long>(wParam),
           static_cast<unsigned long long>(lParam));
    RefreshNoDeviceLayout("Open");
    ShowAndRaise();
}

void CMainWnd::OnTrayIcon(LPARAM mouseMessage)
{
    if (mouseMessage == WM_LBUTTONUP) {
        RefreshNoDeviceLayout("UIMSG_TRAYICON");
        const bool shown = isVisible() && !isMinimized();
        if (shown) {
            ShowWindow(false);
        } else {
            FitToMonitor();
            ShowAndRaise();
        }
    } else if (mouseMessage == WM_RBUTTONUP) {
        SetTimer(kTrayMenuTimer, 10);
    }
}

void CMainWnd::OnMenuCommand(const MenuCmd& command)
{
    if (SameName(command.szName, "exit"))
        Exit();
}

void CMainWnd::Exit()
{
    trayMenu_.Close();
    Close(IDOK);
}

void CMainWnd::OnDestroy()
{
    Trace("退出测试");
    gMainWindow = 0;
    hide();
    const auto results = workers_.StopAll(kWorkerStopBound);
    for (const CWorkerSlots::EndResult result : results)
        TraceWorkerEnd(result);
    trayMenu_.Close();
    tray_.DeleteTrayIcon();
    QCoreApplication::exit(0);
}

void CMainWnd::CloseToTray()
{
    trayMenu_.Close();
    if (CloseButtonAction(tray_.IsCreated() && CTrayIcon::IsAvailable()) == CloseAction::HideToTray)
        ShowWindow(false);
    else
        showMinimized();
}

void CMainWnd::ShowAndRaise()
{
    // Back to the size it had before it was minimised: maximised stays so.
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    ShowWindow(true, true);
}

void CMainWnd::RefreshNoDeviceLayout(const char* source)
{
    if (!noDeviceLayoutInUse_)
        return;
    const NoDeviceRefresh refresh = NoDeviceLayoutRefresh(source, ConnectedDeviceCount());
    noDeviceLink_.SetVisible(refresh.showNoDevice);
    WriteLogLine(refresh.logLine);
}

bool CMainWnd::IsNoDeviceShown() const
{
    return noDeviceLink_.IsVisible();
}

int CMainWnd::ConnectedDeviceCount() const
{
    // The visible entries of the device list; the list comes with the device pages.
    return 0;
}

void CMainWnd::FitToMonitor()
{
    const QScreen* monitor = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!monitor)
        return;
    SetDPI(FitDpi(monitor->geometry().size()));
    CenterWindow();
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

void CMainWnd::SwapMaxRestoreButtons()
{
    maxButton_.SetVisible(!isMaximized());
    restoreButton_.SetVisible(isMaximized());
}

void CMainWnd::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange)
        SwapMaxRestoreButtons();
    WindowImplBase::changeEvent(event);
}

bool CMainWnd::eventFilter(QObject* watched, QEvent* event)
{
    // The title bar moves the frameless window and maximises it on a double
    // click. A right click opens the program menu there, as on the tray icon:
    // on desktops without a tray it is the way to "exit".
    const auto* mouse = dynamic_cast<QMouseEvent*>(event);
    if (mouse && mouse->button() == Qt::RightButton && event->type() == QEvent::MouseButtonRelease) {
        SetTimer(kTrayMenuTimer, 10);
        return true;
    }
    if (!mouse || mouse->button() != Qt::LeftButton)
        return WindowImplBase::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress && windowHandle()) {
        windowHandle()->startSystemMove();
        return true;
    }
    if (event->type() == QEvent::MouseButtonDblClick) {
        isMaximized() ? showNormal() : showMaximized();
        return true;
    }
    return WindowImplBase::eventFilter(watched, event);
}
