#include "panels/key_functions.h"

#include <gtest/gtest.h>

namespace {

struct NamedTable {
    const char* name;
    KeyCodeTable table;
};

const NamedTable kTables[] = {
    {"mouse buttons", MouseButtonTable()}, {"mouse functions", MouseFunctionTable()},
    {"DPI", DpiTable()},                   {"system", SystemTable()},
    {"shortcuts", ShortcutTable()},        {"key combinations", KeyCombinationTable()},
    {"media", MediaTable()},               {"keyboard", KeyboardTable()},
};

std::string Bracketed(const char* id)
{
    return std::string("[") + id + "]";
}

std::string MacroName(int number)
{
    return "macro " + std::to_string(number);
}

}  // namespace

// A combo box lists a table's texts; the chosen text must give back its code.
TEST(KeyFunctionsTest, EveryRowGoesFromCodeToTextAndBack)
{
    for (const NamedTable& named : kTables) {
        for (const KeyCodeRow& row : named.table) {
            const KeyCodeRow* byCode = FindRowByCode(named.table, row.code);
            ASSERT_NE(byCode, nullptr);
            const KeyCodeRow* byText = FindRowByText(named.table, byCode->textId);
            ASSERT_NE(byText, nullptr) << named.name << " " << row.textId;
            EXPECT_EQ(byText->code, row.code) << named.name << " " << row.textId;
        }
    }
}

TEST(KeyFunctionsTest, TablesHoldTheirRows)
{
    EXPECT_EQ(KeyboardTable().size(), 142u);
    EXPECT_EQ(MediaTable().size(), 18u);
    EXPECT_EQ(KeyCombinationTable().size(), 11u);
    EXPECT_STREQ(KeyboardTable()[113].textId, "keyboard_key_K42");
    EXPECT_STREQ(KeyboardTable()[141].textId, "keyboard_key_GM");
}

// The key lists name each table row by the row's own text.
TEST(KeyFunctionsTest, KeyListTextOfEveryRowIsItsOwn)
{
    for (KeyCodeTable table : {MouseButtonTable(), DpiTable(), SystemTable(), ShortcutTable(), MediaTable()}) {
        for (const KeyCodeRow& row : table)
            EXPECT_EQ(KeyFunctionTextIds(row.code), std::vector<const char*>{row.textId}) << row.textId;
    }
    for (const KeyCodeRow& row : KeyboardTable()) {
        if (row.code.type != kFunctionKeyboard && row.code.type != kFunctionKeyboardMacro)
            continue;
        EXPECT_EQ(KeyFunctionTextIds(row.code), std::vector<const char*>{row.textId}) << row.textId;
    }
}

TEST(KeyFunctionsTest, BothMouseButtonTablesUseTheDevicesBitOrder)
{
    for (const char* id : {"mouse_key_left", "mouse_key_middle", "mouse_key_right", "mouse_key_forward", "mouse_key_back"})
        EXPECT_EQ(FindRowByText(MouseButtonTable(), id)->code, FindRowByText(MouseFunctionTable(), id)->code) << id;
    EXPECT_EQ(FindRowByText(MouseFunctionTable(), "mouse_key_right")->code.value1, 0x02);
    EXPECT_EQ(FindRowByText(MouseFunctionTable(), "mouse_key_middle")->code.value1, 0x04);
}

TEST(KeyFunctionsTest, KeyListTexts)
{
    const struct {
        KeyFunctionCode code;
        const char* text;
    } cases[] = {
        {{0x00, 0x00, 0x00}, "[close_text]"},
        {{0x10, 0x04, 0x00}, "[mouse_key_middle]"},
        {{0x10, 0x40, 0x00}, ""},
        {{0x11, 0x23, 0x85}, "[mouse_key_right_Swing]"},
        {{0x11, 0x23, 0x05}, "[mouse_key_left_Swing]"},
        {{0x12, 0x11, 0x85}, "[mouse_key_down_Swing]"},
        {{0x12, 0x11, 0x05}, "[mouse_key_up_Swing]"},
        {{0x14, 0x50, 0x02}, "[mouse_key_fire_key]"},
        {{0x20, 0x01, 0x04}, "[keyboard_key_LCtrl]+[keyboard_key_A]"},
        // Every modifier is named, not only those that have a row of their own.
        {{0x20, 0x03, 0x04}, "[keyboard_key_LCtrl]+[keyboard_key_LShift]+[keyboard_key_A]"},
        {{0x20, 0x80, 0x00}, "[keyboard_key_RWin]"},
        {{0x20, 0x00, 0x00}, "[close_text]"},
        // A key usage no row knows must not match every plain key.
        {{0x20, 0x00, 0xF0}, "[close_text]"},
        {{0x22, 0x00, 0x08}, "[custem_open]"},
        {{0x30, 0x94, 0x01}, "[media_mypc]"},
        {{0x70, 0x03, 0x01}, "macro 3"},
        {{0x71, 0x07, 0x10}, "macro 7"},
        {{0x72, 0x01, 0x00}, "[gun_2_txt]"},
        {{0x72, 0x04, 0x00}, ""},
        {{0xA0, 0x1B, 0x00}, "[keyboard_key_GM]"},
        {{0xA0, 0x00, 0x00}, "[close_text]"},
        {{0xD0, 0xA2, 0x05}, "[keyboard_key_M5]"},
        {{0x99, 0x00, 0x00}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KeyFunctionText(c.code, Bracketed, MacroName), c.text) << PackKeyCode(c.code);
}
