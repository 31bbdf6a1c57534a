// Key and mouse events of the toolkit turned into the hook's records: X11 key
// codes, toolkit key codes where no native code is known, and the keys a
// capture lets through.

#include "services/hook_message.h"

#include <Qt>
#include <gtest/gtest.h>

namespace {

struct KeyCase {
    const char* what;
    int qtKey;
    unsigned modifiers;
    uint32_t nativeScanCode;  // X11 key code
    uint32_t virtualKey;
    uint32_t scanCode;
    uint32_t flags;
};

TEST(HookKeyRecords, X11KeyCodesGiveScanCodeExtendedFlagAndVirtualKey)
{
    const KeyCase cases[] = {
        {"A", Qt::Key_A, 0, 38, 0x41, 0x1E, 0},
        {"left Ctrl", Qt::Key_Control, 0, 37, 0xA2, 0x1D, 0},
        {"right Ctrl", Qt::Key_Control, 0, 105, 0xA3, 0x1D, 1},
        {"right Shift", Qt::Key_Shift, 0, 62, 0xA1, 0x36, 1},
        {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier, 104, 0x0D, 0x1C, 1},
        {"Return", Qt::Key_Return, 0, 36, 0x0D, 0x1C, 0},
        {"Up arrow", Qt::Key_Up, 0, 111, 0x26, 0x48, 1},
        {"keypad 8", Qt::Key_8, Qt::KeypadModifier, 80, 0x68, 0x48, 0},
        {"Num Lock", Qt::Key_NumLock, 0, 77, 0x90, 0x45, 1},
        {"Pause", Qt::Key_Pause, 0, 127, 0x13, 0x45, 0},
        {"Print", Qt::Key_Print, 0, 107, 0x2C, 0x37, 1},
        {"left Meta", Qt::Key_Meta, 0, 133, 0x5B, 0x5B, 1},
        {"Menu", Qt::Key_Menu, 0, 135, 0x5D, 0x5D, 1},
        {"ISO key", Qt::Key_Less, 0, 94, 0xE2, 0x56, 0},
        {"F11", Qt::Key_F11, 0, 95, 0x7A, 0x57, 0},
        {"shifted 1", Qt::Key_Exclam, Qt::ShiftModifier, 10, 0x31, 0x02, 0},
        {"volume key, no row", Qt::Key_VolumeUp, 0, 123, 0, 0, 0},
    };
    for (const KeyCase& c : cases) {
        const HookKeyMessage hook = HookMessageForKey(c.qtKey, c.modifiers, c.nativeScanCode, true);
        EXPECT_EQ(hook.message, kKeyDownMessage) << c.what;
        EXPECT_EQ(hook.record.virtualKey, c.virtualKey) << c.what;
        EXPECT_EQ(hook.record.scanCode, c.scanCode) << c.what;
        EXPECT_EQ(hook.record.flags, c.flags) << c.what;
    }
}

TEST(HookKeyRecords, WithoutNativeCodesTheToolkitKeyDecides)
{
    const KeyCase cases[] = {
        {"Z", Qt::Key_Z, 0, 0, 0x5A, 0x2C, 0},
        {"Shift", Qt::Key_Shift, 0, 0, 0xA0, 0x2A, 0},
        {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier, 0, 0x0D, 0x1C, 1},
        {"keypad 0", Qt::Key_0, Qt::KeypadModifier, 0, 0x60, 0x52, 0},
        {"0", Qt::Key_0, 0, 0, 0x30, 0x0B, 0},
        {"Delete", Qt::Key_Delete, 0, 0, 0x2E, 0x53, 1},
        {"F12", Qt::Key_F12, 0, 0, 0x7B, 0x58, 0},
        {"question mark", Qt::Key_Question, Qt::ShiftModifier, 0, 0xBF, 0x35, 0},
        {"unknown", Qt::Key_Launch0, 0, 0, 0, 0, 0},
    };
    for (const KeyCase& c : cases) {
        const HookKeyMessage hook = HookMessageForKey(c.qtKey, c.modifiers, 0, false);
        EXPECT_EQ(hook.message, kKeyUpMessage) << c.what;
        EXPECT_EQ(hook.record.virtualKey, c.virtualKey) << c.what;
        EXPECT_EQ(hook.record.scanCode, c.scanCode) << c.what;
        EXPECT_EQ(hook.record.flags, c.flags) << c.what;
    }
}

TEST(HookMouseRecords, ButtonsGiveTheirMessagesAndExtraButtonNumbers)
{
    struct Case {
        Qt::MouseButton button;
        bool pressed;
        uint32_t message;
        uint32_t mouseData;
    };
    const Case cases[] = {
        {Qt::LeftButton, true, 0x201, 0},        {Qt::LeftButton, false, 0x202, 0},
        {Qt::RightButton, true, 0x204, 0},       {Qt::MiddleButton, false, 0x208, 0},
        {Qt::BackButton, true, 0x20B, 1u << 16}, {Qt::ForwardButton, false, 0x20C, 2u << 16},
        {Qt::TaskButton, true, 0, 0},
    };
    for (const Case& c : cases) {
        const HookMouseMessage hook = HookMessageForMouseButton(c.button, c.pressed, 640, -20);
        EXPECT_EQ(hook.message, c.message) << c.button;
        EXPECT_EQ(hook.record.mouseData, c.mouseData) << c.button;
        EXPECT_EQ(hook.record.x, 640);
        EXPECT_EQ(hook.record.y, -20);
    }
}

TEST(HookCapture, OnlyTheLockKeysPassThrough)
{
    for (uint32_t key : {0x14u, 0x90u, 0x91u})
        EXPECT_TRUE(PassesThroughCapture(key)) << key;
    for (uint32_t key : {0x41u, 0x13u, 0xA0u, 0u})
        EXPECT_FALSE(PassesThroughCapture(key)) << key;
}

}  // namespace
