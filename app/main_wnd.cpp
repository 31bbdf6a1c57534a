#include "app/main_wnd.h"

#include "app/frame_rules.h"
#include "app/main_messages.h"
#include "app/about_wnd.h"
#include "app/msg_wnd.h"
#include "app/program_icon.h"
#include "app/registered_messages.h"
#include "app/set_wnd.h"
#include "platform/product.h"
#include "platform/trace.h"
#include "services/diag_log.h"
#include "transport/device_access.h"
#include "ui/control_factory.h"
#include "ui/dialog_builder.h"
#include "ui/resource_manager.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QProcess>
#include <QScreen>
#include <QWindow>

#include <array>
#include <atomic>
#include <utility>

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

CMainWnd::CMainWnd()
{
    AddVirtualWnd(QStringLiteral("mainpage"), &mainPage_);
}

CMainWnd::~CMainWnd()
{
    // Closing first releases workers waiting in a send to this window; then
    // they end before the slot list and the sink they use go.
    if (!IsClosed())
        Close(IDCANCEL);
    RemoveVirtualWnd(QStringLiteral("mainpage"));
}

void CMainWnd::InitWindow()
{
    Trace("InitWindow");
    language_.LoadFirstLanguage();
    closeButton_ = FindControl("closebtn");
    maxButton_ = FindControl("maxbtn");
    restoreButton_ = FindControl("restorebtn");
    minButton_ = FindControl("minbtn");
    skinButton_ = FindControl("skinbtn");
    gameModeButton_ = FindControl("gamemodebtn");
    cloudButton_ = FindControl("cloudbtn");
    smartEyesButton_ = FindControl("smarteyesbtn");
    setButton_ = FindControl("setbtn");
    noDeviceLink_ = FindControl("No_device_Link");
    errorDeviceLink_ = FindControl("Error_device_Link");
    deviceList_.Bind(this);
    connect(&deviceList_, &CDeviceList::SelectionChanged, this,
            [this] { RefreshNoDeviceLayout("DeviceSelectChanger"); });
    connect(&deviceList_, &CDeviceList::CurrentDeviceLost, this, &CMainWnd::CloseAuxWindows);
    connect(&deviceList_, &CDeviceList::PageCreated, this,
            [this](CVelmoraUSBDevice* page) { lightingSync_.AddPage(page); });
    // The layout draws its own title bar; a window without one (skin
    // missing) keeps the system's frame and its buttons.
    if (CControlUI titleBar = FindControl("title_bar")) {
        setWindowFlag(Qt::FramelessWindowHint);
        titleBar.Widget()->installEventFilter(this);
    }
    skin_.RestoreSaved();
    discoverySink_.SetWindow(GetHWND());
    gMainWindow = GetHWND();

    const QIcon icon = ProgramIcon();
    setWindowIcon(icon);
    if (!tray_.CreateTrayIcon(this, icon, QString::fromUtf8(kProductTitle), UIMSG_TRAYICON))
        Trace("no tray icon: the close button minimises");
    WatchDisplays();
}

void CMainWnd::WatchDisplays()
{
    const auto displayChanged = [this] { PostWindowMessage(GetHWND(), WM_DISPLAYCHANGE, 0, 0); };
    for (QScreen* monitor : QGuiApplication::screens())
        connect(monitor, &QScreen::geometryChanged, this, displayChanged);
    connect(qApp, &QGuiApplication::screenAdded, this, [this, displayChanged](QScreen* monitor) {
        connect(monitor, &QScreen::geometryChanged, this, displayChanged);
        displayChanged();
    });
}

void CMainWnd::OnWindowInit()
{
    if (windowInitialised_)
        return;
    // Discovery's first pass reads the bus and the device nodes while the
    // language is applied; what it finds waits for this handler to return.
    workers_.Start(kDiscoverySlot, [this](const CStopEvent& stop) {
        DeviceDiscoveryThread(deviceSlots_, discoverySink_, stop);
    });
    language_.Apply(language_.ReadSavedIndex());
    if (const QScreen* monitor = QGuiApplication::primaryScreen())
        screenSize_ = monitor->size();
    ShowWindow(false);  // shown by the instance message after the first discovery pass
    workers_.Start(kLightingSyncSlot, [this](const CStopEvent& stop) { lightingSync_.Run(stop); });
    SetTimer(kStartupTimer, 100);
    windowInitialised_ = true;
}

QWidget* CMainWnd::CreateControl(const QString& className, QWidget* parent)
{
    // Classes the layouts name by a short name, and those built from a
    // layout of their own.
    static constexpr std::array<std::pair<const char*, const char*>, 18> kClasses = {{
        {"CircleProgress", "CCircleProgressUI"},
        {"SelectPanel", "CSelectPanelUI"},
        {"DeviceKeyButton", "CDeviceKeyButtonUI"},
        {"HandImgButton", "CHandImgButtonUI"},
        {"AudioRecord", "CAudioRecordUI"},
        {"HandImgSelectButton", "CHandImgSelectButtonUI"},
        {"RedioMacroButton", "CRedioMacroButtonUI"},
        {"ComboEditContainerElement", "CComboEditContainerElementUI"},
        {"VelmoraMousePadDevice", "CVelmoraMousePadDevice"},
        {"VelmoraHS6533Device", "CVelmoraHS6533Device"},
        {"VelmoraMouseDevice", "CVelmoraMouseDevice"},
        {"VelmoraKeyboardDevice", "CVelmoraKeyboardDevice"},
        {"DeviceProfile", "CDeviceProfileUI"},
        {"LightControl", "CLightControlUI"},
        {"MagicControl", "CMagicControlUI"},
        {"Voice6533Control", "CVoice6533ControlUI"},
        {"KeySetControl", "CKeySetControlUI"},
        {"ShootControl", "CShootControlUI"},
    }};
    static constexpr std::array<std::pair<const char*, const char*>, 8> kSubLayouts = {{
        {"DeviceProfileUI", "XML\\CustomControlXML\\DeviceProfile.xml"},
        {"LightSetControlUI", "XML\\CustomControlXML\\LightControl.xml"},
        {"Voice6533SetControlUI", "XML\\CustomControlXML\\Voice6533Control.xml"},
        {"MagicSetControlUI", "XML\\CustomControlXML\\MagicControl.xml"},
        {"KeySetControlUI", "XML\\CustomControlXML\\KeySetControl.xml"},
        {"MacroSetControlUI", "XML\\CustomControlXML\\MacroControl.xml"},
        {"ShootKeySetControlUI", "XML\\CustomControlXML\\ShootControl.xml"},
        {"VirtualSetControlUI", "XML\\CustomControlXML\\VirtualSet.xml"},
    }};
    for (const auto& [name, registered] : kClasses) {
        if (className.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return CControlFactory::GetInstance().CreateControl(QString::fromLatin1(registered), parent);
    }
    for (const auto& [name, layout] : kSubLayouts) {
        if (className.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return CDialogBuilder::Create(QString::fromLatin1(layout), nullptr, parent);
    }
    return nullptr;
}

void CMainWnd::Exit()
{
    CloseAuxWindows();
    trayMenu_.Close();
    Close(IDOK);
}

LRESULT CMainWnd::OnDestroy(WPARAM, LPARAM)
{
    Trace("退出测试");
    gMainWindow = 0;
    hide();
    const auto results = workers_.StopAll(kWorkerStopBound);
    for (const CWorkerSlots::EndResult result : results)
        TraceWorkerEnd(result);
    CloseAuxWindows();
    trayMenu_.Close();
    macroActionMenu_.Close();
    tray_.DeleteTrayIcon();
    QCoreApplication::exit(0);
    return 0;
}

void CMainWnd::CloseToTray()
{
    CloseAuxWindows();
    HideToTray();
}

void CMainWnd::HideToTray()
{
    trayMenu_.Close();
    if (CloseButtonAction(tray_.IsCreated() && CTrayIcon::IsAvailable()) == CloseAction::HideToTray)
        ShowWindow(false);
    else
        showMinimized();
    SetPagesHidden(1);
}

void CMainWnd::ShowAndRaise()
{
    // Back to the size it had before it was minimised: maximised stays so.
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    ShowWindow(true, true);
    SetPagesHidden(0);
}

void CMainWnd::SetPagesHidden(int hidden)
{
    for (CVelmoraUSBDevice* page : pages_.MouseAndKeyboardPages())
        page->SetWindowHidden(hidden);
}

void CMainWnd::RefreshNoDeviceLayout(const char* source)
{
    if (!noDeviceLayoutInUse_)
        return;
    const NoDeviceRefresh refresh = NoDeviceLayoutRefresh(source, ConnectedDeviceCount());
    noDeviceLink_.SetVisible(refresh.showNoDevice);
    // A device that is there but cannot be opened is named, with the way out.
    const std::optional<DeniedDevice> denied = refresh.showNoDevice ? FindDeniedDevice() : std::nullopt;
    const QString accessProblem =
        denied ? CResourceManager::GetInstance()
                     .GetText(QStringLiteral("nodevice_access_text"))
                     .arg(QString::fromStdString(denied->hidId), QString::fromStdString(denied->node),
                          QString::fromStdString(DeviceRuleFilePath()))
               : QString();
    CControlUI accessLabel = FindControl("nodevice_access");
    accessLabel.SetText(accessProblem);
    accessLabel.SetVisible(!accessProblem.isEmpty());
    WriteLogLine(refresh.logLine);
}

bool CMainWnd::IsNoDeviceShown() const
{
    return noDeviceLink_.IsVisible();
}

int CMainWnd::ConnectedDeviceCount() const
{
    return deviceList_.VisibleCount();
}

void CMainWnd::CloseAuxWindows()
{
    for (const QPointer<WindowImplBase>& window : {settingsWnd_, aboutWnd_, colorPickerWnd_, audioLightWnd_}) {
        if (window)
            window->Close(IDCANCEL);
    }
}

void CMainWnd::OpenAuxWindow(RouteAction which)
{
    // The audio-light style window opens here as it arrives; until then
    // the command is only traced.
    if (which == RouteAction::OpenSkinWindow)
        CSkinFrame::Open(this, skinButton_.Widget());
    else if (which == RouteAction::OpenAboutWindow)
        ShowAboutWindow(this, GetDPI(), aboutWnd_);
    else if (which == RouteAction::OpenSettingsAtEdge || which == RouteAction::OpenSettingsCentred)
        ShowSettingsWindow(this, GetDPI(), language_.CurrentIndex(), UpdateRecordsOf(pages_),
                           which == RouteAction::OpenSettingsCentred, settingsWnd_);
    else
        TraceF("auxiliary window %d not available", static_cast<int>(which));
}

void CMainWnd::OpenMouseSettings()
{
    // The desktop's own mouse settings, whichever desktop offers them.
    static constexpr std::array<std::pair<const char*, const char*>, 3> kMouseSettings = {{
        {"gnome-control-center", "mouse"},
        {"systemsettings", "kcm_mouse"},
        {"xfce4-mouse-settings", ""},
    }};
    for (const auto& [program, argument] : kMouseSettings) {
        const QStringList arguments = *argument ? QStringList{QString::fromLatin1(argument)} : QStringList{};
        if (StartProgram(QString::fromLatin1(program), arguments, QString()))
            return;
    }
    Trace("no mouse settings program found");
}

void CMainWnd::SwapMaxRestoreButtons()
{
    maxButton_.SetVisible(!isMaximized());
    restoreButton_.SetVisible(isMaximized());
}

void CMainWnd::changeEvent(QEvent* event)
{
    bool handled = false;
    if (event->type() == QEvent::WindowStateChange)
        SwapMaxRestoreButtons();
    else if (event->type() == QEvent::ActivationChange)
        HandleMessage(WM_ACTIVATE, isActiveWindow() ? 1 : 0, 0, handled);
    WindowImplBase::changeEvent(event);
}

void CMainWnd::enterEvent(QEnterEvent* event)
{
    bool handled = false;
    HandleMessage(WM_MOUSEHOVER, 0, 0, handled);
    WindowImplBase::enterEvent(event);
}

void CMainWnd::leaveEvent(QEvent* event)
{
    bool handled = false;
    HandleMessage(WM_MOUSELEAVE, 0, 0, handled);
    WindowImplBase::leaveEvent(event);
}

void CMainWnd::wheelEvent(QWheelEvent* event)
{
    bool handled = false;
    HandleMessage(WM_MOUSEWHEEL, 0, 0, handled);
    WindowImplBase::wheelEvent(event);
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

int CMainWnd::ShowMessage(const QString& titleId, const QString& text, bool textIsIdentifier, bool withCancel)
{
    return ShowMessageBox(this, titleId, text, GetDPI(), textIsIdentifier, withCancel);
}

QString CMainWnd::ChooseFile(FileDialogMode mode, FileKind kind)
{
    QFileDialog chooser(this);
    SetUpFileDialog(chooser, mode, kind);
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty())
        return QString();
    const QString chosen = chooser.selectedFiles().constFirst();
    return mode == FileDialogMode::Open ? QFileInfo(chosen).canonicalFilePath() : chosen;
}

bool CMainWnd::StartProgram(const QString& program, const QStringList& arguments, const QString& folder)
{
    return QProcess::startDetached(program, arguments, folder);
}

void CMainWnd::EndProgram()
{
    Exit();
}
