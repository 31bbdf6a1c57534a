// The main window's message table: every message sent or posted to the
// window, by worker threads, device pages, other programs and the window
// system, tried in the table's order.

#include "app/exchange_rules.h"
#include "app/main_messages.h"
#include "app/main_wnd.h"
#include "app/registered_messages.h"
#include "devices/feature_panel.h"
#include "platform/folders.h"
#include "platform/message_socket.h"
#include "platform/trace.h"
#include "services/diag_log.h"
#include "ui/resource_manager.h"

#include <QCoreApplication>

#include <optional>

namespace {

// Sends to other programs wait no longer than this.
constexpr std::chrono::milliseconds kOtherProgramSendBound{1500};
constexpr const char* kWorkToolSocketName = "WorkTool";

template <const UINT* Number>
bool Is(UINT message)
{
    return *Number != 0 && message == *Number;
}

bool IsHookMessage(UINT message)
{
    return HookMessageName(message) != nullptr;
}

bool IsGameMessage(UINT message)
{
    return GameMessageName(message) != nullptr;
}

}  // namespace

struct CMainWnd::MessageRow {
    bool (*matches)(UINT message);
    LRESULT (CMainWnd::*handler)(WPARAM wParam, LPARAM lParam);
    // Rows below the power row are ignored while the system is suspended,
    // except the device arrivals, departures and checks: the discovery has
    // already changed its slots, and the window must follow it.
    bool whileSuspended;
};

std::span<const CMainWnd::MessageRow> CMainWnd::MessageTable()
{
    static const MessageRow kTable[] = {
        {Is<&WM_ACTIVATE>, &CMainWnd::OnActivate, true},
        {Is<&WM_MOUSELEAVE>, &CMainWnd::OnMouseLeave, true},
        {Is<&WM_MOUSEHOVER>, &CMainWnd::OnMouseHover, true},
        {Is<&WM_MOUSEWHEEL>, &CMainWnd::OnMouseWheel, true},
        {Is<&UWM_INSTANCE_MSG>, &CMainWnd::OnInstanceMessage, true},
        {Is<&UWM_SETWND_RELAY_MSG>, &CMainWnd::OnSettingsRelay, true},
        {Is<&UWM_LIGHT_STATE_MSG>, &CMainWnd::OnLightState, true},
        {Is<&UWM_WORKTOOL_QUERY_MSG>, &CMainWnd::OnWorkToolQuery, true},
        {Is<&WM_DESTROY>, &CMainWnd::OnDestroy, true},
        {Is<&WM_CLOSE>, &CMainWnd::OnClose, true},
        {Is<&WM_POWERBROADCAST>, &CMainWnd::OnPowerBroadcast, true},
        {IsHookMessage, &CMainWnd::OnHookMessage, false},
        {IsGameMessage, &CMainWnd::OnGameMessage, false},
        {Is<&WM_COPYDATA>, &CMainWnd::OnCopyData, false},
        {Is<&WM_DISPLAYCHANGE>, &CMainWnd::OnDisplayChange, false},
        {Is<&UIMSG_TRAYICON>, &CMainWnd::OnTrayIcon, false},
        {Is<&WM_KEY_HOOK_SWITCH>, &CMainWnd::OnKeyHook, false},
        {Is<&WM_PANEL_MESSAGE>, &CMainWnd::OnPanelMessage, false},
        {Is<&WM_MENUCLICK>, &CMainWnd::OnMenuClick, false},
        {Is<&WM_TOOLKIT_DPI_CHANGED>, &CMainWnd::OnDpiTrace, false},
        {Is<&WM_LANGUAGE_CHANGED>, &CMainWnd::OnLanguageChanged, false},
        {Is<&WM_USB_MAINMESS_DEVICE_ARRIVED>, &CMainWnd::OnDeviceArrived, true},
        {Is<&WM_USB_MAINMESS_DEVICE_LEFT>, &CMainWnd::OnDeviceLeft, true},
        {Is<&WM_UPDATE_BADGE_SEEN>, &CMainWnd::OnUpdateBadgeSeen, false},
        {Is<&WM_DEVICE_ENTRY_STATE>, &CMainWnd::OnEntryStateChanged, true},
        {Is<&WM_DEVICE_FIRMWARE_VERSION>, &CMainWnd::OnFirmwareVersion, false},
        {Is<&WM_USB_MAINMESS_DEVICE_IS_INITUI>, &CMainWnd::OnDeviceDataChecked, true},
    };
    return kTable;
}

LRESULT CMainWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled)
{
    for (const MessageRow& row : MessageTable()) {
        if (!row.matches(uMsg))
            continue;
        bHandled = true;
        currentMessage_ = uMsg;
        if (suspended_ && !row.whileSuspended)
            return 0;
        return (this->*row.handler)(wParam, lParam);
    }
    return WindowImplBase::HandleMessage(uMsg, wParam, lParam, bHandled);
}

LRESULT CMainWnd::OnActivate(WPARAM wParam, LPARAM)
{
    windowActive_ = wParam != 0 ? 1 : 0;
    for (CVelmoraUSBDevice* page : pages_.LitPages())
        page->SetWindowActive(windowActive_);
    return 0;
}

LRESULT CMainWnd::OnMouseLeave(WPARAM, LPARAM)
{
    Trace("鼠标移出");
    for (CVelmoraUSBDevice* page : pages_.LitPages())
        page->SetWindowActive(0);
    return 0;
}

LRESULT CMainWnd::OnMouseHover(WPARAM, LPARAM)
{
    Trace("鼠标移入");
    for (CVelmoraUSBDevice* page : pages_.LitPages())
        page->SetWindowActive(1);
    return 0;
}

LRESULT CMainWnd::OnMouseWheel(WPARAM, LPARAM)
{
    setButton_.SetFocus();
    return 0;
}

LRESULT CMainWnd::OnInstanceMessage(WPARAM wParam, LPARAM lParam)
{
    TraceF("软件标示 %u，%llxd%llxd", UWM_INSTANCE_MSG, static_cast<unsigned long long>(wParam),
           static_cast<unsigned long long>(lParam));
    RefreshNoDeviceLayout("Open");
    if (postUpdate_ && ConnectedDeviceCount() > 0 && CurrentPage()) {
        HandOff(PageFeature::DeviceSettings, PageNeed::Mouse, PageEvent::Of("message", "firmware_updated"));
        postUpdate_ = false;
    }
    ShowAndRaise();
    return 0;
}

LRESULT CMainWnd::OnSettingsRelay(WPARAM wParam, LPARAM lParam)
{
    if (settingsWnd_)
        PostWindowMessage(settingsWnd_->GetHWND(), UWM_SETWND_RELAY_MSG, wParam, lParam);
    return 0;
}

LRESULT CMainWnd::OnLightState(WPARAM wParam, LPARAM lParam)
{
    if (wParam == 1 && (lParam == 0 || lParam == 1))
        SetLightControl(static_cast<int>(lParam));
    return 0;
}

LRESULT CMainWnd::OnWorkToolQuery(WPARAM, LPARAM)
{
    // Skipped quietly when no "WorkTool" listens.
    PostRegisteredMessageTo(QString::fromLatin1(kWorkToolSocketName), QString(),
                            static_cast<qint64>(kWorkToolStatusKind), static_cast<qint64>(GetHWND()),
                            WorkToolStatusBlock(), kOtherProgramSendBound);
    return 0;
}

LRESULT CMainWnd::OnClose(WPARAM, LPARAM)
{
    CloseToTray();  // the window manager's close: the same as "closebtn"
    return 0;
}

LRESULT CMainWnd::OnPowerBroadcast(WPARAM wParam, LPARAM)
{
    if (wParam == PBT_APMRESUMEAUTOMATIC) {
        suspended_ = false;
        for (CVelmoraUSBDevice* page : pages_.LitPages())
            page->SetLightingControl(lightingControl_);
    } else if (wParam == PBT_APMSUSPEND) {
        suspended_ = true;
        for (CVelmoraUSBDevice* page : pages_.LitPages())
            page->SetLightingControl(0);
    }
    return 0;
}

LRESULT CMainWnd::OnHookMessage(WPARAM wParam, LPARAM lParam)
{
    // lParam points at a record only when our own capture sends; the same
    // names may arrive from other programs, with anything in lParam.
    if (!hook_.IsDelivering())
        return 0;
    const QString name = QString::fromLatin1(HookMessageName(currentMessage_));
    if (name == QLatin1String(kHitKeyMessageName))
        return 0;
    PageEvent event = PageEvent::Of("message", name, static_cast<int64_t>(wParam), lParam);
    if (CVelmoraUSBDevice* page = capturePage_) {
        event.feature = PageFeature::Macros;
        page->HandleFeatureEvent(event);
        return 0;
    }
    HandOff(PageFeature::Capture, PageNeed::MouseOrKeyboard, event);
    return 0;
}

LRESULT CMainWnd::OnGameMessage(WPARAM wParam, LPARAM lParam)
{
    HandOff(PageFeature::GameEvents, PageNeed::Any,
            PageEvent::Of("message", QString::fromLatin1(GameMessageName(currentMessage_)),
                          static_cast<int64_t>(wParam), lParam));
    SetTimer(kGameEventTimer, 5000);
    return 0;
}

LRESULT CMainWnd::OnCopyData(WPARAM, LPARAM lParam)
{
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (!data || !data->lpData)
        return 0;
    const std::size_t taken = CopyDataBytesTaken(data->dwData, data->cbData);
    if (taken == 0)
        return 0;
    QByteArray& buffer = data->dwData == kSoundDataKind ? soundData_ : styleColors_;
    buffer = QByteArray(static_cast<const char*>(data->lpData), static_cast<qsizetype>(taken));
    // The sound-data handling (band levels for the keyboard) starts from these buffers.
    return 0;
}

QByteArray CMainWnd::CopyDataBuffer(std::uintptr_t kind) const
{
    if (kind == kSoundDataKind)
        return soundData_;
    return kind == kStyleColorKind ? styleColors_ : QByteArray();
}

LRESULT CMainWnd::OnDisplayChange(WPARAM, LPARAM)
{
    Trace("显示器分辨率发生变化");
    displayChanged_ = true;
    FitToMonitor();
    return 0;
}

LRESULT CMainWnd::OnKeyHook(WPARAM wParam, LPARAM)
{
    SwitchKeyCapture(wParam != 0);
    HandOff(PageFeature::Capture, PageNeed::Any,
            PageEvent::Of("message", wParam ? "install_key_hook" : "remove_key_hook"));
    return 0;
}

LRESULT CMainWnd::OnPanelMessage(WPARAM wParam, LPARAM lParam)
{
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (!data || !data->lpData)
        return 0;
    const QString textId = QString::fromUtf8(static_cast<const char*>(data->lpData), static_cast<qsizetype>(data->cbData));
    return ShowMessage({}, textId, true, wParam != 0);
}

LRESULT CMainWnd::OnMenuClick(WPARAM wParam, LPARAM)
{
    if (wParam != 0)
        OnMenuCommand(*reinterpret_cast<const MenuCmd*>(wParam));
    return 0;
}

LRESULT CMainWnd::OnDpiTrace(WPARAM, LPARAM)
{
    Trace("界面 DPI 1发生变化");
    return 0;
}

LRESULT CMainWnd::OnLanguageChanged(WPARAM wParam, LPARAM)
{
    language_.Apply(static_cast<int>(wParam));
    CResourceManager::GetInstance().ReloadText(this);
    for (CVelmoraUSBDevice* page : findChildren<CVelmoraUSBDevice*>())
        page->ShowKeyTexts();
    for (const QPointer<WindowImplBase>& window : {settingsWnd_, aboutWnd_, audioLightWnd_}) {
        if (window)
            PostWindowMessage(window->GetHWND(), WM_LANGUAGE_CHANGED, 0, 0);
    }
    return 0;
}

// Slot numbers come from the discovery thread; anything past the list is ignored.
static std::optional<DeviceRecord> SlotOf(const CSlotList& list, WPARAM index)
{
    if (index >= list.Count())
        return std::nullopt;
    return list.Slot(static_cast<int>(index));
}

static const char* SlotTrace(const DeviceRecord& slot, bool arrived)
{
    switch (slot.kind) {
    case kKindKeyboard:
    case kKindKeyboardSecond:
        return arrived ? "添加一个键盘设备" : "删除一个键盘设备";
    case kKindMouseCable:
    case kKindMouseReceiver:
        return arrived ? "添加一个鼠标设备" : "删除一个鼠标设备";
    default:
        return arrived ? "添加一个鼠标垫设备" : "删除一个鼠标垫设备";
    }
}

LRESULT CMainWnd::OnDeviceArrived(WPARAM wParam, LPARAM)
{
    const std::optional<DeviceRecord> slot = SlotOf(deviceSlots_, wParam);
    if (!slot)
        return 0;
    Trace(SlotTrace(*slot, true));
    deviceList_.Arrival(static_cast<int>(wParam));
    RefreshNoDeviceLayout("Open");
    ShowAndRaise();
    return 0;
}

LRESULT CMainWnd::OnDeviceLeft(WPARAM wParam, LPARAM)
{
    const std::optional<DeviceRecord> slot = SlotOf(deviceSlots_, wParam);
    if (!slot)
        return 0;
    Trace(SlotTrace(*slot, false));
    deviceList_.Removal(static_cast<int>(wParam));
    EndCaptureIfDeviceGone();
    return 0;
}

LRESULT CMainWnd::OnUpdateBadgeSeen(WPARAM, LPARAM)
{
    setButton_.SetForeImage(QString());
    return 0;
}

LRESULT CMainWnd::OnEntryStateChanged(WPARAM wParam, LPARAM lParam)
{
    if (wParam < static_cast<WPARAM>(deviceList_.EntryCount()))
        deviceList_.EntryStateChanged(static_cast<int>(wParam), static_cast<int>(lParam));
    EndCaptureIfDeviceGone();
    return 0;
}

LRESULT CMainWnd::OnFirmwareVersion(WPARAM, LPARAM lParam)
{
    CVelmoraUSBDevice* page = CurrentPage();
    if (!NeedsFirmwareUpdate(static_cast<int>(lParam))) {
        if (page)
            page->SetUpdating(false);
        noDeviceLink_.SetVisible(false);
        return 0;
    }
    postUpdate_ = true;
    OnDeviceDataChecked(1, 0);
    noDeviceLink_.SetVisible(true);
    WriteLogLine("UpdateMacroKbDevice>pNoDeviceLinkLyout    true");
    if (ShowMessage(QStringLiteral("UpdateTiShi"), QStringLiteral("UpdateTiShiText"), true, true) != 1) {
        EndProgram();
        return 0;
    }
    if (page)
        page->SetUpdating(true);
    const QString folder = QString::fromStdString(ResourceFolder(kUpdateFolderName));
    if (!StartProgram(folder + QLatin1String(kFirmwareUpdateProgram),
                      {QString::fromLatin1(kFirmwareUpdateArguments)}, folder))
        Trace("firmware update program could not be started");
    return 0;
}

LRESULT CMainWnd::OnDeviceDataChecked(WPARAM wParam, LPARAM)
{
    noDeviceLayoutInUse_ = wParam != 0;
    errorDeviceLink_.SetVisible(wParam == 0);
    return 0;
}
