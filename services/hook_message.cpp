#include "services/hook_message.h"

#include "panels/macro_key_tables.h"

#include <Qt>

namespace {

// X11 key codes are the kernel's key codes plus 8; kernel codes 1 to 88 are
// the set 1 scan codes themselves.
constexpr uint32_t kX11KeyCodeOffset = 8;
constexpr uint32_t kLastDirectKernelCode = 88;
constexpr uint32_t kKernelRightShift = 54;
constexpr uint32_t kKernelNumLock = 69;

struct KernelKey {
    uint32_t kernelCode;
    uint8_t scanCode;
    uint8_t extended;
};

// Kernel codes above 88 that a macro can hold.
constexpr KernelKey kKernelKeys[] = {
    {89, 0x73, 0},   // RO (K56)
    {92, 0x79, 0},   // HENKAN (K132)
    {93, 0x70, 0},   // KATAKANAHIRAGANA (K133)
    {94, 0x7B, 0},   // MUHENKAN (K131)
    {96, 0x1C, 1},   // KPENTER
    {97, 0x1D, 1},   // RIGHTCTRL
    {98, 0x35, 1},   // KPSLASH
    {99, 0x37, 1},   // SYSRQ (Print Screen)
    {100, 0x38, 1},  // RIGHTALT
    {102, 0x47, 1},  // HOME
    {103, 0x48, 1},  // UP
    {104, 0x49, 1},  // PAGEUP
    {105, 0x4B, 1},  // LEFT
    {106, 0x4D, 1},  // RIGHT
    {107, 0x4F, 1},  // END
    {108, 0x50, 1},  // DOWN
    {109, 0x51, 1},  // PAGEDOWN
    {110, 0x52, 1},  // INSERT
    {111, 0x53, 1},  // DELETE
    {119, 0x45, 0},  // PAUSE
    {121, 0x7E, 0},  // KPCOMMA (K107)
    {122, 0xF2, 0},  // HANGEUL (K151)
    {123, 0xF1, 0},  // HANJA (K150)
    {124, 0x7D, 0},  // YEN (K14)
    {125, 0x5B, 1},  // LEFTMETA
    {126, 0x5C, 1},  // RIGHTMETA
    {127, 0x5D, 1},  // COMPOSE (App)
};

struct QtKeyCode {
    int qtKey;
    uint16_t virtualKey;
};

// Keys by the toolkit's key code, for platforms without native codes. Shifted
// symbols name the key they are typed on.
constexpr QtKeyCode kQtKeys[] = {
    {Qt::Key_Escape, 0x1B}, {Qt::Key_Tab, 0x09}, {Qt::Key_Backtab, 0x09}, {Qt::Key_Backspace, 0x08},
    {Qt::Key_Return, 0x0D}, {Qt::Key_Insert, 0x2D}, {Qt::Key_Delete, 0x2E}, {Qt::Key_Pause, 0x13},
    {Qt::Key_Print, 0x2C}, {Qt::Key_Home, 0x24}, {Qt::Key_End, 0x23}, {Qt::Key_Left, 0x25},
    {Qt::Key_Up, 0x26}, {Qt::Key_Right, 0x27}, {Qt::Key_Down, 0x28}, {Qt::Key_PageUp, 0x21},
    {Qt::Key_PageDown, 0x22}, {Qt::Key_Shift, 0xA0}, {Qt::Key_Control, 0xA2}, {Qt::Key_Meta, 0x5B},
    {Qt::Key_Alt, 0xA4}, {Qt::Key_AltGr, 0xA5}, {Qt::Key_CapsLock, 0x14}, {Qt::Key_NumLock, 0x90},
    {Qt::Key_ScrollLock, 0x91}, {Qt::Key_Menu, 0x5D}, {Qt::Key_Space, 0x20},
    {Qt::Key_Minus, 0xBD}, {Qt::Key_Underscore, 0xBD}, {Qt::Key_Equal, 0xBB}, {Qt::Key_Plus, 0xBB},
    {Qt::Key_BracketLeft, 0xDB}, {Qt::Key_BraceLeft, 0xDB}, {Qt::Key_BracketRight, 0xDD},
    {Qt::Key_BraceRight, 0xDD}, {Qt::Key_Backslash, 0xDC}, {Qt::Key_Bar, 0xDC}, {Qt::Key_Semicolon, 0xBA},
    {Qt::Key_Colon, 0xBA}, {Qt::Key_Apostrophe, 0xDE}, {Qt::Key_QuoteDbl, 0xDE}, {Qt::Key_QuoteLeft, 0xC0},
    {Qt::Key_AsciiTilde, 0xC0}, {Qt::Key_Comma, 0xBC}, {Qt::Key_Less, 0xBC}, {Qt::Key_Period, 0xBE},
    {Qt::Key_Greater, 0xBE}, {Qt::Key_Slash, 0xBF}, {Qt::Key_Question, 0xBF},
    {Qt::Key_Exclam, 0x31}, {Qt::Key_At, 0x32}, {Qt::Key_NumberSign, 0x33}, {Qt::Key_Dollar, 0x34},
    {Qt::Key_Percent, 0x35}, {Qt::Key_AsciiCircum, 0x36}, {Qt::Key_Ampersand, 0x37},
    {Qt::Key_Asterisk, 0x38}, {Qt::Key_ParenLeft, 0x39}, {Qt::Key_ParenRight, 0x30},
};

// The same keys on the keypad.
constexpr QtKeyCode kQtKeypadKeys[] = {
    {Qt::Key_Asterisk, 0x6A}, {Qt::Key_Plus, 0x6B}, {Qt::Key_Minus, 0x6D}, {Qt::Key_Period, 0x6E},
    {Qt::Key_Comma, 0x6E}, {Qt::Key_Slash, 0x6F}, {Qt::Key_Enter, 0x0D}, {Qt::Key_NumLock, 0x90},
};

constexpr uint16_t kVirtualKeyNumpad0 = 0x60;
constexpr uint16_t kVirtualKeyF1 = 0x70;
constexpr int kLastFunctionKey = 24;

bool KernelScanCode(uint32_t nativeScanCode, HookKeyRecord& record)
{
    if (nativeScanCode <= kX11KeyCodeOffset)
        return false;
    const uint32_t kernel = nativeScanCode - kX11KeyCodeOffset;
    if (kernel <= kLastDirectKernelCode) {
        record.scanCode = kernel;
        record.flags = kernel == kKernelRightShift || kernel == kKernelNumLock ? kHookExtendedFlag : 0;
        return true;
    }
    for (const KernelKey& key : kKernelKeys) {
        if (key.kernelCode == kernel) {
            record.scanCode = key.scanCode;
            record.flags = key.extended != 0 ? kHookExtendedFlag : 0;
            return true;
        }
    }
    return false;
}

uint16_t Lookup(const QtKeyCode* first, const QtKeyCode* last, int qtKey)
{
    for (const QtKeyCode* key = first; key != last; ++key)
        if (key->qtKey == qtKey)
            return key->virtualKey;
    return 0;
}

uint16_t VirtualKeyOfQtKey(int qtKey, bool keypad)
{
    if (keypad) {
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
            return static_cast<uint16_t>(kVirtualKeyNumpad0 + (qtKey - Qt::Key_0));
        if (const uint16_t key = Lookup(std::begin(kQtKeypadKeys), std::end(kQtKeypadKeys), qtKey))
            return key;
    }
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return static_cast<uint16_t>(qtKey);  // the same codes as the virtual keys
    if (qtKey >= Qt::Key_F1 && qtKey < Qt::Key_F1 + kLastFunctionKey)
        return static_cast<uint16_t>(kVirtualKeyF1 + (qtKey - Qt::Key_F1));
    return Lookup(std::begin(kQtKeys), std::end(kQtKeys), qtKey);
}

}  // namespace

HookKeyMessage HookMessageForKey(int qtKey, unsigned qtModifiers, uint32_t nativeScanCode, bool pressed)
{
    HookKeyMessage hook;
    hook.message = pressed ? kKeyDownMessage : kKeyUpMessage;
    HookKeyRecord& record = hook.record;
    if (KernelScanCode(nativeScanCode, record)) {
        const MacroKeyRow* row = FindKeyByScanCode(record.scanCode, (record.flags & kHookExtendedFlag) != 0);
        record.virtualKey = row != nullptr ? row->virtualKey : VirtualKeyOfQtKey(qtKey, false);
        return hook;
    }
    const bool keypad = (qtModifiers & Qt::KeypadModifier) != 0;
    record.virtualKey = VirtualKeyOfQtKey(qtKey, keypad);
    const bool extended = keypad && qtKey == Qt::Key_Enter;
    if (const MacroKeyRow* row = FindKeyByVirtualKey(record.virtualKey, extended)) {
        record.scanCode = row->scanCode;
        record.flags = row->extended != 0 ? kHookExtendedFlag : 0;
    }
    return hook;
}

HookMouseMessage HookMessageForMouseButton(unsigned qtButton, bool pressed, int x, int y)
{
    HookMouseMessage hook;
    hook.record.x = x;
    hook.record.y = y;
    switch (qtButton) {
    case Qt::LeftButton:
        hook.message = pressed ? kLeftDown : kLeftUp;
        break;
    case Qt::RightButton:
        hook.message = pressed ? kRightDown : kRightUp;
        break;
    case Qt::MiddleButton:
        hook.message = pressed ? kMiddleDown : kMiddleUp;
        break;
    case Qt::BackButton:
    case Qt::ForwardButton:
        hook.message = pressed ? kExtraDown : kExtraUp;
        hook.record.mouseData = (qtButton == Qt::BackButton ? kFirstExtraButton : kSecondExtraButton) << 16;
        break;
    default:
        break;
    }
    return hook;
}

bool PassesThroughCapture(uint32_t virtualKey)
{
    constexpr uint32_t kCapsLock = 0x14;
    constexpr uint32_t kNumLock = 0x90;
    constexpr uint32_t kScrollLock = 0x91;
    return virtualKey == kCapsLock || virtualKey == kNumLock || virtualKey == kScrollLock;
}

namespace {

struct HookModeMessages {
    int mode;
    const char* keyMessage;
    const char* mouseMessage;
};

constexpr HookModeMessages kHookModeMessages[] = {
    {kHookSingleKey, "WM_HOOK_KEY_SINGLEKEY_MSG", nullptr},
    {kHookHitKey, "WM_HOOK_KEY_HITKEY_MSG", nullptr},
    {kHookMacroAppend, "WM_HOOK_KEY_KBMACRO_MSG", "WM_HOOK_KEY_MSMACRO_MSG"},
    {kHookMacroBefore, "WM_HOOK_KEY_KBMACROPREVIOUS_MSG", "WM_HOOK_KEY_MSMACROPREVIOUS_MSG"},
    {kHookMacroAfter, "WM_HOOK_KEY_KBMACROLATER_MSG", "WM_HOOK_KEY_MSMACROLATER_MSG"},
    {kHookMacroReplace, "WM_HOOK_KEY_KBMACROSINGLE_MSG", "WM_HOOK_KEY_MSMACROSINGLE_MSG"},
};

}  // namespace

bool IsMacroHookMode(int mode)
{
    return HookMessageNameFor(mode, true) != nullptr;
}

const char* HookMessageNameFor(int mode, bool mouse)
{
    for (const HookModeMessages& row : kHookModeMessages)
        if (row.mode == mode)
            return mouse ? row.mouseMessage : row.keyMessage;
    return nullptr;
}

std::optional<HookMessageMeaning> HookMessageMeaningOf(std::string_view name)
{
    for (const HookModeMessages& row : kHookModeMessages) {
        if (name == row.keyMessage)
            return HookMessageMeaning{row.mode, false};
        if (row.mouseMessage != nullptr && name == row.mouseMessage)
            return HookMessageMeaning{row.mode, true};
    }
    return std::nullopt;
}
