#pragma once
// The keys and mouse actions a macro can hold, with what the input hook
// reports for them: Windows virtual-key code, PC scan-code set 1 make code
// and extended flag (E0 keys; right Shift is listed as extended too).

#include <cstdint>
#include <span>

struct MacroKeyRow {
    const char* textId;    // "keyboard_key_..."
    uint16_t virtualKey;
    uint8_t modifierBit;   // HID modifier byte bit, modifiers only
    uint8_t usage;         // HID keyboard usage, other keys
    uint8_t scanCode;      // 0: the key cannot be captured
    uint8_t extended;
};

// The capturable keys first, in the order of the keyboard's key-function
// table: the eight modifiers, then the other keys.
std::span<const MacroKeyRow> MacroKeyTable();
constexpr size_t kMacroModifierRows = 8;

// The first row with this scan code and extended flag, or null.
const MacroKeyRow* FindKeyByScanCode(uint32_t scanCode, bool extended);
// The first row with this virtual key, preferring one with this extended flag.
const MacroKeyRow* FindKeyByVirtualKey(uint32_t virtualKey, bool extended);
// The row a step of Type 9 (modifier) or 10 (key) names, or null.
const MacroKeyRow* FindKeyOfStep(int type, int button);

// Window messages of mouse events.
enum MouseMessage : uint32_t {
    kMouseMove = 0x200,
    kLeftDown = 0x201,
    kLeftUp = 0x202,
    kRightDown = 0x204,
    kRightUp = 0x205,
    kMiddleDown = 0x207,
    kMiddleUp = 0x208,
    kWheel = 0x20A,
    kExtraDown = 0x20B,
    kExtraUp = 0x20C,
};
// The extra-button number in the high word of the mouse data.
constexpr uint32_t kFirstExtraButton = 1;   // back
constexpr uint32_t kSecondExtraButton = 2;  // forward

struct MouseActionRow {
    uint32_t message;  // a mouse message, or the step Type of a movement
    uint8_t button;    // button bit
    uint8_t flags;     // bit 7: "down"; flags & 0x7F: step Type
    const char* textId;
};
constexpr uint8_t kActionDownFlag = 0x80;

// Rows 0-9 buttons (6 and 7 the second extra button, 8 and 9 the first),
// 10-13 movements left, right, up, down.
std::span<const MouseActionRow> MouseActionTable();
constexpr size_t kMouseMoveRowFirst = 10;
constexpr size_t kMouseMoveRows = 4;

// The button row of a captured mouse message; extraButton is the high word
// of the mouse data. Null for messages a macro does not record.
const MouseActionRow* FindMouseAction(uint32_t message, uint32_t extraButton);
