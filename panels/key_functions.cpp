#include "panels/key_functions.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr KeyCodeRow kMouseButtons[] = {
    {0, {kFunctionMouseButton, kMouseButtonLeft, 0}, "mouse_key_left"},
    {1, {kFunctionMouseButton, kMouseButtonMiddle, 0}, "mouse_key_middle"},
    {2, {kFunctionMouseButton, kMouseButtonRight, 0}, "mouse_key_right"},
    {3, {kFunctionMouseButton, kMouseButtonForward, 0}, "mouse_key_forward"},
    {4, {kFunctionMouseButton, kMouseButtonBack, 0}, "mouse_key_back"},
};

constexpr KeyCodeRow kMouseFunctions[] = {
    {0, {kFunctionMouseButton, kMouseButtonLeft, 0}, "mouse_key_left"},
    {1, {kFunctionMouseButton, kMouseButtonMiddle, 0}, "mouse_key_middle"},
    {2, {kFunctionMouseButton, kMouseButtonRight, 0}, "mouse_key_right"},
    {3, {kFunctionMouseButton, kMouseButtonForward, 0}, "mouse_key_forward"},
    {4, {kFunctionMouseButton, kMouseButtonBack, 0}, "mouse_key_back"},
    {5, {kFunctionFire, 0x50, 0x02}, "mouse_key_fire_key"},
    {6, {kFunctionKeyboard, 0, 0}, "mouse_key_shortcut_key"},
    {7, {kFunctionKeyboard, 0x80, 0}, "win_key_text"},
    {8, {kFunctionSpecial, 0x02, 0}, "mouse_key_smart_key"},
    {9, {kFunctionSpecial, 0, 0}, "close_text"},
    {10, {kFunctionDpi, 0x03, 0}, "mouse_key_DPI_loop"},
    {11, {kFunctionDpi, 0x01, 0}, "mouse_key_DPI_add"},
    {12, {kFunctionDpi, 0x02, 0}, "mouse_key_DPI_sub"},
    {13, {kFunctionDpiShift, 0, 0}, "mouse_key_DPI_shift"},
    {14, {kFunctionShowWindow, 0, 0}, "show_window"},
};

constexpr KeyCodeRow kDpiFunctions[] = {
    {0, {kFunctionDpi, 0x01, 0}, "mouse_key_DPI_add"},
    {1, {kFunctionDpi, 0x02, 0}, "mouse_key_DPI_sub"},
    {2, {kFunctionDpi, 0x03, 0}, "mouse_key_DPI_loop"},
};

constexpr KeyCodeRow kSystemFunctions[] = {
    {0, {kFunctionSystem, 0x01, 0}, "system_power"},
    {1, {kFunctionSystem, 0x02, 0}, "system_sleep"},
    {2, {kFunctionSystem, 0x04, 0}, "system_wake_up"},
};

constexpr KeyCodeRow kShortcuts[] = {
    {0, {kFunctionShortcut, 0, 0}, "custem_cut"},   {1, {kFunctionShortcut, 0, 1}, "custem_copy"},
    {2, {kFunctionShortcut, 0, 2}, "custem_paste"}, {3, {kFunctionShortcut, 0, 3}, "custem_undo"},
    {4, {kFunctionShortcut, 0, 4}, "custem_select_all"}, {5, {kFunctionShortcut, 0, 5}, "custem_find"},
    {6, {kFunctionShortcut, 0, 6}, "custem_new"},   {7, {kFunctionShortcut, 0, 7}, "custem_save"},
    {8, {kFunctionShortcut, 0, 8}, "custem_open"},
};

// Ctrl (the right-hand modifier bit) with a key.
constexpr uint8_t kCtrl = 0x10;
constexpr KeyCodeRow kKeyCombinations[] = {
    {0, {kFunctionKeyboard, kCtrl, 0x12}, "custem_open"},  {1, {kFunctionKeyboard, kCtrl, 0x11}, "custem_new"},
    {2, {kFunctionKeyboard, kCtrl, 0x1D}, "custem_undo"},  {3, {kFunctionKeyboard, kCtrl, 0x16}, "custem_save"},
    {4, {kFunctionKeyboard, kCtrl, 0x06}, "custem_copy"},  {5, {kFunctionKeyboard, kCtrl, 0x1B}, "custem_cut"},
    {6, {kFunctionKeyboard, kCtrl, 0x19}, "custem_paste"}, {7, {kFunctionKeyboard, kCtrl, 0x09}, "custem_find"},
    {8, {kFunctionKeyboard, kCtrl, 0x04}, "custem_select_all"},
    {9, {kFunctionKeyboard, kCtrl, 0x2D}, "custem_narrow"},
    {10, {kFunctionKeyboard, kCtrl, 0x2E}, "custem_magnify"},
};

constexpr KeyCodeRow kMedia[] = {
    {0, {kFunctionConsumer, 0x83, 0x01}, "media_text"},     {1, {kFunctionConsumer, 0xCD, 0x00}, "media_play"},
    {2, {kFunctionConsumer, 0xB7, 0x00}, "media_stop"},     {3, {kFunctionConsumer, 0xB6, 0x00}, "media_prev"},
    {4, {kFunctionConsumer, 0xB5, 0x00}, "media_next"},     {5, {kFunctionConsumer, 0xEA, 0x00}, "media_vol_sub"},
    {6, {kFunctionConsumer, 0xE9, 0x00}, "media_vol_add"},  {7, {kFunctionConsumer, 0xE2, 0x00}, "media_mute"},
    {8, {kFunctionConsumer, 0x23, 0x02}, "web_text"},       {9, {kFunctionConsumer, 0x27, 0x02}, "web_refresh"},
    {10, {kFunctionConsumer, 0x26, 0x02}, "wed_stop"},      {11, {kFunctionConsumer, 0x24, 0x02}, "wed_back"},
    {12, {kFunctionConsumer, 0x25, 0x02}, "wed_forward"},   {13, {kFunctionConsumer, 0x2A, 0x02}, "wed_favorite"},
    {14, {kFunctionConsumer, 0x21, 0x02}, "web_search"},    {15, {kFunctionConsumer, 0x94, 0x01}, "media_mypc"},
    {16, {kFunctionConsumer, 0x92, 0x01}, "media_calc"},    {17, {kFunctionConsumer, 0x8A, 0x01}, "media_mail"},
};

// Virtual key, code, text. The capturable keys come first, in the order the
// macro recorder knows them.
constexpr KeyCodeRow kKeyboard[] = {
    {0xA2, {0x20, 0x01, 0x00}, "keyboard_key_LCtrl"},
    {0xA0, {0x20, 0x02, 0x00}, "keyboard_key_LShift"},
    {0xA4, {0x20, 0x04, 0x00}, "keyboard_key_LAlt"},
    {0x5B, {0x20, 0x08, 0x00}, "keyboard_key_LWin"},
    {0xA3, {0x20, 0x10, 0x00}, "keyboard_key_RCtrl"},
    {0xA1, {0x20, 0x20, 0x00}, "keyboard_key_RShift"},
    {0xA5, {0x20, 0x40, 0x00}, "keyboard_key_RAlt"},
    {0x5C, {0x20, 0x80, 0x00}, "keyboard_key_RWin"},
    {0x41, {0x20, 0x00, 0x04}, "keyboard_key_A"},
    {0x42, {0x20, 0x00, 0x05}, "keyboard_key_B"},
    {0x43, {0x20, 0x00, 0x06}, "keyboard_key_C"},
    {0x44, {0x20, 0x00, 0x07}, "keyboard_key_D"},
    {0x45, {0x20, 0x00, 0x08}, "keyboard_key_E"},
    {0x46, {0x20, 0x00, 0x09}, "keyboard_key_F"},
    {0x47, {0x20, 0x00, 0x0A}, "keyboard_key_G"},
    {0x48, {0x20, 0x00, 0x0B}, "keyboard_key_H"},
    {0x49, {0x20, 0x00, 0x0C}, "keyboard_key_I"},
    {0x4A, {0x20, 0x00, 0x0D}, "keyboard_key_J"},
    {0x4B, {0x20, 0x00, 0x0E}, "keyboard_key_K"},
    {0x4C, {0x20, 0x00, 0x0F}, "keyboard_key_L"},
    {0x4D, {0x20, 0x00, 0x10}, "keyboard_key_M"},
    {0x4E, {0x20, 0x00, 0x11}, "keyboard_key_N"},
    {0x4F, {0x20, 0x00, 0x12}, "keyboard_key_O"},
    {0x50, {0x20, 0x00, 0x13}, "keyboard_key_P"},
    {0x51, {0x20, 0x00, 0x14}, "keyboard_key_Q"},
    {0x52, {0x20, 0x00, 0x15}, "keyboard_key_R"},
    {0x53, {0x20, 0x00, 0x16}, "keyboard_key_S"},
    {0x54, {0x20, 0x00, 0x17}, "keyboard_key_T"},
    {0x55, {0x20, 0x00, 0x18}, "keyboard_key_U"},
    {0x56, {0x20, 0x00, 0x19}, "keyboard_key_V"},
    {0x57, {0x20, 0x00, 0x1A}, "keyboard_key_W"},
    {0x58, {0x20, 0x00, 0x1B}, "keyboard_key_X"},
    {0x59, {0x20, 0x00, 0x1C}, "keyboard_key_Y"},
    {0x5A, {0x20, 0x00, 0x1D}, "keyboard_key_Z"},
    {0x31, {0x20, 0x00, 0x1E}, "keyboard_key_1"},
    {0x32, {0x20, 0x00, 0x1F}, "keyboard_key_2"},
    {0x33, {0x20, 0x00, 0x20}, "keyboard_key_3"},
    {0x34, {0x20, 0x00, 0x21}, "keyboard_key_4"},
    {0x35, {0x20, 0x00, 0x22}, "keyboard_key_5"},
    {0x36, {0x20, 0x00, 0x23}, "keyboard_key_6"},
    {0x37, {0x20, 0x00, 0x24}, "keyboard_key_7"},
    {0x38, {0x20, 0x00, 0x25}, "keyboard_key_8"},
    {0x39, {0x20, 0x00, 0x26}, "keyboard_key_9"},
    {0x30, {0x20, 0x00, 0x27}, "keyboard_key_0"},
    {0x0D, {0x20, 0x00, 0x28}, "keyboard_key_Enter"},
    {0x1B, {0x20, 0x00, 0x29}, "keyboard_key_Esc"},
    {0x08, {0x20, 0x00, 0x2A}, "keyboard_key_BackSpace"},
    {0x09, {0x20, 0x00, 0x2B}, "keyboard_key_Tab"},
    {0x20, {0x20, 0x00, 0x2C}, "keyboard_key_Space"},
    {0xBD, {0x20, 0x00, 0x2D}, "keyboard_key_-"},
    {0xBB, {0x20, 0x00, 0x2E}, "keyboard_key_="},
    {0xDB, {0x20, 0x00, 0x2F}, "keyboard_key_["},
    {0xDD, {0x20, 0x00, 0x30}, "keyboard_key_]"},
    {0xDC, {0x20, 0x00, 0x31}, "keyboard_key_xiegang"},
    {0xBA, {0x20, 0x00, 0x33}, "keyboard_key_;"},
    {0xDE, {0x20, 0x00, 0x34}, "keyboard_key_'"},
    {0xC0, {0x20, 0x00, 0x35}, "keyboard_key_`"},
    {0xBC, {0x20, 0x00, 0x36}, "keyboard_key_<"},
    {0xBE, {0x20, 0x00, 0x37}, "keyboard_key_."},
    {0xBF, {0x20, 0x00, 0x38}, "keyboard_key_/"},
    {0x14, {0x20, 0x00, 0x39}, "keyboard_key_Caplk"},
    {0x70, {0x20, 0x00, 0x3A}, "keyboard_key_F1"},
    {0x71, {0x20, 0x00, 0x3B}, "keyboard_key_F2"},
    {0x72, {0x20, 0x00, 0x3C}, "keyboard_key_F3"},
    {0x73, {0x20, 0x00, 0x3D}, "keyboard_key_F4"},
    {0x74, {0x20, 0x00, 0x3E}, "keyboard_key_F5"},
    {0x75, {0x20, 0x00, 0x3F}, "keyboard_key_F6"},
    {0x76, {0x20, 0x00, 0x40}, "keyboard_key_F7"},
    {0x77, {0x20, 0x00, 0x41}, "keyboard_key_F8"},
    {0x78, {0x20, 0x00, 0x42}, "keyboard_key_F9"},
    {0x79, {0x20, 0x00, 0x43}, "keyboard_key_F10"},
    {0x7A, {0x20, 0x00, 0x44}, "keyboard_key_F11"},
    {0x7B, {0x20, 0x00, 0x45}, "keyboard_key_F12"},
    {0x2C, {0x20, 0x00, 0x46}, "keyboard_key_Print Scr"},
    {0x91, {0x20, 0x00, 0x47}, "keyboard_key_Scroll Lock"},
    {0x13, {0x20, 0x00, 0x48}, "keyboard_key_Pause"},
    {0x2D, {0x20, 0x00, 0x49}, "keyboard_key_Insert"},
    {0x24, {0x20, 0x00, 0x4A}, "keyboard_key_Home"},
    {0x21, {0x20, 0x00, 0x4B}, "keyboard_key_Page Up"},
    {0x2E, {0x20, 0x00, 0x4C}, "keyboard_key_Delete"},
    {0x23, {0x20, 0x00, 0x4D}, "keyboard_key_End"},
    {0x22, {0x20, 0x00, 0x4E}, "keyboard_key_Page Down"},
    {0x27, {0x20, 0x00, 0x4F}, "keyboard_key_Right"},
    {0x25, {0x20, 0x00, 0x50}, "keyboard_key_Left"},
    {0x28, {0x20, 0x00, 0x51}, "keyboard_key_Down"},
    {0x26, {0x20, 0x00, 0x52}, "keyboard_key_Up"},
    {0x90, {0x20, 0x00, 0x53}, "keyboard_key_Num Lock"},
    {0x6F, {0x20, 0x00, 0x54}, "keyboard_key_Num /"},
    {0x6A, {0x20, 0x00, 0x55}, "keyboard_key_Num *"},
    {0x6D, {0x20, 0x00, 0x56}, "keyboard_key_Num -"},
    {0x6B, {0x20, 0x00, 0x57}, "keyboard_key_Num +"},
    {0x0D, {0x20, 0x00, 0x58}, "keyboard_key_Num Enter"},
    {0x61, {0x20, 0x00, 0x59}, "keyboard_key_Num 1"},
    {0x62, {0x20, 0x00, 0x5A}, "keyboard_key_Num 2"},
    {0x63, {0x20, 0x00, 0x5B}, "keyboard_key_Num 3"},
    {0x64, {0x20, 0x00, 0x5C}, "keyboard_key_Num 4"},
    {0x65, {0x20, 0x00, 0x5D}, "keyboard_key_Num 5"},
    {0x66, {0x20, 0x00, 0x5E}, "keyboard_key_Num 6"},
    {0x67, {0x20, 0x00, 0x5F}, "keyboard_key_Num 7"},
    {0x68, {0x20, 0x00, 0x60}, "keyboard_key_Num 8"},
    {0x69, {0x20, 0x00, 0x61}, "keyboard_key_Num 9"},
    {0x60, {0x20, 0x00, 0x62}, "keyboard_key_Num 0"},
    {0x6E, {0x20, 0x00, 0x63}, "keyboard_key_Decimal"},
    {0x5D, {0x20, 0x00, 0x65}, "keyboard_key_App"},
    {0xE2, {0x20, 0x00, 0x64}, "keyboard_key_K45"},
    {0xC1, {0x20, 0x00, 0x87}, "keyboard_key_K56"},
    {0xDC, {0x20, 0x00, 0x89}, "keyboard_key_K14"},
    {0xC2, {0x20, 0x00, 0x85}, "keyboard_key_K107"},
    {0x1D, {0x20, 0x00, 0x8B}, "keyboard_key_K131"},
    {0x1C, {0x20, 0x00, 0x8A}, "keyboard_key_K132"},
    {0x15, {0x20, 0x00, 0x88}, "keyboard_key_K133"},
    {0x19, {0x20, 0x00, 0x91}, "keyboard_key_K150"},
    {0x15, {0x20, 0x00, 0x90}, "keyboard_key_K151"},
    {0xDC, {0x20, 0x00, 0x32}, "keyboard_key_K42"},
    {0xB5, {0x30, 0x83, 0x01}, "keyboard_key_MediaSelect"},
    {0xB3, {0x30, 0xCD, 0x00}, "keyboard_key_PlayPause"},
    {0xB2, {0x30, 0xB7, 0x00}, "keyboard_key_Stop"},
    {0xB1, {0x30, 0xB6, 0x00}, "keyboard_key_Prev"},
    {0xB0, {0x30, 0xB5, 0x00}, "keyboard_key_Next"},
    {0xAE, {0x30, 0xEA, 0x00}, "keyboard_key_VolDown"},
    {0xAF, {0x30, 0xE9, 0x00}, "keyboard_key_VolUp"},
    {0xAD, {0x30, 0xE2, 0x00}, "keyboard_key_Mute"},
    {0xAC, {0x30, 0x23, 0x02}, "keyboard_key_WebHome"},
    {0xA8, {0x30, 0x27, 0x02}, "keyboard_key_WebRefresh"},
    {0xA9, {0x30, 0x26, 0x02}, "keyboard_key_WebStop"},
    {0xA6, {0x30, 0x24, 0x02}, "keyboard_key_WebBack"},
    {0xA7, {0x30, 0x25, 0x02}, "keyboard_key_WebForward"},
    {0xAB, {0x30, 0x2A, 0x02}, "keyboard_key_WebFavorites"},
    {0xAA, {0x30, 0x21, 0x02}, "keyboard_key_WebSearch"},
    {0x00, {0x30, 0x94, 0x01}, "keyboard_key_MyComputer"},
    {0xB7, {0x30, 0x92, 0x01}, "keyboard_key_Calculator"},
    {0xB4, {0x30, 0x8A, 0x01}, "keyboard_key_Mail"},
    {0x00, {0x40, 0x01, 0x00}, "keyboard_key_Power"},
    {0x5F, {0x40, 0x02, 0x00}, "keyboard_key_Sleep"},
    {0x00, {0x40, 0x04, 0x00}, "keyboard_key_WakeUp"},
    {0x00, {0xD0, 0xA2, 0x01}, "keyboard_key_M1"},
    {0x00, {0xD0, 0xA2, 0x02}, "keyboard_key_M2"},
    {0x00, {0xD0, 0xA2, 0x03}, "keyboard_key_M3"},
    {0x00, {0xD0, 0xA2, 0x04}, "keyboard_key_M4"},
    {0x00, {0xD0, 0xA2, 0x05}, "keyboard_key_M5"},
    {0x00, {0xA0, 0x01, 0x00}, "keyboard_key_FN"},
    {0x00, {0xA0, 0x1B, 0x00}, "keyboard_key_GM"},
};

constexpr const char* kRecoilTexts[] = {"gun_1_txt", "gun_2_txt", "gun_3_txt", "gun_4_txt"};

struct SpecialText {
    uint8_t value;
    const char* textId;
};
constexpr SpecialText kSpecialTexts[] = {
    {0x00, "close_text"}, {0x01, "keyboard_key_FN"}, {0x02, "mouse_key_smart_key"}, {0x1B, "keyboard_key_GM"}};

// A key with modifiers: each modifier bit by its own name, then the key.
std::vector<const char*> KeyboardTextIds(KeyFunctionCode code)
{
    const KeyCodeTable table = KeyboardTable();
    if (const KeyCodeRow* row = FindRowByCode(table, code))
        return {row->textId};
    std::vector<const char*> ids;
    for (size_t i = 0; i < kKeyboardModifierRows; ++i) {
        if ((code.value1 & table[i].code.value1) != 0)
            ids.push_back(table[i].textId);
    }
    if (code.value2 != 0) {
        if (const KeyCodeRow* key = FindRowByCode(table, {kFunctionKeyboard, 0, code.value2}))
            ids.push_back(key->textId);
    }
    if (ids.empty())
        ids.push_back("close_text");
    return ids;
}

const char* SwingTextId(KeyFunctionCode code)
{
    const bool second = (code.value2 & kDirectionBit) != 0;
    if (code.type == kFunctionHorizontalSwing)
        return second ? "mouse_key_right_Swing" : "mouse_key_left_Swing";
    return second ? "mouse_key_down_Swing" : "mouse_key_up_Swing";
}

const char* SpecialTextId(uint8_t value)
{
    for (const SpecialText& special : kSpecialTexts) {
        if (special.value == value)
            return special.textId;
    }
    return nullptr;
}

const char* TableTextId(KeyCodeTable table, KeyFunctionCode code)
{
    const KeyCodeRow* row = FindRowByCode(table, code);
    return row == nullptr ? nullptr : row->textId;
}

// One text identifier for every type but the keyboard's; null when unknown.
const char* SingleTextId(KeyFunctionCode code)
{
    switch (code.type) {
    case kFunctionNone:
        return "close_text";
    case kFunctionMouseButton:
        return TableTextId(MouseButtonTable(), {code.type, code.value1, 0});
    case kFunctionHorizontalSwing:
    case kFunctionWheel:
        return SwingTextId(code);
    case kFunctionDpi:
        return TableTextId(DpiTable(), code);
    case kFunctionFire:
        return "mouse_key_fire_key";
    case kFunctionDpiShift:
        return "mouse_key_DPI_shift";
    case kFunctionShortcut:
        return TableTextId(ShortcutTable(), code);
    case kFunctionShowWindow:
        return "show_window";
    case kFunctionConsumer:
        return TableTextId(MediaTable(), code);
    case kFunctionSystem:
        return TableTextId(SystemTable(), code);
    case kFunctionRecoil:
        return code.value1 < std::size(kRecoilTexts) ? kRecoilTexts[code.value1] : nullptr;
    case kFunctionSpecial:
        return SpecialTextId(code.value1);
    case kFunctionKeyboardMacro:
        return TableTextId(KeyboardTable(), code);
    default:
        return nullptr;
    }
}

bool IsMacroCode(KeyFunctionCode code)
{
    return code.type == kFunctionMacroRepeatMode || code.type == kFunctionMacroRepeatCount;
}

}  // namespace

KeyCodeTable MouseButtonTable() { return kMouseButtons; }
KeyCodeTable MouseFunctionTable() { return kMouseFunctions; }
KeyCodeTable DpiTable() { return kDpiFunctions; }
KeyCodeTable SystemTable() { return kSystemFunctions; }
KeyCodeTable ShortcutTable() { return kShortcuts; }
KeyCodeTable KeyCombinationTable() { return kKeyCombinations; }
KeyCodeTable MediaTable() { return kMedia; }
KeyCodeTable KeyboardTable() { return kKeyboard; }

const KeyCodeRow* FindRowByCode(KeyCodeTable table, KeyFunctionCode code)
{
    const auto row = std::find_if(table.begin(), table.end(), [code](const KeyCodeRow& r) { return r.code == code; });
    return row == table.end() ? nullptr : &*row;
}

const KeyCodeRow* FindRowByText(KeyCodeTable table, std::string_view textId)
{
    const auto row = std::find_if(table.begin(), table.end(), [textId](const KeyCodeRow& r) { return r.textId == textId; });
    return row == table.end() ? nullptr : &*row;
}

std::vector<const char*> KeyFunctionTextIds(KeyFunctionCode code)
{
    if (code.type == kFunctionKeyboard)
        return KeyboardTextIds(code);
    const char* id = SingleTextId(code);
    return id == nullptr ? std::vector<const char*>() : std::vector<const char*>{id};
}

std::string KeyFunctionText(KeyFunctionCode code, const std::function<std::string(const char*)>& translate,
                            const std::function<std::string(int macroNumber)>& macroName)
{
    if (IsMacroCode(code))
        return macroName(code.value1);
    std::string text;
    for (const char* id : KeyFunctionTextIds(code)) {
        if (!text.empty())
            text += '+';
        text += translate(id);
    }
    return text;
}
