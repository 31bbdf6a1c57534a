// The main window's notification router: each notification of the layout
// (and each menu command) is looked up in the route tables and carried out
// here, on the window or on the current device page.

#include "app/main_messages.h"
#include "app/main_wnd.h"
#include "devices/velmora_mouse_device.h"
#include "panels/key_assignment.h"
#include "platform/trace.h"
#include "services/color_select_wnd.h"

#include <QCursor>

namespace {

PageEvent EventOf(const NotifyRoute& route, const QString& type, const QString& name, int64_t value,
                  int64_t extra)
{
    PageEvent event = PageEvent::Of(type, name, value, extra);
    event.feature = route.feature;
    event.index = SplitControlName(name).index;
    return event;
}

bool PageFits(const CVelmoraUSBDevice* page, PageNeed need)
{
    switch (need) {
    case PageNeed::Any:
        return true;
    case PageNeed::Mouse:
        return IsMousePage(page);
    case PageNeed::Keyboard:
        return IsKeyboardPage(page);
    case PageNeed::MouseOrKeyboard:
        return IsMousePage(page) || IsKeyboardPage(page);
    }
    return false;
}

}  // namespace

void CMainWnd::Notify(TNotifyUI& msg)
{
    const QString sender = msg.SenderName();
    if (msg.sType == QLatin1String("timer")) {
        if (!suspended_)
            OnTimer(static_cast<UINT>(msg.wParam));
    } else {
        Trace(msg.sType.toUtf8().constData());
        Trace(sender.toUtf8().constData());
    }
    const NotifyRoute* route = FindRoute(msg.sType, sender);
    if (route)
        RunRoute(*route, EventOf(*route, msg.sType, sender, static_cast<int64_t>(msg.wParam), msg.lParam));
    if (!route || route->action != RouteAction::SkipDefault)
        WindowImplBase::Notify(msg);
}

void CMainWnd::OnMenuCommand(const MenuCmd& command)
{
    const NotifyRoute* route = FindRoute(QStringLiteral("menu"), command.szName);
    if (!route)
        return;
    PageEvent event = EventOf(*route, QStringLiteral("menu"), command.szName, command.bChecked, 0);
    event.text = command.szUserData;
    RunRoute(*route, event);
}

int CMainWnd::HandOff(PageFeature feature, PageNeed need, PageEvent event)
{
    // THE hand-off point: features that live on the device page take it from
    // here. Without a (fitting) current page nothing happens.
    CVelmoraUSBDevice* page = CurrentPage();
    if (!page || !PageFits(page, need))
        return 0;
    event.feature = feature;
    return page->HandleFeatureEvent(event);
}

void CMainWnd::RunRoute(const NotifyRoute& route, const PageEvent& event)
{
    switch (route.action) {
    case RouteAction::HandOff:
        HandOff(route.feature, route.need, event);
        break;
    case RouteAction::HandOffThenWriteKeys:
        HandOff(route.feature, route.need, event);
        SetTimer(kKeyWriteTimer, 100);
        break;
    case RouteAction::MacroCapture:
        RunMacroCaptureRoute(route, event);
        break;
    case RouteAction::NoAction:
    case RouteAction::SkipDefault:
        break;
    default:
        if (!RunWindowRoute(route, event))
            RunFileRoute(route.action);
        break;
    }
}

bool CMainWnd::RunWindowRoute(const NotifyRoute& route, const PageEvent& event)
{
    switch (route.action) {
    case RouteAction::WindowInit:
        OnWindowInit();
        break;
    case RouteAction::WindowSize:
        if (displayChanged_) {
            displayChanged_ = false;
            FitToMonitor();
        } else {
            KeepOnScreen();
        }
        break;
    case RouteAction::CloseToTray:
        CloseToTray();
        break;
    case RouteAction::HideWindow:
        HideToTray();
        break;
    case RouteAction::ToggleLightControl:
        SetLightControl(lightingControl_ ? 0 : 1);
        break;
    case RouteAction::ShareLighting:
        ShareLighting();
        break;
    case RouteAction::Minimise:
        showMinimized();
        break;
    case RouteAction::Maximise:
        showMaximized();
        break;
    case RouteAction::Restore:
        showNormal();
        break;
    case RouteAction::OpenSkinWindow:
    case RouteAction::OpenSettingsAtEdge:
    case RouteAction::OpenSettingsCentred:
    case RouteAction::OpenAboutWindow:
    case RouteAction::OpenAudioLightWindow:
        OpenAuxWindow(route.action);
        break;
    case RouteAction::OpenMouseSettings:
        OpenMouseSettings();
        break;
    case RouteAction::SelectPreviousDevice:
        deviceList_.Previous();
        break;
    case RouteAction::SelectNextDevice:
        deviceList_.Next();
        break;
    case RouteAction::SelectDevice:
        TraceF("device list: %s", qPrintable(event.name));
        break;
    case RouteAction::FunctionTab:
        if (event.value != 0)
            ShowFunctionTab(route.argument);
        break;
    case RouteAction::ShowMovingDpi:
        FindControl(QStringLiteral("kelvo_DPI_edit_%1").arg(event.index)).SetText(QString::number(event.value));
        break;
    case RouteAction::CopyDpiEdit:
        CopyDpiEdit(event.index);
        break;
    case RouteAction::OpenColorPicker:
        PickDpiColor(event.index);
        break;
    case RouteAction::AudioColourSlider:
        ShowAudioColour(event.name, static_cast<int>(event.value));
        break;
    case RouteAction::StartKeyWrite:
        SetTimer(kKeyWriteTimer, 100);
        break;
    case RouteAction::SelectKey:
        if (HandOff(route.feature, route.need, event) == kKeyKeepsLeftButton)
            ShowMessage({}, QStringLiteral("message_text_6"), true, false);
        break;
    case RouteAction::StartProfileSwitch:
        SetTimer(kProfileSwitchTimer, 400);
        break;
    case RouteAction::InstallKeyHook:
    case RouteAction::RemoveKeyHook:
        SendWindowMessage(GetHWND(), WM_KEY_HOOK_SWITCH, route.action == RouteAction::InstallKeyHook ? 1 : 0, 0);
        break;
    case RouteAction::OpenMacroActionMenu:
        if (!macroActionMenu_.Init(this, QStringLiteral("XML\\Menus\\macro_action_menu.xml"), QCursor::pos()))
            Trace("macro action menu could not be built");
        break;
    case RouteAction::Exit:
        Exit();
        break;
    default:
        return false;
    }
    return true;
}

void CMainWnd::SetLightControl(int on)
{
    lightingControl_ = on;
    // The control shows what clicking it does next.
    FindControl(QStringLiteral("control_light_status"))
        .SetTextId(QString::fromUtf8(on ? "控制灯光" : "不控制灯光"));
    for (CVelmoraUSBDevice* page : pages_.LitPages())
        page->SetLightingControl(on);
}

void CMainWnd::ShowFunctionTab(int number)
{
    CVelmoraUSBDevice* page = CurrentPage();
    if (!page)
        return;
    page->ShowFunctionPanel(number);
    HandOff(PageFeature::Profiles, PageNeed::Any, PageEvent::Of("selectchanged", "function_tab", number));
}

void CMainWnd::CopyDpiEdit(int index)
{
    const CControlUI edit = FindControl(QStringLiteral("kelvo_DPI_edit_%1").arg(index));
    bool number = false;
    const int value = edit.GetText().toInt(&number);
    if (number)
        FindControl(QStringLiteral("kelvo_DPI_slider_%1").arg(index)).SetValue(value);
    SetTimer(kDpiEditTimer, 10);
}

void CMainWnd::PickDpiColor(int stage)
{
    QPointer<CVelmoraMouseDevice> page = qobject_cast<CVelmoraMouseDevice*>(CurrentPage());
    if (!page)
        return;
    // The stage's colour as its colour button shows it; black for a stage the list lacks.
    const std::vector<DpiStage>& stages = page->DpiStages();
    const bool known = stage >= 0 && stage < std::ssize(stages);
    const DpiStage shown = known ? stages[static_cast<size_t>(stage)] : DpiStage{};
    const std::optional<uint32_t> color =
        PickStageColor(this, GetDPI(), qRgb(shown.red, shown.green, shown.blue), colorPickerWnd_);
    // The page keeps the colour in its stage list, its profile and the mouse, and shows it.
    if (color && page && page == CurrentPage())
        page->SetDpiStageColor(stage, static_cast<uint8_t>(qRed(*color)), static_cast<uint8_t>(qGreen(*color)),
                               static_cast<uint8_t>(qBlue(*color)));
}

void CMainWnd::ShowAudioColour(const QString& sender, int value)
{
    // "R_light_slider" shows "R 128" in "R_light_label".
    const QString channel = sender.left(1);
    FindControl(channel + QStringLiteral("_light_label")).SetText(QStringLiteral("%1 %2").arg(channel).arg(value));
}

void CMainWnd::OnTimer(UINT id)
{
    KillTimer(id);
    switch (id) {
    case kStartupTimer:
        FitToMonitor();
        update();
        break;
    case kTrayMenuTimer:
        OpenTrayMenu();
        break;
    case kKeyWriteTimer:
        if (CVelmoraUSBDevice* page = CurrentPage()) {
            page->WriteCurrentKeys();
            HandOff(PageFeature::Keys, PageNeed::MouseOrKeyboard, PageEvent::Of("timer", "key_butt_prosave"));
        }
        break;
    case kProfileSwitchTimer:
        HandOff(PageFeature::Profiles, PageNeed::Any, PageEvent::Of("timer", "device_profile_combo"));
        break;
    case kGameEventTimer:
        HandOff(PageFeature::GameEvents, PageNeed::Any, PageEvent::Of("timer", "game_event_end"));
        break;
    default:
        break;  // 1021 and the toolkit's own
    }
}

// The current page's effect, brightness, speed and colour go to every device
// with lights whose channel is open, each in its own effect codes; an effect
// the other families lack shares nothing.
void CMainWnd::ShareLighting()
{
    CVelmoraUSBDevice* current = CurrentPage();
    const std::optional<SyncFamily> family = current ? SyncFamilyOfKind(current->GetDeviceKind()) : std::nullopt;
    if (!family)
        return;
    const auto record = current->Preview().State().Bytes();
    const std::optional<SyncState> state = SyncStateFromRecord(*family, record.data());
    if (!state)
        return;
    lightingSync_.SetEffect(*state);
    for (CVelmoraUSBDevice* page : pages_.all) {
        const std::optional<SyncFamily> own = SyncFamilyOfKind(page->GetDeviceKind());
        if (own && page->Channel().IsOpen())
            page->TakeSharedLighting(SharedLightInfo(page->Preview().State(), *own, *state));
    }
}
