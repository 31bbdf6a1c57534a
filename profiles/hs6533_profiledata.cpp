#include "profiles/hs6533_profiledata.h"

#include "profiles/json_access.h"
#include "profiles/json_file.h"

namespace {

struct SettingKey {
    const char* key;
    int HeadsetSettings::*member;
};

constexpr SettingKey kSettingKeys[] = {
    {"MagicEnable", &HeadsetSettings::magicEnable},
    {"MagicType", &HeadsetSettings::magicType},
    {"EqType", &HeadsetSettings::eqType},
    {"CustomEqSeletIndex", &HeadsetSettings::customEqSelectIndex},
    {"MicInSelect", &HeadsetSettings::micInSelect},
    {"MicInValue", &HeadsetSettings::micInValue},
    {"MicMoniterSelect", &HeadsetSettings::micMonitorSelect},
    {"MicMoniterValue", &HeadsetSettings::micMonitorValue},
};

constexpr const char* kPresetSection = "EQHzValueInfo";
constexpr const char* kCustomSection = "CustomEQHzValueInfo";
constexpr const char* kNameSection = "CustomEQNameInfo";

constexpr int kFirstPresetType = 1;
constexpr int kLastPresetType = 12;
constexpr int kNoSlot = -1;

// Types 1 to 12 have a slot of their own; the others share slot 1.
int PresetSlotOf(int type)
{
    if (type == kCustomEqType)
        return kNoSlot;
    return type >= kFirstPresetType && type <= kLastPresetType ? type : kFirstPresetType;
}

bool IsCustomEq(int n)
{
    return n >= 0 && n < kMaxCustomEqualizers;
}

std::vector<int> ReadBands(Json::Value& slotList, int slot)
{
    std::vector<int> values(kEqBandCount, 0);
    const bool missing = ElementOf(slotList, static_cast<Json::ArrayIndex>(slot)).isNull();
    for (Json::ArrayIndex band = 0; band < values.size(); ++band) {
        if (missing)
            AsArray(AsArray(slotList)[slot])[band]["value"] = 0;
        else
            values[band] = IntOf(MemberOf(ElementOf(slotList[slot], band), "value"));
    }
    return values;
}

void WriteBands(Json::Value& slotList, int slot, const std::vector<int>& values)
{
    Json::Value& bands = AsArray(AsArray(slotList)[slot]);
    for (Json::ArrayIndex band = 0; band < kEqBandCount; ++band)
        AsObject(bands[band])["value"] = band < values.size() ? values[band] : 0;
}

}  // namespace

HeadsetSettings CHs6533Profiledata::ReadHeadsetSettings()
{
    const Json::Value& section = MemberOf(Entry(), "SystemSetStages");
    HeadsetSettings settings;
    for (const auto& field : kSettingKeys)
        settings.*field.member = IntOf(MemberOf(section, field.key));
    m_settings = settings;
    return settings;
}

void CHs6533Profiledata::WriteHeadsetSettings(const HeadsetSettings& settings)
{
    m_settings = settings;
    Json::Value& section = ObjectMember(EditableEntry(), "SystemSetStages");
    for (const auto& field : kSettingKeys)
        section[field.key] = settings.*field.member;
}

std::vector<int> CHs6533Profiledata::ReadEqValues(int type)
{
    const int slot = PresetSlotOf(type);
    if (slot == kNoSlot)
        return {};
    return ReadBands(AsObject(EditableEntry())[kPresetSection], slot);
}

void CHs6533Profiledata::WriteEqValues(int type, const std::vector<int>& values)
{
    const int slot = PresetSlotOf(type);
    if (slot != kNoSlot)
        WriteBands(AsObject(EditableEntry())[kPresetSection], slot, values);
}

std::vector<std::wstring> CHs6533Profiledata::ReadCustomEqNames()
{
    const Json::Value& list = MemberOf(Entry(), kNameSection);
    std::vector<std::wstring> names;
    for (Json::ArrayIndex i = 0; list.isArray() && i < list.size(); ++i)
        names.push_back(Utf8ToWide(TextOf(MemberOf(list[i], "Name"))));
    return names;
}

void CHs6533Profiledata::WriteCustomEqNames(const std::vector<std::wstring>& names)
{
    Json::Value list(Json::arrayValue);
    for (const auto& name : names) {
        Json::Value item(Json::objectValue);
        item["Name"] = WideToUtf8(name);
        list.append(std::move(item));
    }
    EditableEntry()[kNameSection] = std::move(list);
}

std::vector<int> CHs6533Profiledata::ReadCustomEqValues(int n)
{
    if (!IsCustomEq(n))
        return std::vector<int>(kEqBandCount, 0);
    return ReadBands(AsObject(EditableEntry())[kCustomSection], n);
}

void CHs6533Profiledata::WriteCustomEqValues(int n, const std::vector<int>& values)
{
    if (IsCustomEq(n))
        WriteBands(AsObject(EditableEntry())[kCustomSection], n, values);
}
