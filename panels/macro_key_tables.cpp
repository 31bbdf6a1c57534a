#include "panels/macro_key_tables.h"

#include "panels/macro_event.h"

#include <array>

namespace {

// text id, virtual key, modifier bit, usage, scan code, extended
constexpr MacroKeyRow kKeys[] = {
    {"keyboard_key_LCtrl", 0xA2, 0x01, 0, 0x1D, 0},
    {"keyboard_key_LShift", 0xA0, 0x02, 0, 0x2A, 0},
    {"keyboard_key_LAlt", 0xA4, 0x04, 0, 0x38, 0},
    {"keyboard_key_LWin", 0x5B, 0x08, 0, 0x5B, 1},
    {"keyboard_key_RCtrl", 0xA3, 0x10, 0, 0x1D, 1},
    {"keyboard_key_RShift", 0xA1, 0x20, 0, 0x36, 1},
    {"keyboard_key_RAlt", 0xA5, 0x40, 0, 0x38, 1},
    {"keyboard_key_RWin", 0x5C, 0x80, 0, 0x5C, 1},
    {"keyboard_key_A", 0x41, 0, 0x04, 0x1E, 0},
    {"keyboard_key_B", 0x42, 0, 0x05, 0x30, 0},
    {"keyboard_key_C", 0x43, 0, 0x06, 0x2E, 0},
    {"keyboard_key_D", 0x44, 0, 0x07, 0x20, 0},
    {"keyboard_key_E", 0x45, 0, 0x08, 0x12, 0},
    {"keyboard_key_F", 0x46, 0, 0x09, 0x21, 0},
    {"keyboard_key_G", 0x47, 0, 0x0A, 0x22, 0},
    {"keyboard_key_H", 0x48, 0, 0x0B, 0x23, 0},
    {"keyboard_key_I", 0x49, 0, 0x0C, 0x17, 0},
    {"keyboard_key_J", 0x4A, 0, 0x0D, 0x24, 0},
    {"keyboard_key_K", 0x4B, 0, 0x0E, 0x25, 0},
    {"keyboard_key_L", 0x4C, 0, 0x0F, 0x26, 0},
    {"keyboard_key_M", 0x4D, 0, 0x10, 0x32, 0},
    {"keyboard_key_N", 0x4E, 0, 0x11, 0x31, 0},
    {"keyboard_key_O", 0x4F, 0, 0x12, 0x18, 0},
    {"keyboard_key_P", 0x50, 0, 0x13, 0x19, 0},
    {"keyboard_key_Q", 0x51, 0, 0x14, 0x10, 0},
    {"keyboard_key_R", 0x52, 0, 0x15, 0x13, 0},
    {"keyboard_key_S", 0x53, 0, 0x16, 0x1F, 0},
    {"keyboard_key_T", 0x54, 0, 0x17, 0x14, 0},
    {"keyboard_key_U", 0x55, 0, 0x18, 0x16, 0},
    {"keyboard_key_V", 0x56, 0, 0x19, 0x2F, 0},
    {"keyboard_key_W", 0x57, 0, 0x1A, 0x11, 0},
    {"keyboard_key_X", 0x58, 0, 0x1B, 0x2D, 0},
    {"keyboard_key_Y", 0x59, 0, 0x1C, 0x15, 0},
    {"keyboard_key_Z", 0x5A, 0, 0x1D, 0x2C, 0},
    {"keyboard_key_1", 0x31, 0, 0x1E, 0x02, 0},
    {"keyboard_key_2", 0x32, 0, 0x1F, 0x03, 0},
    {"keyboard_key_3", 0x33, 0, 0x20, 0x04, 0},
    {"keyboard_key_4", 0x34, 0, 0x21, 0x05, 0},
    {"keyboard_key_5", 0x35, 0, 0x22, 0x06, 0},
    {"keyboard_key_6", 0x36, 0, 0x23, 0x07, 0},
    {"keyboard_key_7", 0x37, 0, 0x24, 0x08, 0},
    {"keyboard_key_8", 0x38, 0, 0x25, 0x09, 0},
    {"keyboard_key_9", 0x39, 0, 0x26, 0x0A, 0},
    {"keyboard_key_0", 0x30, 0, 0x27, 0x0B, 0},
    {"keyboard_key_Enter", 0x0D, 0, 0x28, 0x1C, 0},
    {"keyboard_key_Esc", 0x1B, 0, 0x29, 0x01, 0},
    {"keyboard_key_BackSpace", 0x08, 0, 0x2A, 0x0E, 0},
    {"keyboard_key_Tab", 0x09, 0, 0x2B, 0x0F, 0},
    {"keyboard_key_Space", 0x20, 0, 0x2C, 0x39, 0},
    {"keyboard_key_-", 0xBD, 0, 0x2D, 0x0C, 0},
    {"keyboard_key_=", 0xBB, 0, 0x2E, 0x0D, 0},
    {"keyboard_key_[", 0xDB, 0, 0x2F, 0x1A, 0},
    {"keyboard_key_]", 0xDD, 0, 0x30, 0x1B, 0},
    {"keyboard_key_xiegang", 0xDC, 0, 0x31, 0x2B, 0},
    {"keyboard_key_;", 0xBA, 0, 0x33, 0x27, 0},
    {"keyboard_key_'", 0xDE, 0, 0x34, 0x28, 0},
    {"keyboard_key_`", 0xC0, 0, 0x35, 0x29, 0},
    {"keyboard_key_<", 0xBC, 0, 0x36, 0x33, 0},
    {"keyboard_key_.", 0xBE, 0, 0x37, 0x34, 0},
    {"keyboard_key_/", 0xBF, 0, 0x38, 0x35, 0},
    {"keyboard_key_Caplk", 0x14, 0, 0x39, 0x3A, 0},
    {"keyboard_key_F1", 0x70, 0, 0x3A, 0x3B, 0},
    {"keyboard_key_F2", 0x71, 0, 0x3B, 0x3C, 0},
    {"keyboard_key_F3", 0x72, 0, 0x3C, 0x3D, 0},
    {"keyboard_key_F4", 0x73, 0, 0x3D, 0x3E, 0},
    {"keyboard_key_F5", 0x74, 0, 0x3E, 0x3F, 0},
    {"keyboard_key_F6", 0x75, 0, 0x3F, 0x40, 0},
    {"keyboard_key_F7", 0x76, 0, 0x40, 0x41, 0},
    {"keyboard_key_F8", 0x77, 0, 0x41, 0x42, 0},
    {"keyboard_key_F9", 0x78, 0, 0x42, 0x43, 0},
    {"keyboard_key_F10", 0x79, 0, 0x43, 0x44, 0},
    {"keyboard_key_F11", 0x7A, 0, 0x44, 0x57, 0},
    {"keyboard_key_F12", 0x7B, 0, 0x45, 0x58, 0},
    {"keyboard_key_Print Scr", 0x2C, 0, 0x46, 0x37, 1},
    {"keyboard_key_Scroll Lock", 0x91, 0, 0x47, 0x46, 0},
    {"keyboard_key_Pause", 0x13, 0, 0x48, 0x45, 0},
    {"keyboard_key_Insert", 0x2D, 0, 0x49, 0x52, 1},
    {"keyboard_key_Home", 0x24, 0, 0x4A, 0x47, 1},
    {"keyboard_key_Page Up", 0x21, 0, 0x4B, 0x49, 1},
    {"keyboard_key_Delete", 0x2E, 0, 0x4C, 0x53, 1},
    {"keyboard_key_End", 0x23, 0, 0x4D, 0x4F, 1},
    {"keyboard_key_Page Down", 0x22, 0, 0x4E, 0x51, 1},
    {"keyboard_key_Right", 0x27, 0, 0x4F, 0x4D, 1},
    {"keyboard_key_Left", 0x25, 0, 0x50, 0x4B, 1},
    {"keyboard_key_Down", 0x28, 0, 0x51, 0x50, 1},
    {"keyboard_key_Up", 0x26, 0, 0x52, 0x48, 1},
    {"keyboard_key_Num Lock", 0x90, 0, 0x53, 0x45, 1},
    {"keyboard_key_Num /", 0x6F, 0, 0x54, 0x35, 1},
    {"keyboard_key_Num *", 0x6A, 0, 0x55, 0x37, 0},
    {"keyboard_key_Num -", 0x6D, 0, 0x56, 0x4A, 0},
    {"keyboard_key_Num +", 0x6B, 0, 0x57, 0x4E, 0},
    {"keyboard_key_Num Enter", 0x0D, 0, 0x58, 0x1C, 1},
    {"keyboard_key_Num 1", 0x61, 0, 0x59, 0x4F, 0},
    {"keyboard_key_Num 2", 0x62, 0, 0x5A, 0x50, 0},
    {"keyboard_key_Num 3", 0x63, 0, 0x5B, 0x51, 0},
    {"keyboard_key_Num 4", 0x64, 0, 0x5C, 0x4B, 0},
    {"keyboard_key_Num 5", 0x65, 0, 0x5D, 0x4C, 0},
    {"keyboard_key_Num 6", 0x66, 0, 0x5E, 0x4D, 0},
    {"keyboard_key_Num 7", 0x67, 0, 0x5F, 0x47, 0},
    {"keyboard_key_Num 8", 0x68, 0, 0x60, 0x48, 0},
    {"keyboard_key_Num 9", 0x69, 0, 0x61, 0x49, 0},
    {"keyboard_key_Num 0", 0x60, 0, 0x62, 0x52, 0},
    {"keyboard_key_Decimal", 0x6E, 0, 0x63, 0x53, 0},
    {"keyboard_key_App", 0x5D, 0, 0x65, 0x5D, 1},
    {"keyboard_key_K45", 0xE2, 0, 0x64, 0x56, 0},
    {"keyboard_key_K56", 0xC1, 0, 0x87, 0x73, 0},
    {"keyboard_key_K14", 0xDC, 0, 0x89, 0x7D, 0},
    {"keyboard_key_K107", 0xC2, 0, 0x85, 0x7E, 0},
    {"keyboard_key_K131", 0x1D, 0, 0x8B, 0x7B, 0},
    {"keyboard_key_K132", 0x1C, 0, 0x8A, 0x79, 0},
    {"keyboard_key_K133", 0x15, 0, 0x88, 0x70, 0},
    {"keyboard_key_K150", 0x19, 0, 0x91, 0xF1, 0},
    {"keyboard_key_K151", 0x15, 0, 0x90, 0xF2, 0},
    // Its scan code is the backslash key's, so it is named but not captured.
    {"keyboard_key_K42", 0xDC, 0, 0x32, 0, 0},
};

// message, button, flags, text id
constexpr MouseActionRow kMouseActions[] = {
    {kLeftDown, 0x01, 0x81, "mouse_key_left"},
    {kLeftUp, 0x01, 0x01, "mouse_key_left"},
    {kRightDown, 0x02, 0x81, "mouse_key_right"},
    {kRightUp, 0x02, 0x01, "mouse_key_right"},
    {kMiddleDown, 0x04, 0x81, "mouse_key_middle"},
    {kMiddleUp, 0x04, 0x01, "mouse_key_middle"},
    {kExtraDown, 0x10, 0x81, "mouse_key_forward"},
    {kExtraUp, 0x10, 0x01, "mouse_key_forward"},
    {kExtraDown, 0x08, 0x81, "mouse_key_back"},
    {kExtraUp, 0x08, 0x01, "mouse_key_back"},
    {0x0004, 0, 0x84, "mouse_move_to_left_text"},
    {0x0004, 0, 0x04, "mouse_move_to_right_text"},
    {0x0005, 0, 0x85, "mouse_move_to_up_text"},
    {0x0005, 0, 0x05, "mouse_move_to_down_text"},
};

constexpr size_t kSecondExtraRow = 6;
constexpr size_t kFirstExtraRow = 8;
constexpr size_t kPlainButtonRows = 6;

}  // namespace

std::span<const MacroKeyRow> MacroKeyTable()
{
    return kKeys;
}

std::span<const MouseActionRow> MouseActionTable()
{
    return kMouseActions;
}

const MacroKeyRow* FindKeyByScanCode(uint32_t scanCode, bool extended)
{
    for (const MacroKeyRow& row : kKeys)
        if (row.scanCode != 0 && row.scanCode == scanCode && (row.extended != 0) == extended)
            return &row;
    return nullptr;
}

const MacroKeyRow* FindKeyByVirtualKey(uint32_t virtualKey, bool extended)
{
    const MacroKeyRow* any = nullptr;
    for (const MacroKeyRow& row : kKeys) {
        if (row.virtualKey != virtualKey || row.scanCode == 0)
            continue;
        if ((row.extended != 0) == extended)
            return &row;
        if (any == nullptr)
            any = &row;
    }
    return any;
}

const MacroKeyRow* FindKeyOfStep(int type, int button)
{
    for (size_t i = 0; i < std::size(kKeys); ++i) {
        const MacroKeyRow& row = kKeys[i];
        const bool modifier = i < kMacroModifierRows;
        if ((type == kMacroModifierKey && modifier && row.modifierBit == button) ||
            (type == kMacroKey && !modifier && row.usage == button))
            return &row;
    }
    return nullptr;
}

const MouseActionRow* FindMouseAction(uint32_t message, uint32_t extraButton)
{
    for (size_t i = 0; i < kPlainButtonRows; ++i)
        if (kMouseActions[i].message == message)
            return &kMouseActions[i];
    if (message != kExtraDown && message != kExtraUp)
        return nullptr;
    const size_t up = message == kExtraUp ? 1 : 0;
    if (extraButton == kSecondExtraButton)
        return &kMouseActions[kSecondExtraRow + up];
    if (extraButton == kFirstExtraButton)
        return &kMouseActions[kFirstExtraRow + up];
    return nullptr;
}
