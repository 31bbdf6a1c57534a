#include "profiles/keyboard_profiledata.h"

#include "profiles/json_access.h"

#include <algorithm>

namespace {

struct SettingKey {
    const char* key;
    uint16_t KeyboardSettings::*member;
};

constexpr SettingKey kSettingKeys[] = {
    {"Repeat", &KeyboardSettings::repeat},       {"RepeatDelay", &KeyboardSettings::repeatDelay},
    {"Key6Flag", &KeyboardSettings::key6Flag},   {"PollingRate", &KeyboardSettings::pollingRate},
    {"WFlag", &KeyboardSettings::wFlag},         {"WinFlag", &KeyboardSettings::winFlag},
};

struct ColorKey {
    const char* key;
    uint8_t LightColor::*member;
};

constexpr ColorKey kColorKeys[] = {
    {"Red", &LightColor::red},
    {"Green", &LightColor::green},
    {"Blue", &LightColor::blue},
    {"Alpha", &LightColor::alpha},
};

constexpr const char* kCustomSection = "CustomLightMode";

bool IsColorGroup(int group)
{
    return group >= 0 && group < kCustomColorGroupCount;
}

// Updates the members in place: a group is rewritten on every key painted.
void StoreColor(const LightColor& color, Json::Value& object)
{
    AsObject(object);
    for (const auto& field : kColorKeys)
        object[field.key] = color.*field.member;
}

LightColor ColorOf(const Json::Value& object)
{
    LightColor color;
    for (const auto& field : kColorKeys)
        color.*field.member = static_cast<uint8_t>(IntOf(MemberOf(object, field.key)));
    return color;
}

}  // namespace

KeyboardSettings CKeyboardProfiledata::ReadKeyboardSettings()
{
    const Json::Value& section = MemberOf(Entry(), "SystemStages");
    KeyboardSettings settings;
    for (const auto& field : kSettingKeys)
        settings.*field.member = static_cast<uint16_t>(IntOf(MemberOf(section, field.key)));
    m_settings = settings;
    return settings;
}

void CKeyboardProfiledata::WriteKeyboardSettings(const KeyboardSettings& settings)
{
    m_settings = settings;
    Json::Value& section = ObjectMember(EditableEntry(), "SystemStages");
    for (const auto& field : kSettingKeys)
        section[field.key] = settings.*field.member;
}

Json::Value& CKeyboardProfiledata::ColorGroups()
{
    return ArrayMember(ObjectMember(EditableEntry(), kCustomSection), "LightColorInfo");
}

std::vector<LightColor> CKeyboardProfiledata::ReadCustomLightColors(int group, int count)
{
    count = std::clamp(count, 0, kMaxCustomLightColors);
    m_colors.assign(static_cast<size_t>(count), LightColor{});
    if (!IsColorGroup(group))
        return m_colors;
    Json::Value& colors = AsArray(ColorGroups()[group]);
    for (Json::ArrayIndex j = 0; j < m_colors.size(); ++j) {
        if (colors[j].isObject())
            m_colors[j] = ColorOf(colors[j]);
        else
            StoreColor(LightColor{}, colors[j]);
    }
    return m_colors;
}

void CKeyboardProfiledata::WriteCustomLightColors(const std::vector<LightColor>& colors, int group)
{
    m_colors = colors;
    if (!IsColorGroup(group))
        return;
    Json::Value& list = AsArray(ColorGroups()[group]);
    for (Json::ArrayIndex i = 0; i < colors.size(); ++i)
        StoreColor(colors[i], list[i]);
}

int CKeyboardProfiledata::ReadCustomLightGroup()
{
    const int group = IntOf(MemberOf(MemberOf(Entry(), kCustomSection), "CustomLightModeGroupIndex"));
    m_group = IsColorGroup(group) ? group : 0;
    return m_group;
}

void CKeyboardProfiledata::WriteCustomLightGroup(int group)
{
    m_group = group;
    ObjectMember(EditableEntry(), kCustomSection)["CustomLightModeGroupIndex"] = group;
}
