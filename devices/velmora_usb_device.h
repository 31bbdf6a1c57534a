#pragma once
// CVelmoraUSBDevice: the base of the device pages (mouse, keyboard, mouse
// pad, headset). A page is itself a container control of the main window's
// "device_switch"; the main window's router calls the operations below on
// the current page, and each family's page fills in what it supports.
//
// HandleFeatureEvent is the one hand-off from the router to the features a
// page serves (key panel, macros, lighting, recoil, sound, profiles, the
// family's own settings): every route whose feature lives on the page ends
// there. The base does nothing and answers 0 ("nothing done").
//
// Threads: the UI thread owns the controls. The page's worker runs every
// exchange with the device in posting order and posts results back; the
// notification listeners post the codes they read. Nothing but the UI thread
// touches a control.

#include "devices/page/light_preview.h"
#include "devices/page/notification_listener.h"
#include "devices/page/page_worker.h"
#include "devices/page/power_status.h"
#include "devices/page/reactive_keys.h"
#include "profiles/profile_list.h"
#include "profiles/records.h"
#include "transport/command_channel.h"
#include "transport/device_table.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

class CDeviceKeyButtonUI;

// Who handles a routed notification on the page.
enum class PageFeature {
    DeviceSettings,    // the family's own settings: DPI, report rate, sleep, repeat, reset
    Keys,              // key assignment panel
    Macros,            // macro editor
    Lighting,          // lighting panel
    Recoil,            // recoil patterns
    Sound,             // headset equalizer, microphone, voice effects
    AudioLight,        // audio-reactive lighting
    Profiles,          // profile list and its commands
    Capture,           // keys and mouse events captured while a capture is armed
    GameEvents,        // game-event lighting
};

// One routed notification, command or message for the page.
struct PageEvent {
    PageFeature feature = PageFeature::DeviceSettings;
    QString type;      // notification type ("click", "valuechanged", ...) or "message" / "command"
    QString name;      // sender, menu item or command name
    int index = -1;    // N of a name "prefix_N", else -1
    int64_t value = 0; // wParam of the notification or message
    int64_t extra = 0; // lParam
    QString text;      // a chosen file path or an edited name, where the command takes one

    static PageEvent Of(const QString& type, const QString& name, int64_t value = 0, int64_t extra = 0,
                        const QString& text = {})
    {
        PageEvent event;
        event.type = type;
        event.name = name;
        event.value = value;
        event.extra = extra;
        event.text = text;
        return event;
    }
};

using DeviceInfoBlock = std::array<uint8_t, kInfoBlockSize>;

class CVelmoraUSBDevice : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSyncRequestDelayMs = 50;
    static constexpr uint16_t kSyncRequestCode = 0x0401;

    explicit CVelmoraUSBDevice(QWidget* parent = nullptr);
    ~CVelmoraUSBDevice() override;

    QString GetClass() const { return QStringLiteral("VelmoraUSBDevice"); }

    // The hand-off: returns the feature's result (1 done, 0 nothing done,
    // other values as the feature defines them).
    virtual int HandleFeatureEvent(const PageEvent& event);

    // Controls and lights.
    virtual void BindKeyAndLightControls();
    virtual int ApplyProfileLighting() { return 0; }
    // Lights the device with `state` for a while without keeping it in the
    // profile (game events); the profile's lighting comes back with
    // ApplyProfileLighting and WriteSettings. The base only shows it.
    virtual int WriteLightState(const LightInfoRecord& state)
    {
        preview_.SetState(state);
        return 0;
    }
    // Takes the lighting shared across the devices: kept in the profile, sent
    // to the device and shown; the shared effect drives the page until one of
    // its own lighting changes.
    void TakeSharedLighting(const LightInfoRecord& state);
    virtual void PreviewBreathing() { preview_.PreviewBreathing(); }
    virtual void PreviewColorSteps() { preview_.PreviewColorSteps(); }
    virtual void PreviewStatic() { preview_.PreviewStatic(); }
    virtual void PreviewSpectrum() { preview_.PreviewSpectrum(); }
    virtual void PreviewBlink();
    virtual void PreviewFourColorFlash();
    virtual void PreviewOff() { preview_.PreviewOff(); }
    // Paints the LED colours on the light controls; UI thread only.
    virtual void RenderLights();
    virtual void SetLedColor(int index, LedColor color) { preview_.SetLed(index, color); }
    virtual LedColor GetLedColor(int index) const { return preview_.GetLed(index); }

    // Device reads, run by the device list's entry timers. The base does nothing.
    virtual void LoadFromDevice() {}
    virtual void RefreshFromDevice() {}
    virtual void ReadBattery() {}
    virtual int IsReceiverLinked() { return 1; }
    virtual int GetSleepMinutes() { return 1; }
    // True when the family has a battery and a radio (the battery timer runs).
    virtual bool HasWirelessFeatures() const { return false; }

    // Profiles, keys and macros: hooks the family pages fill.
    virtual int LoadPageProfile() { return 0; }
    virtual void ShowSettings() {}
    virtual void ValidateMacroKeys() {}
    virtual void ReloadProfile() {}
    virtual QStringList CollectUsedMacros() { return {}; }
    virtual int WriteKeyAssignments(const std::vector<KeyListEntry>& keys);
    // The key assignments and macros of the current profile to the device.
    virtual int WriteCurrentKeys() { return 0; }
    virtual int BuildMacroImage() { return 0; }
    virtual int WriteSettings(int profileSlot, int slotByte, int a, int b, int c);
    virtual void LoadLightNames() {}
    virtual void SetKeyMap(const std::vector<int>& map) { keyMap_ = map; }
    virtual void SetProfilePaths() {}
    virtual QString GetProfilePathText() { return {}; }
    virtual void SaveProfile() {}
    virtual void SetAudioBands(const int* /*bands*/, int /*count*/) {}
    virtual void SetExternalColor(const int* /*values*/, int /*count*/) {}

    // Key-reactive lighting.
    virtual void StepReactiveLevel(int key, int mode) { reactive_.StepReactiveLevel(key, mode); }
    virtual void MarkPressedKeys() { reactive_.MarkPressedKeys(); }
    virtual void RotateRing(int direction) { reactive_.RotateRing(direction); }
    virtual void ClearReactiveLevels() { reactive_.ClearReactiveLevels(); }

    // Selects the function panel of a function tab (1 lighting .. 9 other settings).
    virtual void ShowFunctionPanel(int type);
    int GetFunctionPanel() const { return functionPanel_; }

    virtual void SetDataIndex(int index) { dataIndex_ = index; }
    virtual int GetDataIndex() const { return dataIndex_; }
    // Four packed little-endian values: bytes 0..3, 4..7, 8..11 and 12..13 of the light state.
    virtual void SetLightOptions(uint32_t a, uint32_t b, uint32_t c, uint32_t d);
    virtual void SetAudioLightState(uint32_t a, uint32_t b, uint32_t c);
    virtual std::array<uint32_t, 3> GetAudioLightState() const { return audioLight_; }
    virtual void SelectKey(int key) { selectedKey_ = key; }
    // The page's keys with their assigned and default codes. A family page
    // with keys keeps them in its profile: SetKeyList stores them there (the
    // next save writes the file) and shows their texts again.
    virtual std::vector<KeyListEntry> GetKeyList() const { return {}; }
    virtual void SetKeyList(const std::vector<KeyListEntry>& /*keys*/) {}
    // Shows what each key does, in the language now applied.
    virtual void ShowKeyTexts() {}

    // The family's profiles. The profile panel shows and changes the list; the
    // page loads the current one (GetCurrentProfilePath) on ReloadProfile.
    CProfileList& Profiles() { return profiles_; }

    // Identity and set-up.
    int GetDeviceKind() const { return kind_; }
    void SetDeviceKind(int kind) { kind_ = kind; }
    int GetInterfaceRole() const { return role_; }
    void SetInterfaceRole(int role) { role_ = role; }
    const DeviceRecord& Identity() const { return identity_; }
    void SetIdentity(const DeviceRecord& record) { identity_ = record; }
    void SetLightCount(int count);
    int GetLightCount() const { return preview_.LightCount(); }
    void SetKeyCount(int count);
    int GetKeyCount() const { return static_cast<int>(keyControls_.size()); }
    void SetPowerDisplay(int on) { powerDisplay_ = on; }
    int GetPowerDisplay() const { return powerDisplay_; }
    void SetInitialValue(int value) { initialValue_ = value; }
    void SetFamilyName(const QString& name) { familyName_ = name; }
    QString GetFamilyName() const { return familyName_; }
    void SetLightPanelName(const QString& name) { lightPanelName_ = name; }
    QString GetLightPanelName() const { return lightPanelName_; }
    void SetLayoutPath(const QString& path) { layoutPath_ = path; }
    QString GetLayoutPath() const { return layoutPath_; }
    int GetSelectedKey() const { return selectedKey_; }

    // Connections. The control channel's open flag says the device is ready;
    // the receiver flag is 1 while the page talks through the receiver.
    CCommandChannel& Channel() { return channel_; }
    int IsReceiver() const { return receiver_; }
    void SetReceiver(int receiver) { receiver_ = receiver; }
    // Opens the cable's or the receiver's notification interface (chosen by
    // the slot kind) and starts its listener.
    bool OpenNotificationInterface(const std::string& path, int kind);
    void CloseNotificationInterface(int kind);
    void CloseNotificationInterfaces();
    bool IsNotificationOpen(int kind) const;
    const DeviceInfoBlock& InfoBlock() const { return infoBlock_; }

    // Runs a device exchange on the page's worker; `done` then runs on the UI
    // thread with the exchange's result, unless the page is gone.
    void RunOnDevice(std::function<int()> exchange, std::function<void(int)> done = {});
    bool IsWorkerIdle() const { return worker_.IsIdle(); }
    // Inside an exchange only: waits, cut short (false) when the page is going.
    bool PauseOnWorker(std::chrono::milliseconds duration) { return worker_.Pause(duration); }

    // What the battery display shows; the family pages set it from their reads.
    const PowerStatus& GetPowerStatus() const { return powerStatus_; }
    // Whether the page has data to show (its first read succeeded).
    bool HasData() const { return hasData_; }
    // Bumped each time the page has read its device afresh.
    int LoadCount() const { return loadCount_; }

    // Flags the main window sets.
    virtual void SetLightingControl(int on) { lightingControl_ = on; }
    int GetLightingControl() const { return lightingControl_; }
    void SetWindowActive(int active) { windowActive_ = active; }
    int GetWindowActive() const { return windowActive_; }
    // Stored only while the page has a power display.
    void SetWindowHidden(int hidden);
    int GetWindowHidden() const { return windowHidden_; }
    // Set while the device is being updated by the firmware-update program.
    void SetUpdating(bool updating) { updating_ = updating; }
    bool IsUpdating() const { return updating_; }
    void SetLightingSync(int on) { lightingSync_ = on; }
    int GetLightingSync() const { return lightingSync_; }
    void SetMultipleDevices(bool multiple) { multipleDevices_ = multiple; }
    // The shared effect's colour (red + green x 256 + blue x 65536 + brightness
    // x 16777216); set by the synchronisation thread, shown while synchronised.
    void SetSyncColor(uint32_t color) { syncColor_ = color; }
    uint32_t GetSyncColor() const { return syncColor_; }

    // Controls bound from the layout (null entries for keys and lights the layout lacks).
    const QList<QPointer<CDeviceKeyButtonUI>>& KeyControls() const { return keyControls_; }
    const QList<QPointer<CDeviceKeyButtonUI>>& LightControls() const { return lightControls_; }
    CLightPreview& Preview() { return preview_; }
    CReactiveKeys& Reactive() { return reactive_; }
    // Times RefreshFromDevice ran because the device asked for it.
    int SyncRefreshCount() const { return syncRefreshes_; }

signals:
    // The page read its device afresh (power status and data may have changed).
    void DeviceDataChanged();
    // The device's sleep time changed: the keep-alive follows it at once.
    void SleepTimeChanged();

protected:
    // A notification code other than the sync request; UI thread.
    virtual void HandleNotification(uint16_t /*code*/) {}
    // Ends the worker and the listeners; a family page's destructor calls it
    // first, since their jobs use the family page's own members.
    void StopThreads();
    void SetInfoBlock(const DeviceInfoBlock& block) { infoBlock_ = block; }
    void SetPowerStatus(const PowerStatus& status) { powerStatus_ = status; }
    void MarkLoaded();
    // Hands the page to every feature panel of its layout.
    void BindFeaturePanels();
    // The "key_N" and "light_N" buttons inside `container` (a light also by
    // its user data "light_N") into the key and light lists; each light
    // starts white at full level.
    void BindButtonsIn(QWidget* container);
    // Delay between a sync request and the refresh it causes.
    virtual int SyncRequestDelayMs() const { return kSyncRequestDelayMs; }
    // A code a listener read, on the UI thread.
    void OnNotification(uint16_t code);

private:
    CNotificationListener& ListenerFor(int kind);
    const CNotificationListener& ListenerFor(int kind) const;

    // Identity and set-up.
    int kind_ = 0;
    int role_ = 0;
    DeviceRecord identity_;
    int dataIndex_ = 0;
    int powerDisplay_ = 0;
    int initialValue_ = 0;
    QString layoutPath_;
    QString familyName_;
    QString lightPanelName_;

    // Connections.
    CCommandChannel channel_;
    int receiver_ = 0;
    CNotificationListener cableListener_;
    CNotificationListener receiverListener_;
    DeviceInfoBlock infoBlock_{};

    // Keys and lights.
    QList<QPointer<CDeviceKeyButtonUI>> keyControls_;
    QList<QPointer<CDeviceKeyButtonUI>> lightControls_;
    std::vector<LightListEntry> lightRecords_;
    CLightPreview preview_;
    CReactiveKeys reactive_;
    std::vector<int> keyMap_;

    // Panel state.
    int functionPanel_ = 1;
    int selectedKey_ = -1;
    int lightingControl_ = 1;
    int windowActive_ = 1;
    int windowHidden_ = 0;
    std::atomic<int> lightingSync_{0};
    std::atomic<uint32_t> syncColor_{0};
    bool multipleDevices_ = false;
    bool updating_ = false;
    std::array<uint32_t, 3> audioLight_{};
    QPointer<QWidget> functionSwitch_;
    QPointer<QWidget> keyFunctionSwitch_;
    bool switchesLooked_ = false;

    CProfileList profiles_;
    PowerStatus powerStatus_;
    bool hasData_ = false;
    int loadCount_ = 0;
    QTimer syncTimer_;
    int syncRefreshes_ = 0;
    CPageWorker worker_;
};

bool IsMousePage(const CVelmoraUSBDevice* page);
bool IsKeyboardPage(const CVelmoraUSBDevice* page);
