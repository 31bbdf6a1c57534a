#pragma once
// CVelmoraMouseDevice: the tri-mode mouse's page, on its cable or through its
// receiver. It binds the page's controls to the mouse: the device logic is
// CMouseDeviceCore (run on the page's worker, never on the UI thread), what
// the settings controls mean is in devices/mouse/mouse_page_rules.h, and the
// profile keeps what the page shows. Every change of a setting is stored in
// the profile, saved and sent to the mouse as its settings block.

#include "devices/mouse/mouse_device_core.h"
#include "devices/mouse/mouse_lighting.h"
#include "devices/mouse/mouse_page_rules.h"
#include "devices/velmora_usb_device.h"
#include "panels/macro_library.h"
#include "profiles/default_light.h"

#include <memory>

class CVelmoraMouseDevice : public CVelmoraUSBDevice {
    Q_OBJECT
public:
    explicit CVelmoraMouseDevice(QWidget* parent = nullptr);
    ~CVelmoraMouseDevice() override;

    // DeviceSettings events are the mouse's own; the others go to the panels.
    int HandleFeatureEvent(const PageEvent& event) override;

    void BindKeyAndLightControls() override { BuildPage(); }
    void ShowFunctionPanel(int type) override;
    int ApplyProfileLighting() override;
    void LoadFromDevice() override;
    void RefreshFromDevice() override;
    void ReadBattery() override;
    int IsReceiverLinked() override;
    bool HasWirelessFeatures() const override { return true; }
    int GetSleepMinutes() override;
    int LoadPageProfile() override;
    void ShowSettings() override;
    void ReloadProfile() override;
    // Keys bound to a macro that no longer exists get their default code back.
    void ValidateMacroKeys() override;
    int WriteKeyAssignments(const std::vector<KeyListEntry>& keys) override;
    // The profile's keys, then the image of the macros they use.
    int WriteCurrentKeys() override;
    int BuildMacroImage() override;
    // Queues the block of the profile's settings for the mouse; 1 when queued
    // (the mouse may still refuse it), 0 when the device is not ready.
    int WriteSettings(int profileSlot, int firstByte, int a = 0, int b = 0, int c = 0) override;
    void LoadLightNames() override;
    void SetProfilePaths() override;
    QString GetProfilePathText() override { return QString::fromStdString(profile_.GetProfilePath()); }
    void SaveProfile() override { profile_.Save(); }
    void SetDataIndex(int index) override;
    void SetLightOptions(uint32_t a, uint32_t b, uint32_t c, uint32_t d) override;
    void SelectKey(int key) override;
    std::vector<KeyListEntry> GetKeyList() const override { return keys_; }
    // Stores the keys in the profile and saves it; the key list shows them.
    void SetKeyList(const std::vector<KeyListEntry>& keys) override;
    void ShowKeyTexts() override;
    int WriteLightState(const LightInfoRecord& state) override;

    // A DPI stage's colour, as the colour picker opened by the stage's
    // colour button chooses it; stored and sent like every setting.
    void SetDpiStageColor(int stage, uint8_t red, uint8_t green, uint8_t blue);
    // Turns the settings tabs to tab `tab` (tab 0 for numbers beyond them).
    void ShowSettingsTab(int tab);

    CMouseProfiledata& Profile() { return profile_; }
    const std::vector<DpiStage>& DpiStages() const { return stages_; }
    const MouseSettings& Settings() const { return settings_; }
    // The mouse's sensor mapping, with the layout's slider range.
    CDpiMapping Dpi() const;
    // Results of the last device exchange of each kind (1 success).
    int LastWriteResult() const { return lastWrite_; }
    int LastKeyWriteResult() const { return lastKeyWrite_; }
    int LastMacroWriteResult() const { return lastMacroWrite_; }

protected:
    void HandleNotification(uint16_t code) override;

private:
    // Binds the key and light buttons of the picture and the feature panels,
    // and shows the lighting panel.
    void BuildPage();
    void ShowInfo();
    void ReadSettingsThenShow();
    void TakeBlock(const MouseSettingsBlock& block);
    bool RestoreDefaults();
    void ReportDeviceData(DeviceDataOutcome outcome, bool firmwareOutdated, uint16_t version);
    void SetSliderRanges();

    // Showing, without notifications.
    void TakeLayoutValues();
    void ShowDpiStages();
    void ShowDpiStage(int stage);
    void ShowDpiValue(int stage, int code);
    void ShowSettingControls();
    void ShowSettingControl(const MouseSettingControl& control);
    void ShowLogoTip();
    // The list beside the picture of what each key does; a row selects its key.
    void SetUpKeyInfoList();
    void ShowKeyInfoList(bool show);

    // Setting events.
    int OnSettingEvent(const PageEvent& event);
    int OnDpiEvent(const PageEvent& event);
    std::optional<int> ValueOfControl(const MouseSettingControl& control, const PageEvent& event) const;
    void SetActiveDpiStage(int stage);
    void StoreStagesAndSend();

    CMacroLibrary Macros() const;
    int SendBlockValues(const MouseBlockValues& values, int profileSlot, int firstByte);

    // Device traffic on the worker.
    bool Ready();

    CMouseDeviceCore core_;  // worker thread only
    CMouseProfiledata profile_;
    DefaultLightNames lightNames_;
    std::vector<std::wstring> customEffectNames_;
    std::vector<KeyListEntry> keys_;
    std::vector<DpiStage> stages_;
    MouseSettings settings_;
    std::optional<DpiRange> layoutDpiRange_;  // the stage sliders' range in the layout
    bool keyTableRead_ = false;
    int lastWrite_ = 0;
    int lastKeyWrite_ = 0;
    int lastMacroWrite_ = 0;
    QPointer<CDeviceKeyButtonUI> logo_;
    std::unique_ptr<CMouseLighting> lighting_;
};
