#include "panels/key_assignment.h"
#include "panels/key_functions.h"

#include <gtest/gtest.h>

// What the panel shows for a code reads back as the same code.
TEST(KeyAssignmentTest, ShownCodesReadBackUnchanged)
{
    std::vector<KeyFunctionCode> codes = {
        {0x11, 0x23, 0x85}, {0x11, 0xF0, 0x7F}, {0x12, 0x11, 0x85}, {0x12, 0x00, 0x01}, {0x12, 0x00, 0xFF},
        {0x14, 0x50, 0x02}, {0x20, 0x04, 0x2C}, {0x20, 0x00, 0x04}, {0x70, 0x02, 0x03}, {0x71, 0x02, 0x14},
        {0x72, 0x03, 0x00}, {0x00, 0x00, 0x00},
    };
    for (KeyCodeTable table : {MouseButtonTable(), DpiTable(), MediaTable(), SystemTable()}) {
        for (const KeyCodeRow& row : table)
            codes.push_back(row.code);
    }
    for (KeyFunctionCode code : codes) {
        KeyPanelValues values = ShowKeyFunction(code);
        EXPECT_EQ(ReadKeyFunction(values), code) << PackKeyCode(code);
    }
}

TEST(KeyAssignmentTest, WheelDownShowsItsValue)
{
    const KeyPanelValues values = ShowKeyFunction({0x12, 0x00, 0x85});
    EXPECT_EQ(values.page, kPageWheel);
    EXPECT_EQ(values.direction, 1);
    EXPECT_EQ(values.speed, 123);
}

TEST(KeyAssignmentTest, ShownPages)
{
    const struct {
        KeyFunctionCode code;
        int page;
        int row;
    } cases[] = {
        {{0x10, 0x02, 0x00}, kPageMouseButton, 2},
        {{0x10, 0x40, 0x00}, kPageMouseButton, -1},
        {{0x13, 0x03, 0x00}, kPageDpi, 2},
        {{0x30, 0xCD, 0x00}, kPageMedia, 1},
        {{0x40, 0x04, 0x00}, kPageSystem, 2},
        {{0x72, 0x02, 0x00}, kPageRecoil, 2},
        {{0x72, 0x09, 0x00}, kPageRecoil, -1},
        {{0xB0, 0x00, 0x00}, kPageCombination, -1},
        {{0x16, 0x00, 0x00}, kPageNone, -1},
    };
    for (const auto& c : cases) {
        const KeyPanelValues values = ShowKeyFunction(c.code);
        EXPECT_EQ(values.page, c.page) << PackKeyCode(c.code);
        EXPECT_EQ(values.row, c.row) << PackKeyCode(c.code);
    }
}

TEST(KeyAssignmentTest, ModifierBoxes)
{
    EXPECT_EQ(ShowKeyFunction({0x20, 0x04, 0x04}).modifierBox, 3);
    EXPECT_EQ(ShowKeyFunction({0x20, 0x10, 0x04}).modifierBox, 1);  // right Ctrl in the Ctrl box
    EXPECT_EQ(ShowKeyFunction({0x20, 0x03, 0x04}).modifierBox, 0);
    KeyPanelValues values{.page = kPageKeyboard, .modifierBox = 4, .key = 0x04};
    EXPECT_EQ(ReadKeyFunction(values), (KeyFunctionCode{0x20, 0x08, 0x04}));
}

TEST(KeyAssignmentTest, ValuesOutOfRangeAreBroughtIntoIt)
{
    const struct {
        KeyPanelValues typed;
        KeyFunctionCode expected;
    } cases[] = {
        {{.page = kPageFire, .fireInterval = 5, .fireCount = 2}, {0x14, 10, 2}},
        {{.page = kPageFire, .fireInterval = 300, .fireCount = -1}, {0x14, 255, 0}},
        {{.page = kPageSwing, .count = 16, .delay = -2, .speed = 200}, {0x11, 0xF0, 0x7F}},
        {{.page = kPageWheel, .direction = 1, .speed = 0}, {0x12, 0x00, 0xFF}},
        {{.page = kPageMacro, .macro = -1, .macroRepeat = 9}, {0x70, 0, 3}},
        {{.page = kPageMacro, .macro = 2, .macroRepeat = kMacroRepeatCountItem, .macroCycles = 999}, {0x71, 2, 255}},
        {{.page = kPageMedia, .row = 99}, {}},
        {{.page = kPageCombination, .row = 4}, {0x20, 0x10, 0x06}},
    };
    for (const auto& c : cases) {
        KeyPanelValues values = c.typed;
        const KeyFunctionCode code = ReadKeyFunction(values);
        EXPECT_EQ(code, c.expected) << PackKeyCode(c.expected);
        // The panel shows what was stored.
        KeyPanelValues again = values;
        EXPECT_EQ(ReadKeyFunction(again), code);
    }
    KeyPanelValues fire{.page = kPageFire, .fireInterval = 5};
    ReadKeyFunction(fire);
    EXPECT_EQ(fire.fireInterval, 10);
}

TEST(KeyAssignmentTest, StoringWithoutASelectedKeyChangesNothing)
{
    std::vector<KeyListEntry> keys(3);
    const std::vector<KeyListEntry> before = keys;
    for (int selected : {-1, 3, 100})
        EXPECT_FALSE(StoreKeyAssignment(keys, selected, {0x20, 0, 0x04})) << selected;
    EXPECT_EQ(keys, before);
    EXPECT_TRUE(StoreKeyAssignment(keys, 2, {0x20, 0, 0x04}));
    EXPECT_EQ(keys[2].assigned, (KeyFunctionCode{0x20, 0, 0x04}));
}

TEST(KeyAssignmentTest, LeftButtonStaysOnItsLastKey)
{
    std::vector<KeyListEntry> keys(3);
    keys[0].assigned = {0x10, 0x01, 0x00};
    EXPECT_TRUE(IsLastLeftButton(keys, 0));
    EXPECT_FALSE(IsLastLeftButton(keys, 1));
    keys[2].assigned = {0x10, 0x01, 0x00};
    EXPECT_FALSE(IsLastLeftButton(keys, 0));
    EXPECT_FALSE(IsLastLeftButton(keys, -1));
}

TEST(KeyAssignmentTest, CapturedKeys)
{
    struct Case {
        uint32_t virtualKey;
        bool extended;
        bool taken;
        int modifierBox;
        uint8_t key;
    };
    for (const Case& c : std::initializer_list<Case>{
             {'A', false, true, 0, 0x04},
             {0x0D, true, true, 0, 0x58},   // keypad Enter
             {0x0D, false, true, 0, 0x28},  // Enter
             {0xA3, true, true, 1, 0},      // right Ctrl ticks the Ctrl box
             {0x5B, true, true, 4, 0},      // left Win
             {0xFF, false, false, 0, 0},
         }) {
        KeyPanelValues values;
        EXPECT_EQ(TakeCapturedKey(values, c.virtualKey, c.extended), c.taken) << c.virtualKey;
        EXPECT_EQ(values.modifierBox, c.modifierBox) << c.virtualKey;
        EXPECT_EQ(values.key, c.key) << c.virtualKey;
    }
}
