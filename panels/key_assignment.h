#pragma once
// The key panel's logic without its controls: which page and values show a
// code, the code the shown values make, and storing it into the selected key.

#include "profiles/records.h"

#include <cstdint>
#include <vector>

// The pages of "function_switch_tablayout", chosen with "keyset_function_combo".
enum KeyFunctionPage {
    kPageNone = 0,
    kPageMouseButton = 1,
    kPageSwing = 2,
    kPageWheel = 3,
    kPageDpi = 4,
    kPageFire = 5,
    kPageKeyboard = 6,
    kPageMedia = 7,
    kPageSystem = 8,
    kPageMacro = 9,
    kPageRecoil = 10,
    kPageCombination = 11,
};

// The macro repeat-mode item that repeats a number of times.
inline constexpr int kMacroRepeatCountItem = 4;

// What the panel shows; the panel copies it to and from its controls.
struct KeyPanelValues {
    int page = kPageNone;
    int row = -1;       // the page's combo item (table row, recoil pattern); -1 none
    int direction = 0;  // swing: 1 right; wheel: 1 down
    int count = 0;      // swing and wheel
    int delay = 0;
    int speed = 0;      // swing speed, wheel value
    int fireInterval = 0;
    int fireCount = 0;
    int modifierBox = 0;  // "key_ComBox_check_" n: 0 none, 1..4 left Ctrl, Shift, Alt, Win
    uint8_t key = 0;      // the captured key's HID usage; 0 none
    int macro = -1;       // macro number; -1 none
    int macroRepeat = 0;  // repeat-mode item
    int macroCycles = 0;
    friend bool operator==(const KeyPanelValues&, const KeyPanelValues&) = default;
};

KeyPanelValues ShowKeyFunction(KeyFunctionCode code);
// Values out of a field's range are brought into it, in `values` too (a fire
// interval below 10 becomes 10), so the panel can show what was stored.
KeyFunctionCode ReadKeyFunction(KeyPanelValues& values);

// Gives the selected key its new code. Without a selected key (or with one
// the list lacks) nothing changes and the answer is false.
bool StoreKeyAssignment(std::vector<KeyListEntry>& keys, int selectedKey, KeyFunctionCode code);

// The left-button function never leaves the last key that has it.
bool IsLastLeftButton(const std::vector<KeyListEntry>& keys, int key);
// The key panel's answer to a key click it refuses for that reason.
inline constexpr int kKeyKeepsLeftButton = 2;

// A key captured for the keyboard-key page: a modifier ticks its box (a
// right-hand one its left twin's), another key becomes the key. False, and
// nothing changed, for a key the keyboard table lacks.
bool TakeCapturedKey(KeyPanelValues& values, uint32_t virtualKey, bool extended);
