#pragma once
// What a capture hands the key panel and the macro recorders for each input
// event: the window message of the event and the hook's record of it, built
// from the toolkit's key and mouse events through tables of our own.

#include <cstdint>
#include <optional>
#include <string_view>

// Window messages of key events.
enum KeyMessage : uint32_t {
    kKeyDownMessage = 256,
    kKeyUpMessage = 257,
    kSystemKeyDownMessage = 260,
    kSystemKeyUpMessage = 261,
};

struct HookKeyRecord {
    uint32_t virtualKey = 0;
    uint32_t scanCode = 0;  // PC scan-code set 1 make code
    uint32_t flags = 0;     // bit 0: extended (E0) key
};
constexpr uint32_t kHookExtendedFlag = 0x01;

struct HookMouseRecord {
    int32_t x = 0;  // cursor, screen coordinates
    int32_t y = 0;
    uint32_t mouseData = 0;  // high word: extra-button number (1 back, 2 forward)
};

struct HookKeyMessage {
    uint32_t message = 0;
    HookKeyRecord record;
};

struct HookMouseMessage {
    uint32_t message = 0;
    HookMouseRecord record;
};

// A key event: the toolkit's key code (Qt::Key), keyboard modifiers and native
// scan code (the X11 key code, evdev code + 8; 0 when the platform gives
// none). The native code decides where it is known, so left and right keys and
// the keypad stay apart; otherwise the key code does. A key neither knows gets
// virtual key 0 and scan code 0, which no recorder takes.
HookKeyMessage HookMessageForKey(int qtKey, unsigned qtModifiers, uint32_t nativeScanCode, bool pressed);

// A mouse button event (Qt::MouseButton) at a screen position. Buttons a
// macro does not know give message 0.
HookMouseMessage HookMessageForMouseButton(unsigned qtButton, bool pressed, int x, int y);

// What a capture is armed for. The macro modes equal the CaptureTarget values
// of the macro editor.
enum HookMode : int {
    kHookSingleKey = 1,  // one key for the key panel
    kHookHitKey = 2,     // sent, but nothing takes it
    kHookMacroAppend = 4,
    kHookMacroBefore = 8,
    kHookMacroAfter = 16,
    kHookMacroReplace = 32,
};
bool IsMacroHookMode(int mode);
// The registered message a key event (or a mouse-button event) is sent as
// while a capture of this mode is armed; null when the mode sends none. Mouse
// buttons are sent in the macro modes only.
const char* HookMessageNameFor(int mode, bool mouse);
// The mode and kind of event a hook message (by its registered name) is sent
// for; nothing for other names.
struct HookMessageMeaning {
    int mode;
    bool mouse;
};
std::optional<HookMessageMeaning> HookMessageMeaningOf(std::string_view name);

// Caps Lock, Num Lock and Scroll Lock pass through a capture, so their lights
// and states keep working; every other key is held back.
bool PassesThroughCapture(uint32_t virtualKey);
