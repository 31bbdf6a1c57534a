// The macro editor's command tables and deleting a macro from a whole family.

#include "panels/macro_commands.h"
#include "panels/macro_key_tables.h"
#include "profiles/json_file.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>

namespace {

TEST(MacroCommands, CaptureItemsPickTargetAndDelays)
{
    struct Case {
        const char* name;
        CaptureTarget target;
        DelayMode withOption;
        DelayMode withoutOption;
    };
    const Case cases[] = {
        {"macro_btn_starredio", CaptureTarget::kAppend, DelayMode::kConstant, DelayMode::kRecorded},
        {"redio_previous_record_time", CaptureTarget::kBefore, DelayMode::kConstant, DelayMode::kRecorded},
        {"redio_previous_constant_time", CaptureTarget::kBefore, DelayMode::kConstant, DelayMode::kConstant},
        {"redio_later_ignore_time", CaptureTarget::kAfter, DelayMode::kIgnored, DelayMode::kIgnored},
        {"macro_action_edit", CaptureTarget::kReplace, DelayMode::kIgnored, DelayMode::kIgnored},
    };
    for (const Case& c : cases) {
        const std::optional<MacroCaptureCommand> command = CaptureCommandOf(c.name);
        ASSERT_TRUE(command) << c.name;
        EXPECT_EQ(command->target, c.target) << c.name;
        EXPECT_EQ(DelayModeOf(command->delays, true), c.withOption) << c.name;
        EXPECT_EQ(DelayModeOf(command->delays, false), c.withoutOption) << c.name;
    }
    EXPECT_FALSE(CaptureCommandOf("macro_btn_stopredio"));
}

TEST(MacroCommands, MenuItemsAndMovementButtonsInsertTheirMouseSteps)
{
    struct Case {
        const char* name;
        std::vector<uint32_t> messages;
        int variant;
        const char* distanceEdit;
    };
    const Case cases[] = {
        {"left_click", {kLeftDown, kLeftUp}, 0, nullptr},
        {"right_up", {kRightUp}, 0, nullptr},
        {"forward_down", {kExtraDown}, 0, nullptr},
        {"back_click", {kExtraDown, kExtraUp}, 1, nullptr},
        {"macro_inset_moveupkey_btn", {kMouseMove}, 2, "mouse_y_up_edit"},
        {"macro_inset_movedownkey_btn", {kMouseMove}, 3, "mouse_y_down_edit"},
    };
    for (const Case& c : cases) {
        const std::optional<MouseInsertCommand> command = MouseInsertCommandOf(c.name);
        ASSERT_TRUE(command) << c.name;
        EXPECT_EQ(command->messages, c.messages) << c.name;
        EXPECT_EQ(command->variant, c.variant) << c.name;
        EXPECT_STREQ(command->distanceEdit, c.distanceEdit) << c.name;
    }
    for (const char* other : {"left_", "left_twice", "macro_inset_moveleftkey", "up_click"})
        EXPECT_FALSE(MouseInsertCommandOf(other)) << other;
}

std::string Profile(int first)
{
    return "{\"Device\": [{\"KeyList\": [{\"Assignment\": " + std::to_string(first) +
           ", \"DefaultAssignment\": 1048832}]}]}";
}

int FirstAssignment(const std::string& path)
{
    return ReadJsonFile(path)["Device"][0]["KeyList"][0]["Assignment"].asInt();
}

TEST(MacroCommands, DeletingFromTheFamilyRepairsTheCurrentAndTheOtherProfiles)
{
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/";
    CMacroLibrary library;
    library.SetFolder(folder);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(library.Add());
    std::ofstream(folder + "ProfileList.ini")
        << R"({"profilelist": [{"profilename": "One", "profileUUID": "one"},)"
        << R"( {"profilename": "Two", "profileUUID": "two"}], "profileselect": 1})";
    std::ofstream(folder + "one.Json") << Profile(0x700200);  // macro 2 becomes 1
    std::ofstream(folder + "two.Json") << Profile(0x700100);  // the current one uses macro 1

    int asked = 0;
    const auto decline = [&] { return ++asked, false; };
    EXPECT_FALSE(DeleteMacroFromFamily(library, 1, folder, {}, decline).deleted);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(FirstAssignment(folder + "one.Json"), 0x700200);

    const MacroDeletion deletion = DeleteMacroFromFamily(library, 1, folder, {}, [] { return true; });
    EXPECT_TRUE(deletion.deleted);
    EXPECT_TRUE(deletion.currentKeysChanged);
    EXPECT_EQ(library.Entries().size(), 2u);
    EXPECT_EQ(FirstAssignment(folder + "one.Json"), 0x700100);
    EXPECT_EQ(FirstAssignment(folder + "two.Json"), 0x100100);  // back to its default
}

}  // namespace
