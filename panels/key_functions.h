#pragma once
// What a button or key does: the three-byte key-function code, the tables of
// codes the key panel offers, each row with its text identifier, and the
// text a key list shows for a code.

#include "profiles/records.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The first byte of a code.
enum KeyFunctionType : uint8_t {
    kFunctionNone = 0x00,
    kFunctionMouseButton = 0x10,
    kFunctionHorizontalSwing = 0x11,
    kFunctionWheel = 0x12,
    kFunctionDpi = 0x13,
    kFunctionFire = 0x14,
    kFunctionDpiShift = 0x16,
    kFunctionKeyboard = 0x20,
    kFunctionShortcut = 0x22,
    kFunctionShowWindow = 0x23,
    kFunctionConsumer = 0x30,
    kFunctionSystem = 0x40,
    kFunctionMacroRepeatMode = 0x70,
    kFunctionMacroRepeatCount = 0x71,
    kFunctionRecoil = 0x72,
    kFunctionSpecial = 0xA0,
    kFunctionCombination = 0xB0,
    kFunctionKeyboardMacro = 0xD0,
};

// Mouse buttons in the HID button order the device uses.
inline constexpr uint8_t kMouseButtonLeft = 0x01;
inline constexpr uint8_t kMouseButtonRight = 0x02;
inline constexpr uint8_t kMouseButtonMiddle = 0x04;
inline constexpr uint8_t kMouseButtonBack = 0x08;
inline constexpr uint8_t kMouseButtonForward = 0x10;

// Swing and wheel: second byte count << 4 | delay; third byte bit 7 the
// direction (right, down).
inline constexpr uint8_t kDirectionBit = 0x80;
inline constexpr uint8_t kMinFireInterval = 10;

struct KeyCodeRow {
    uint16_t value;  // the Windows virtual-key code of keyboard rows, else the row number
    KeyFunctionCode code;
    const char* textId;
};
using KeyCodeTable = std::span<const KeyCodeRow>;

// The panel's and the key lists' mouse buttons.
KeyCodeTable MouseButtonTable();
// The functions the mouse page offers for a button.
KeyCodeTable MouseFunctionTable();
KeyCodeTable DpiTable();
KeyCodeTable SystemTable();
// Editing shortcuts by number (type 0x22).
KeyCodeTable ShortcutTable();
// The same shortcuts as Ctrl + key, and zoom.
KeyCodeTable KeyCombinationTable();
// Consumer usages: second byte the low byte, third the high byte.
KeyCodeTable MediaTable();
// Modifiers, keys, consumer and system keys, the keyboard's own keys.
KeyCodeTable KeyboardTable();
inline constexpr size_t kKeyboardModifierRows = 8;

// The first row holding exactly this code, or null.
const KeyCodeRow* FindRowByCode(KeyCodeTable table, KeyFunctionCode code);
// The first row with this text identifier, or null.
const KeyCodeRow* FindRowByText(KeyCodeTable table, std::string_view textId);

// The text identifiers a key list shows for a code, to be translated and
// joined with "+"; empty for a macro (its name is shown) and for codes no
// table knows.
std::vector<const char*> KeyFunctionTextIds(KeyFunctionCode code);

// The key list's text: translated identifiers joined with "+", or for a
// macro code the macro's name.
std::string KeyFunctionText(KeyFunctionCode code, const std::function<std::string(const char*)>& translate,
                            const std::function<std::string(int macroNumber)>& macroName);
