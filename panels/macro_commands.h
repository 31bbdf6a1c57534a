#pragma once
// What the macro editor's commands mean, without its widgets: the capture
// menu items, the mouse steps the menu and the movement buttons insert, and
// deleting a macro with the repair of every profile of the family.

#include "panels/macro_device.h"
#include "panels/macro_event.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// How a capture command picks the delays.
enum class DelayChoice {
    kByOption,  // constant when the fixed-delay option is chosen, else recorded
    kConstant,
    kIgnored,
};
DelayMode DelayModeOf(DelayChoice choice, bool constantChosen);

struct MacroCaptureCommand {
    CaptureTarget target;
    DelayChoice delays;
};
// The start button and the capture items of the action menu.
std::optional<MacroCaptureCommand> CaptureCommandOf(std::string_view name);

// Mouse steps inserted after the selected row: one message, or a down and an
// up message for a click; variant as InsertMouseAction takes it.
struct MouseInsertCommand {
    std::vector<uint32_t> messages;
    int variant = 0;
    const char* distanceEdit = nullptr;  // movements: the edit holding the distance
};
std::optional<MouseInsertCommand> MouseInsertCommandOf(std::string_view name);

// Deletes macro `index` of the library and repairs the key bindings of every
// profile listed in the family's "ProfileList.ini" (the current one is asked
// about through confirmInUse when its keys use the macro). Nothing changes
// when the user declines or the list file can't be written.
MacroDeletion DeleteMacroFromFamily(CMacroLibrary& library, size_t index, const std::string& profileFolder,
                                    const std::string& defaultProfilePath, const std::function<bool()>& confirmInUse);
