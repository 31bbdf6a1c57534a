#include "devices/velmora_mouse_device.h"

#include "app/main_messages.h"
#include "devices/page/function_panel.h"
#include "panels/macro_device.h"
#include "profiles/json_access.h"
#include "profiles/json_file.h"
#include "profiles/profile_list.h"
#include "profiles/profile_paths.h"
#include "services/diag_log.h"
#include "ui/controls/device_key_button.h"
#include "ui/controls/select_panel.h"
#include "ui/notify.h"
#include "ui/resource_manager.h"
#include "ui/widget_text.h"
#include "ui/window_impl_base.h"

#include <QDateTime>
#include <QLabel>

#include <memory>

namespace {

QString InfoText(const DeviceInfoBlock& block)
{
    const int sensor = GetU16(block.data(), kInfoSensor);
    return CResourceManager::GetInstance()
        .GetText(QStringLiteral("mouse_info_sensor_keys"))
        .arg(sensor, 4, 16, QLatin1Char('0'))
        .arg(block[kInfoKeyCount]);
}

// What the worker read when the page loaded from the device.
struct LoadedData {
    DeviceDataOutcome outcome = DeviceDataOutcome::kNotReady;
    DeviceInfoBlock info{};
    bool keyTableRead = false;
    bool firmwareOutdated = false;
    uint16_t firmwareVersion = 0;
    int settingsResult = kResultNoReply;
    MouseSettingsBlock block{};
};

bool SettingsReadable(DeviceDataOutcome outcome)
{
    return outcome == DeviceDataOutcome::kComplete || outcome == DeviceDataOutcome::kKeyTableSkipped;
}

}  // namespace

CVelmoraMouseDevice::CVelmoraMouseDevice(QWidget* parent)
    : CVelmoraUSBDevice(parent),
      core_(Channel()),
      lighting_(std::make_unique<CMouseLighting>(Preview(), Reactive(), [this] {
          return Channel().IsOpen() && !GetLightingSync();
      }))
{
    SetDeviceKind(kKindMouseCable);
    SetFamilyName(QString::fromLatin1(kMouseFamilyName));
    profile_.SetDeviceEntryIndex(0);
}

CVelmoraMouseDevice::~CVelmoraMouseDevice()
{
    lighting_->Stop();
    StopThreads();
}

void CVelmoraMouseDevice::BuildPage()
{
    BindFeaturePanels();
    auto* keysAndLights = findChild<CSelectPanelUI*>(QStringLiteral("mouse_device_key_light"));
    BindButtonsIn(keysAndLights);
    if (keysAndLights) {
        for (auto* button : keysAndLights->findChildren<CDeviceKeyButtonUI*>()) {
            if (button->property("textId").toString() == QLatin1String("logo"))
                logo_ = button;
        }
    }
    TakeLayoutValues();
    SetSliderRanges();
    SetUpKeyInfoList();
    ShowFunctionPanel(kLightingFunctionPanel);  // shown when the page is built
}

void CVelmoraMouseDevice::ShowFunctionPanel(int type)
{
    CVelmoraUSBDevice::ShowFunctionPanel(type);
    ShowKeyInfoList(type == kKeyFunctionPanel);
    if (auto* hint = findChild<QWidget*>(QStringLiteral("device_tishi_info")))
        hint->hide();
}

bool CVelmoraMouseDevice::Ready()
{
    CCommandChannel& channel = Channel();
    return channel.IsOpen() && channel.CheckLink();
}

void CVelmoraMouseDevice::LoadFromDevice()
{
    auto data = std::make_shared<LoadedData>();
    RunOnDevice(
        [this, data] {
            data->outcome = core_.ReadDeviceData();
            data->info = core_.InfoBlock();
            data->keyTableRead = core_.KeyTable().IsRead();
            data->firmwareOutdated = core_.FirmwareOutdated();
            data->firmwareVersion = core_.FirmwareVersion();
            if (SettingsReadable(data->outcome)) {
                data->settingsResult = core_.ReadBlock();
                data->block = core_.Block();
            }
            return data->settingsResult;
        },
        [this, data](int) {
            ReportDeviceData(data->outcome, data->firmwareOutdated, data->firmwareVersion);
            if (!SettingsReadable(data->outcome))
                return;
            SetInfoBlock(data->info);
            keyTableRead_ = data->keyTableRead;
            ShowInfo();
            SetSliderRanges();
            LoadPageProfile();
            if (data->settingsResult == kResultSuccess)
                TakeBlock(data->block);
            ShowSettings();
            lighting_->Start();
            MarkLoaded();
            ReadBattery();
        });
}

void CVelmoraMouseDevice::ReportDeviceData(DeviceDataOutcome outcome, bool firmwareOutdated, uint16_t version)
{
    if (outcome == DeviceDataOutcome::kNotReady || outcome == DeviceDataOutcome::kInfoReadFailed)
        return;
    const WindowImplBase* window = OwnerWindow(this);
    const WindowHandle main = window ? window->GetHWND() : 0;
    const int initialised = outcome == DeviceDataOutcome::kNotSetUp ? 0 : 1;
    WriteLogLine(QStringLiteral("ReadDeviceData>WM_USB_MAINMESS_DEVICE_IS_INITUI    %1").arg(initialised).toStdString());
    if (main)
        SendWindowMessage(main, WM_USB_MAINMESS_DEVICE_IS_INITUI, static_cast<WPARAM>(initialised), 0);
    if (initialised && firmwareOutdated && main)
        SendWindowMessage(main, WM_DEVICE_FIRMWARE_VERSION, kMouseCableProduct, version);
}

void CVelmoraMouseDevice::RefreshFromDevice()
{
    ReadSettingsThenShow();
}

void CVelmoraMouseDevice::ReadSettingsThenShow()
{
    auto block = std::make_shared<MouseSettingsBlock>();
    RunOnDevice(
        [this, block] {
            const int result = core_.ReadBlock();
            *block = core_.Block();
            return result;
        },
        [this, block](int result) {
            if (result != kResultSuccess)
                return;
            TakeBlock(*block);
            ShowSettings();
            MarkLoaded();
        });
}

// The settings the mouse may change itself go into the profile; the page's
// copies follow the profile.
void CVelmoraMouseDevice::TakeBlock(const MouseSettingsBlock& block)
{
    TakeSettingsBlockInto(block, lightNames_, BlockFields::kReadBack, profile_);
    profile_.Save();
    settings_ = profile_.ReadMouseSettings();
    stages_ = profile_.ReadDpiStages();
    Preview().SetState(profile_.ReadLightInfo());
}

void CVelmoraMouseDevice::ReadBattery()
{
    if (GetWindowHidden())
        return;
    auto block = std::make_shared<std::array<uint8_t, kPowerBlockLength>>();
    const int receiver = IsReceiver();
    RunOnDevice([this, block] { return Ready() ? Channel().ReadStatus(block->data(), kPowerBlockLength, 0) : 0; },
                [this, block, receiver](int result) {
                    if (result != kResultSuccess)
                        return;
                    PowerStatus status = PowerStatusFromBlock(block->data(), block->size());
                    status.wireless = receiver != 0;
                    SetPowerStatus(status);
                    emit DeviceDataChanged();
                });
}

int CVelmoraMouseDevice::IsReceiverLinked()
{
    return Channel().IsOpen() && IsReceiver() && Channel().CheckLink() ? 1 : 0;
}

int CVelmoraMouseDevice::GetSleepMinutes()
{
    const int shortest = std::min(settings_[kDeviceSleep1], settings_[kDeviceSleep2]);
    return std::max(shortest, 1);
}

void CVelmoraMouseDevice::HandleNotification(uint16_t code)
{
    if (code == kNotifyKeyPressed) {
        if (Preview().State().selectItem == kEffectReactive)
            lighting_->StartReactive(static_cast<uint32_t>(QDateTime::currentMSecsSinceEpoch()));
        return;
    }
    // The mouse's own profile and DPI buttons: the page shows the block anew.
    const uint8_t high = static_cast<uint8_t>(code >> 8);
    if (code > kSyncRequestCode && (high == kNotifyProfileHigh || high == kNotifyDpiStageHigh))
        ReadSettingsThenShow();
}

void CVelmoraMouseDevice::ShowInfo()
{
    if (auto* label = findChild<QLabel*>(QStringLiteral("mouse_info_text"))) {
        // The layout's "reading" text must not come back when the language changes.
        ClearWidgetTextId(label);
        label->setText(InfoText(InfoBlock()));
    }
}

// Profiles.

void CVelmoraMouseDevice::SetProfilePaths()
{
    const std::string folder = GetProfileDirectory(kMouseFamilyName);
    // The profile panel's list knows the current profile, also one chosen for
    // the program in front; without the panel the stored choice holds.
    CProfileList stored;
    CProfileList& list = Profiles().GetCurrentIndex() >= 0 ? Profiles() : stored;
    if (&list == &stored) {
        stored.SetDeviceKind(GetDeviceKind());
        stored.SetPaths(folder, DefaultProfilePath(kMouseFamilyName));
        stored.InitProfiles();
    }
    profile_.SetDefaultProfilePath(DefaultProfilePath(kMouseFamilyName));
    profile_.SetProfilePath(list.GetCurrentProfilePath());
    profile_.SetLightConfigPath(folder + GetLightPanelName().toStdString() + ".config");
}

int CVelmoraMouseDevice::LoadPageProfile()
{
    SetProfilePaths();
    profile_.LoadProfile(profile_.GetProfilePath());
    keys_ = profile_.ReadKeyList();
    ApplyProfileLighting();
    stages_ = profile_.ReadDpiStages();
    settings_ = profile_.ReadMouseSettings();
    return 1;
}

// The default profile's settings, stages, lighting and keys replace the
// current profile's; the mouse takes them at once. Without a readable
// default profile nothing changes.
bool CVelmoraMouseDevice::RestoreDefaults()
{
    const std::string path = DefaultProfilePath(kMouseFamilyName);
    if (!ElementOf(MemberOf(ReadJsonFile(path), "Device"), 0).isObject())
        return false;
    CMouseProfiledata defaults;
    defaults.LoadProfile(path);
    profile_.WriteDpiStages(defaults.ReadDpiStages());
    profile_.WriteActiveDpiStage(defaults.GetActiveDpiStage());
    profile_.WriteMouseSettings(defaults.ReadMouseSettings());
    profile_.WriteLightInfo(defaults.ReadLightInfo());
    profile_.WriteKeyList(defaults.ReadKeyList());
    SaveProfile();
    keys_ = profile_.ReadKeyList();
    stages_ = profile_.ReadDpiStages();
    settings_ = profile_.ReadMouseSettings();
    ApplyProfileLighting();
    ShowSettings();
    WriteSettings(0, 0);
    WriteCurrentKeys();
    emit SleepTimeChanged();
    return true;
}

void CVelmoraMouseDevice::ReloadProfile()
{
    LoadPageProfile();
    SaveProfile();
    ShowSettings();
}

int CVelmoraMouseDevice::ApplyProfileLighting()
{
    const LightInfoRecord light = profile_.ReadLightInfo();
    if (light.selectItem != Preview().State().selectItem)
        lighting_->RestartEffect();
    Preview().SetState(light);
    lighting_->SetCustomSteps(profile_.ReadCustomLightEffect());
    return 1;
}

void CVelmoraMouseDevice::LoadLightNames()
{
    lightNames_ = ReadDefaultLightNames(DefaultLightNamesPath(), kMouseSlot);
    profile_.SetBuiltInLightModeCount(kMouseFirstCustomEffect);
    profile_.LoadLightConfig(profile_.GetLightConfigPath());
    customEffectNames_ = profile_.ReadCustomLightNames();
}

void CVelmoraMouseDevice::SetDataIndex(int index)
{
    CVelmoraUSBDevice::SetDataIndex(index);
    profile_.SetDeviceEntryIndex(0);
}

void CVelmoraMouseDevice::SetLightOptions(uint32_t a, uint32_t b, uint32_t c, uint32_t d)
{
    CVelmoraUSBDevice::SetLightOptions(a, b, c, d);
    profile_.WriteLightInfo(Preview().State());
}

void CVelmoraMouseDevice::SelectKey(int key)
{
    CVelmoraUSBDevice::SelectKey(key);
    if (auto* keySet = findChild<QWidget*>(QStringLiteral("keyset_layout")))
        keySet->setVisible(true);
}

// Writing.

int CVelmoraMouseDevice::WriteSettings(int profileSlot, int firstByte, int, int, int)
{
    return SendBlockValues(ProfileBlockValues(profile_), profileSlot, firstByte);
}

// A game event lights the mouse for a while: the state goes out with the
// profile's settings, and the profile keeps the user's own lighting.
int CVelmoraMouseDevice::WriteLightState(const LightInfoRecord& state)
{
    if (state.selectItem != Preview().State().selectItem)
        lighting_->RestartEffect();
    CVelmoraUSBDevice::WriteLightState(state);
    MouseBlockValues values = ProfileBlockValues(profile_);
    values.light = state;
    return SendBlockValues(values, 0, 0);
}

int CVelmoraMouseDevice::SendBlockValues(const MouseBlockValues& values, int profileSlot, int firstByte)
{
    if (!Channel().IsOpen())
        return 0;
    const auto slot = static_cast<uint8_t>(profileSlot);
    const auto first = static_cast<uint8_t>(firstByte);
    RunOnDevice([this, values, slot, first] { return core_.WriteValues(values, slot, first); },
                [this](int result) { lastWrite_ = result; });
    return 1;
}

CMacroLibrary CVelmoraMouseDevice::Macros() const
{
    CMacroLibrary library;
    library.SetFolder(GetProfileDirectory(kMouseFamilyName));
    library.Load();
    return library;
}

// A key bound to a macro carries the macro's place among the macros the keys use.
int CVelmoraMouseDevice::WriteKeyAssignments(const std::vector<KeyListEntry>& keys)
{
    if (!Channel().IsOpen() || !keyTableRead_)
        return 0;
    const std::vector<int> used = ::CollectUsedMacros(keys, Macros().Entries().size());
    const MacroPlace place = [used](uint8_t macro) -> std::optional<uint8_t> {
        const auto found = std::find(used.begin(), used.end(), macro);
        return found == used.end() ? std::nullopt : std::optional<uint8_t>(found - used.begin());
    };
    RunOnDevice([this, keys, place] { return core_.WriteKeyAssignments(keys, place); },
                [this](int result) { lastKeyWrite_ = result; });
    return 1;
}

void CVelmoraMouseDevice::ValidateMacroKeys()
{
    keys_ = profile_.ReadKeyList();
    if (!ResetMissingMacroKeys(keys_, Macros().Entries().size()))
        return;
    profile_.WriteKeyList(keys_);
    SaveProfile();
    ShowKeyTexts();
}

int CVelmoraMouseDevice::WriteCurrentKeys()
{
    keys_ = profile_.ReadKeyList();
    const int queued = WriteKeyAssignments(keys_);
    if (queued)
        BuildMacroImage();
    return queued;
}

// The macros the keys use go to the mouse as one image; a macro of more than
// 60 events or an image beyond the mouse's memory is not sent (the result is
// then the count of events too many).
int CVelmoraMouseDevice::BuildMacroImage()
{
    if (!Channel().IsOpen())
        return 0;
    const CMacroLibrary library = Macros();
    const std::vector<int> used = ::CollectUsedMacros(profile_.ReadKeyList(), library.Entries().size());
    RunOnDevice([this, library, used] { return SendMacroImage(Channel(), library, used, true); },
                [this](int result) { lastMacroWrite_ = result; });
    return 1;
}
