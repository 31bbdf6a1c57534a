#pragma once
// CLightControlUI: the lighting panel of a device page: effect, brightness,
// speed, direction and colours, and the audio-light controls it hosts. It
// lists the light modes of its page's family ("default_light.json") unless
// the page fills the list, shows the page's light state each time the page
// has read its device, and hands each change back to the page, which keeps it
// in its profile and writes it to the device. What a change
// does to the state, and which sections a mode leaves usable, is decided in
// panels/light_panel_rules.h.

#include "devices/feature_panel.h"
#include "panels/light_panel_rules.h"
#include "ui/control.h"

#include <QHash>
#include <QStringList>

#include <optional>
#include <vector>

class CLightControlUI : public CFeaturePanel {
public:
    explicit CLightControlUI(QWidget* parent = nullptr);

    void SetPage(CVelmoraUSBDevice* page) override;
    int HandleFeatureEvent(const PageEvent& event) override;

    // The mode list: one entry per name (a text identifier), hidden where its
    // flag is false; then the maxima of the brightness and speed sliders.
    void FillLightModes(const QStringList& names, const std::vector<bool>& visible, int brightnessMax,
                        int speedMax);
    // Shows a light state, then lays the panel out for its mode.
    void ShowLightInfo(const LightInfoRecord& record);
    void SetMode(int mode);
    void UpdateModeLayout(int kind, int mode);
    void SetSameModeVisible(int flag);
    int GetMode() const { return mode_; }

    // The audio style controls; false (and nothing changed) when the layout
    // lacks one of them.
    bool SetAudioLightInfo(const AudioLightRecord& record);
    // With refresh, the preview's colour is stored as the colour the edits show.
    std::optional<AudioLightRecord> GetAudioLightInfo(bool refresh);

private:
    CControlUI Control(const char* name);
    CControlUI Control(const QString& name);
    int SetupKind() const;
    void FillDefaultLightModes();
    void FollowPage();
    void ShowColor(uint32_t argb);
    void ShowComponents(const LightInfoRecord& record);
    int HandleLightingEvent(const PageEvent& event);
    int HandleGameEvent(const PageEvent& event);
    std::optional<std::pair<LightChange, uint32_t>> ChangeOf(const PageEvent& event);
    void Apply(LightChange change, uint32_t value);
    // Shows what a change did, without notifications.
    void ShowChange(LightChange change, const LightInfoRecord& record);

    QHash<QString, CControlUI> controls_;
    QMetaObject::Connection pageRead_;
    int shownLoad_ = -1;
    int mode_ = 0;
    AudioLightRecord audio_;
};
