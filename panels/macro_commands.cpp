#include "panels/macro_commands.h"

#include "panels/macro_key_tables.h"
#include "profiles/basic_profiledata.h"
#include "profiles/profile_list.h"

#include <algorithm>

namespace {

struct NamedCapture {
    const char* name;
    MacroCaptureCommand command;
};

constexpr NamedCapture kCaptureCommands[] = {
    {"macro_btn_starredio", {CaptureTarget::kAppend, DelayChoice::kByOption}},
    {"redio_previous_record_time", {CaptureTarget::kBefore, DelayChoice::kByOption}},
    {"redio_previous_constant_time", {CaptureTarget::kBefore, DelayChoice::kConstant}},
    {"redio_previous_ignore_time", {CaptureTarget::kBefore, DelayChoice::kIgnored}},
    {"redio_later_record_time", {CaptureTarget::kAfter, DelayChoice::kByOption}},
    {"redio_later_constant_time", {CaptureTarget::kAfter, DelayChoice::kConstant}},
    {"redio_later_ignore_time", {CaptureTarget::kAfter, DelayChoice::kIgnored}},
    {"macro_action_edit", {CaptureTarget::kReplace, DelayChoice::kIgnored}},
};

struct NamedButton {
    const char* prefix;  // menu items prefix + "_down", "_up", "_click"
    uint32_t down;
    uint32_t up;
    int variant;
};

constexpr NamedButton kMenuButtons[] = {
    {"left", kLeftDown, kLeftUp, 0},       {"right", kRightDown, kRightUp, 0},
    {"middle", kMiddleDown, kMiddleUp, 0}, {"forward", kExtraDown, kExtraUp, 0},
    {"back", kExtraDown, kExtraUp, 1},
};

struct NamedMove {
    const char* button;
    const char* distanceEdit;
};

// In the variant order of a movement: left, right, up, down.
constexpr NamedMove kMoveButtons[] = {
    {"macro_inset_moveleftkey_btn", "mouse_x_left_edit"},
    {"macro_inset_moverightkey_btn", "mouse_x_right_edit"},
    {"macro_inset_moveupkey_btn", "mouse_y_up_edit"},
    {"macro_inset_movedownkey_btn", "mouse_y_down_edit"},
};

std::optional<MouseInsertCommand> ButtonInsertOf(std::string_view name)
{
    for (const NamedButton& button : kMenuButtons) {
        const std::string prefix = std::string(button.prefix) + "_";
        if (name.substr(0, prefix.size()) != prefix)
            continue;
        const std::string_view kind = name.substr(prefix.size());
        if (kind == "down")
            return MouseInsertCommand{{button.down}, button.variant, nullptr};
        if (kind == "up")
            return MouseInsertCommand{{button.up}, button.variant, nullptr};
        if (kind == "click")
            return MouseInsertCommand{{button.down, button.up}, button.variant, nullptr};
    }
    return std::nullopt;
}

}  // namespace

DelayMode DelayModeOf(DelayChoice choice, bool constantChosen)
{
    switch (choice) {
    case DelayChoice::kByOption:
        return constantChosen ? DelayMode::kConstant : DelayMode::kRecorded;
    case DelayChoice::kConstant:
        return DelayMode::kConstant;
    case DelayChoice::kIgnored:
        break;
    }
    return DelayMode::kIgnored;
}

std::optional<MacroCaptureCommand> CaptureCommandOf(std::string_view name)
{
    for (const NamedCapture& capture : kCaptureCommands)
        if (name == capture.name)
            return capture.command;
    return std::nullopt;
}

std::optional<MouseInsertCommand> MouseInsertCommandOf(std::string_view name)
{
    for (size_t variant = 0; variant < std::size(kMoveButtons); ++variant)
        if (name == kMoveButtons[variant].button)
            return MouseInsertCommand{{kMouseMove}, static_cast<int>(variant), kMoveButtons[variant].distanceEdit};
    return ButtonInsertOf(name);
}

MacroDeletion DeleteMacroFromFamily(CMacroLibrary& library, size_t index, const std::string& profileFolder,
                                    const std::string& defaultProfilePath, const std::function<bool()>& confirmInUse)
{
    CProfileList profiles;
    profiles.SetPaths(profileFolder, defaultProfilePath);
    profiles.InitProfiles();
    const std::string currentPath = profiles.GetCurrentProfilePath();
    std::vector<std::string> otherPaths;
    for (int i = 0; i < profiles.GetProfileCount(); ++i)
        if (profiles.GetProfilePathAt(i) != currentPath)
            otherPaths.push_back(profiles.GetProfilePathAt(i));

    CBasicProfiledata profile;
    profile.LoadOtherProfile(currentPath);
    std::vector<KeyListEntry> currentKeys = profile.ReadOtherKeyList();
    MacroDeletion deletion =
        DeleteMacroAndRepairBindings(library, index, profile, otherPaths, currentKeys, confirmInUse);
    if (deletion.currentKeysChanged) {
        profile.LoadOtherProfile(currentPath);
        profile.WriteOtherKeyList(currentKeys);
        if (!profile.SaveOther(currentPath))
            deletion.unsavedProfiles.push_back(currentPath);
    }
    return deletion;
}
