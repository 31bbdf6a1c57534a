#include "app/notify_routes.h"

#include <gtest/gtest.h>

TEST(NotifyRoutes, NamesSplitAtTheirLastUnderscore)
{
    struct Case {
        const char* name;
        const char* prefix;
        int index;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"DPI_slider_3", "DPI_slider_", 3},
             {"kelvo_DPI_edit_12", "kelvo_DPI_edit_", 12},
             {"key_0", "key_", 0},
             {"closebtn", "closebtn", -1},
             {"key_x", "key_", -1},
             {"key_", "key_", -1},
             {"key_-1", "key_", -1},
             {"key_99999999999", "key_", -1},  // beyond an int: no index
             {"", "", -1},
         }) {
        const ControlName split = SplitControlName(c.name);
        EXPECT_EQ(split.prefix, c.prefix) << c.name;
        EXPECT_EQ(split.index, c.index) << c.name;
    }
}

TEST(NotifyRoutes, EachNotificationFindsItsRow)
{
    struct Case {
        const char* type;
        const char* sender;
        RouteAction action;
        PageFeature feature;
    };
    const auto F = PageFeature::DeviceSettings;
    for (const Case& c : std::initializer_list<Case>{
             {"click", "CloseBtn", RouteAction::CloseToTray, F},  // clicks ignore case
             {"click", "key_7", RouteAction::SelectKey, PageFeature::Keys},
             {"click", "key_butt_keysave", RouteAction::HandOff, PageFeature::Keys},
             {"click", "KEY_BUTT_PROSAVE", RouteAction::StartKeyWrite, F},
             {"click", "DPI_color_option_2", RouteAction::OpenColorPicker, F},
             {"click", "color_option_2", RouteAction::HandOff, PageFeature::Lighting},
             {"click", "macro_btn_delete", RouteAction::HandOffThenWriteKeys, PageFeature::Macros},
             {"click", "macro_inset_moveupkey_btn", RouteAction::HandOffThenWriteKeys, PageFeature::Macros},
             {"click", "macro_btn_save", RouteAction::HandOffThenWriteKeys, PageFeature::Macros},
             {"killfocus", "macro_delay", RouteAction::HandOffThenWriteKeys, PageFeature::Macros},
             {"movevaluechanged", "kelvo_DPI_slider_4", RouteAction::ShowMovingDpi, F},
             {"movevaluechanged", "DPI_slider_4", RouteAction::HandOff, F},
             {"killfocus", "keyset_keyboard_text_edit", RouteAction::RemoveKeyHook, F},
             {"killfocus", "keyset_macro_cycle_edit", RouteAction::HandOff, PageFeature::Keys},
             {"selectchanged", "Virtual7.1_Op_tab", RouteAction::FunctionTab, F},
             {"itemselect", "device_profile_combo", RouteAction::StartProfileSwitch, F},
             {"click_wpedit", "anything", RouteAction::SkipDefault, F},
             {"menu", "EXIT", RouteAction::Exit, F},
             {"menu", "left_click", RouteAction::HandOffThenWriteKeys, PageFeature::Macros},
         }) {
        const NotifyRoute* route = FindRoute(c.type, c.sender);
        ASSERT_NE(route, nullptr) << c.type << " " << c.sender;
        EXPECT_EQ(route->action, c.action) << c.sender;
        EXPECT_EQ(route->feature, c.feature) << c.sender;
    }
}

TEST(NotifyRoutes, UnknownOrMisspelledSendersFindNothing)
{
    struct Case {
        const char* type;
        const char* sender;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"click", "key_x"},                      // no index
             {"click", "MACRO_INSET_MOVEUPKEY_BTN"},  // case counts for these two
             {"click", "Profile_fun_spread_btn"},
             {"selectchanged", "deng_op_tab"},        // option names are matched as written
             {"click", "deng_Op_tab"},                // a tab's route is its selection, not a click
             {"valuechanged", ""},
             {"timer", "root"},
         }) {
        EXPECT_EQ(FindRoute(c.type, c.sender), nullptr) << c.type << " " << c.sender;
    }
}

TEST(NotifyRoutes, FunctionTabsCarryTheirNumbers)
{
    const char* tabs[] = {"deng_Op_tab",  "key_Op_tab",   "macro_Op_tab",      "system_Op_tab",  "cursor_Op_tab",
                          "6533_voice_Op_tab", "magic_Op_tab", "Virtual7.1_Op_tab", "otherset_Op_tab"};
    for (int number = 1; number <= 9; ++number)
        EXPECT_EQ(FindRoute("selectchanged", tabs[number - 1])->argument, number) << tabs[number - 1];
}
