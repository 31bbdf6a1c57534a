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

#include <QString>
#include <QWidget>

#include <cstdint>

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

class CVelmoraUSBDevice : public QWidget {
    Q_OBJECT
public:
    explicit CVelmoraUSBDevice(QWidget* parent = nullptr);

    QString GetClass() const { return QStringLiteral("VelmoraUSBDevice"); }

    // The hand-off: returns the feature's result (1 done, 0 nothing done,
    // other values as the feature defines them).
    virtual int HandleFeatureEvent(const PageEvent& event);

    // Selects the function panel of a function tab (1 lighting .. 9 other settings).
    virtual void ShowFunctionPanel(int type);
    int GetFunctionPanel() const { return functionPanel_; }
    // The key assignments and macros of the current profile to the device.
    virtual int WriteCurrentKeys();

    int GetDeviceKind() const { return kind_; }
    void SetDeviceKind(int kind) { kind_ = kind; }
    // 1 while this program drives the device lighting.
    virtual void SetLightingControl(int on) { lightingControl_ = on; }
    int GetLightingControl() const { return lightingControl_; }
    void SetWindowActive(int active) { windowActive_ = active; }
    int GetWindowActive() const { return windowActive_; }
    void SetWindowHidden(int hidden) { windowHidden_ = hidden; }
    int GetWindowHidden() const { return windowHidden_; }
    // Set while the device is being updated by the firmware-update program.
    void SetUpdating(bool updating) { updating_ = updating; }
    bool IsUpdating() const { return updating_; }

private:
    int kind_ = 0;
    int functionPanel_ = 1;
    int lightingControl_ = 1;
    int windowActive_ = 1;
    int windowHidden_ = 0;
    bool updating_ = false;
};

bool IsMousePage(const CVelmoraUSBDevice* page);
bool IsKeyboardPage(const CVelmoraUSBDevice* page);
