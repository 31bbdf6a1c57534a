#include "profiles/default_light.h"

#include "profiles/json_access.h"
#include "profiles/json_file.h"

#include <algorithm>

DefaultLightNames ReadDefaultLightNames(const std::string& path, int familySlot)
{
    const Json::Value document = ReadJsonFile(path);
    const auto slot = static_cast<Json::ArrayIndex>(familySlot);
    const Json::Value& modes = ElementOf(MemberOf(document, "DefaultLightName"), slot);
    const Json::Value& zones = ElementOf(MemberOf(document, "AreaLightName"), slot);

    DefaultLightNames names;
    for (Json::ArrayIndex i = 0; modes.isArray() && i < modes.size(); ++i) {
        names.modeNames.push_back(Utf8ToWide(TextOf(MemberOf(modes[i], "LightName"))));
        names.modeVisible.push_back(FlagOf(MemberOf(modes[i], "visible")));
        names.modeValues.push_back(IntOf(MemberOf(modes[i], "value")));
    }
    for (Json::ArrayIndex i = 0; zones.isArray() && i < zones.size(); ++i)
        names.zoneNames.push_back(Utf8ToWide(TextOf(MemberOf(zones[i], "LightName"))));
    return names;
}

int LightModeOfValue(const DefaultLightNames& names, int value)
{
    const auto found = std::find(names.modeValues.begin(), names.modeValues.end(), value);
    return found == names.modeValues.end() ? value : static_cast<int>(found - names.modeValues.begin());
}

int LightValueOfMode(const DefaultLightNames& names, int mode)
{
    if (mode < 0 || static_cast<size_t>(mode) >= names.modeValues.size())
        return mode;
    return names.modeValues[static_cast<size_t>(mode)];
}
