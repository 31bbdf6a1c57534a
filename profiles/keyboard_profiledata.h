#pragma once
// The keyboard's profile: system options and the per-key colour groups
// besides the sections every family has.

#include "profiles/basic_profiledata.h"

// The keyboard keeps five colour groups.
inline constexpr int kCustomColorGroupCount = 5;
// One colour per key light.
inline constexpr int kMaxCustomLightColors = 170;

class CKeyboardProfiledata : public CBasicProfiledata {
public:
    CKeyboardProfiledata() : CBasicProfiledata(kKeyboardSlot) {}

    KeyboardSettings ReadKeyboardSettings();
    void WriteKeyboardSettings(const KeyboardSettings& settings);

    // `count` colours of a group; colours the profile lacks are added as
    // zeros. A group outside 0..4 reads as zeros and changes nothing.
    std::vector<LightColor> ReadCustomLightColors(int group, int count);
    void WriteCustomLightColors(const std::vector<LightColor>& colors, int group);
    // The selected group; a number outside 0..4 reads as 0.
    int ReadCustomLightGroup();
    void WriteCustomLightGroup(int group);

private:
    Json::Value& ColorGroups();

    KeyboardSettings m_settings;
    std::vector<LightColor> m_colors;
    int m_group = 0;
};
