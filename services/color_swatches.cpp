#include "services/color_swatches.h"

#include "platform/trace.h"
#include "profiles/json_file.h"
#include "profiles/profile_paths.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

constexpr const char* kRoot = "coloroptioninfo";
constexpr const char* kPresets = "palletDialogcoloroption";
constexpr const char* kPresetSelection = "palletDialogcoloroption_selectitem";
constexpr const char* kUserSwatches = "palletDialogcollectcoloroption";
constexpr const char* kUserSelection = "palletDialogcollectcoloroption_selectitem";
constexpr const char* kColor = "color";
constexpr const char* kUserData = "UserData";

const Json::Value& Member(const Json::Value& value, const char* name)
{
    static const Json::Value kNone;
    return value.isObject() ? value[name] : kNone;
}

// The member as an object or array of the given type; whatever else it held
// (a damaged file) is replaced.
Json::Value& Shaped(Json::Value& parent, const char* name, Json::ValueType type)
{
    Json::Value& member = parent[name];
    if (member.type() != type)
        member = Json::Value(type);
    return member;
}

Json::Value& Shaped(Json::Value& parent, Json::ArrayIndex index)
{
    Json::Value& element = parent[index];
    if (!element.isObject())
        element = Json::Value(Json::objectValue);
    return element;
}

}  // namespace

std::string ColorToHexText(uint32_t argb)
{
    char text[9];
    std::snprintf(text, sizeof text, "%08X", argb);
    return text;
}

uint32_t ColorFromHexText(const std::string& text)
{
    return static_cast<uint32_t>(std::strtoul(text.c_str(), nullptr, 16));
}

bool HoldsColor(const std::string& userData)
{
    return userData == "1";
}

CColorSwatchFile::CColorSwatchFile(std::string userPath, std::string defaultPath)
    : user_(std::move(userPath)), default_(std::move(defaultPath))
{
}

CColorSwatchFile CColorSwatchFile::Standard()
{
    // The profile folder of no family is the user data folder itself.
    return {GetProfileDirectory({}) + kSwatchFileName, GetDefaultDataDirectory() + kSwatchFileName};
}

void CColorSwatchFile::PrepareUserFile() const
{
    if (ReadJsonFile(user_).isNull() && WriteJsonFile(user_, ReadJsonFile(default_)) != 0)
        TraceF("colour swatch file %s not written", user_.c_str());
}

std::optional<int> CColorSwatchFile::SelectedPreset() const
{
    const Json::Value document = ReadJsonFile(user_);
    const Json::Value& selected = Member(Member(document, kRoot), kPresetSelection);
    return selected.isInt() ? std::optional(selected.asInt()) : std::nullopt;
}

std::map<int, UserSwatch> CColorSwatchFile::UserSwatches() const
{
    const Json::Value document = ReadJsonFile(user_);
    const Json::Value& list = Member(Member(document, kRoot), kUserSwatches);
    std::map<int, UserSwatch> swatches;
    for (int i = 0; list.isArray() && i < kSwatchCount && i < static_cast<int>(list.size()); ++i) {
        const Json::Value& entry = list[static_cast<Json::ArrayIndex>(i)];
        const Json::Value& color = Member(entry, kColor);
        const Json::Value& data = Member(entry, kUserData);
        if (color.isString())
            swatches[i] = {ColorFromHexText(color.asString()), data.isString() ? data.asString() : std::string()};
    }
    return swatches;
}

bool CColorSwatchFile::HasUserSelection() const
{
    const Json::Value document = ReadJsonFile(user_);
    return !Member(Member(document, kRoot), kUserSelection).isNull();
}

bool CColorSwatchFile::SavePresets(const std::map<int, uint32_t>& colors, int selected) const
{
    Json::Value document = ReadJsonFile(user_);
    if (!document.isObject())
        document = Json::Value(Json::objectValue);
    Json::Value& root = Shaped(document, kRoot, Json::objectValue);
    Json::Value& list = Shaped(root, kPresets, Json::arrayValue);
    for (const auto& [index, color] : colors)
        Shaped(list, static_cast<Json::ArrayIndex>(index))[kColor] = ColorToHexText(color);
    root[kPresetSelection] = selected;
    return WriteJsonFile(user_, document) == 0;
}

bool CColorSwatchFile::SaveUserSwatches(const std::map<int, UserSwatch>& swatches, int selected) const
{
    Json::Value document = ReadJsonFile(user_);
    if (!document.isObject())
        document = Json::Value(Json::objectValue);
    Json::Value& root = Shaped(document, kRoot, Json::objectValue);
    Json::Value& list = Shaped(root, kUserSwatches, Json::arrayValue);
    for (const auto& [index, swatch] : swatches) {
        Json::Value& entry = Shaped(list, static_cast<Json::ArrayIndex>(index));
        entry[kColor] = ColorToHexText(swatch.color);
        entry[kUserData] = swatch.userData;
    }
    root[kUserSelection] = selected;
    return WriteJsonFile(user_, document) == 0;
}
