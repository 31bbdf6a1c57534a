// The macro list and files of a family folder, import refusals, and the key
// bindings that follow a deleted macro.

#include "panels/macro_device.h"
#include "panels/macro_library.h"
#include "profiles/basic_profiledata.h"
#include "profiles/json_file.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

class MacroLibraryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder_.isValid());
        library_.SetFolder(Folder());
    }

    std::string Folder() const { return folder_.path().toStdString() + "/"; }

    std::string Put(const std::string& name, const std::string& bytes) const
    {
        const std::string path = Folder() + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    static std::string Bytes(const std::string& path) { return ReadWholeFile(path); }

    std::vector<std::wstring> Reloaded() const
    {
        CMacroLibrary again;
        again.SetFolder(Folder());
        again.Load();
        return again.Names();
    }

    QTemporaryDir folder_;
    CMacroLibrary library_;
};

TEST_F(MacroLibraryTest, NewNamesTakeTheSmallestFreeNumber)
{
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(library_.Add());
    ASSERT_TRUE(library_.Remove(1));
    ASSERT_EQ(library_.Add(), 2u);
    EXPECT_EQ(library_.Names(), (std::vector<std::wstring>{L"macro_1", L"macro_3", L"macro_2"}));
    EXPECT_EQ(Reloaded(), library_.Names());
    // Identifiers are unique even when made within one millisecond.
    EXPECT_NE(library_.Entries()[0].guid, library_.Entries()[2].guid);
}

TEST_F(MacroLibraryTest, FiftyMacrosAreTheLimit)
{
    for (size_t i = 0; i < kMaxMacros; ++i)
        ASSERT_TRUE(library_.Add());
    EXPECT_FALSE(library_.Add());
    EXPECT_EQ(Reloaded().size(), kMaxMacros);
}

TEST_F(MacroLibraryTest, RenameRefusals)
{
    library_.Add();
    library_.Add();
    struct Case {
        size_t index;
        std::wstring name;
        MacroRename result;
    };
    const Case cases[] = {
        {5, L"x", MacroRename::kNothingSelected},
        {0, L" lead", MacroRename::kStartsWithSpace},
        {0, L"\t \t", MacroRename::kEmpty},
        {0, L"MACRO_1", MacroRename::kTaken},  // its own name, other case
        {0, L"Macro_2", MacroRename::kTaken},
        {0, L"jump \u00e9", MacroRename::kRenamed},
    };
    for (const Case& c : cases)
        EXPECT_EQ(library_.Rename(c.index, c.name), c.result) << WideToUtf8(c.name);
    EXPECT_EQ(Reloaded(), (std::vector<std::wstring>{L"jump \u00e9", L"macro_2"}));
    EXPECT_STREQ(MacroRenameMessage(MacroRename::kEmpty), "message_text_5_1");
}

TEST_F(MacroLibraryTest, StepsSurviveASaveAndTheFileHasItsFixedKeys)
{
    library_.Add();
    const std::vector<MacroEvent> steps = {{true, 4, kMacroKey, 50}, {false, 4, kMacroKey, 10}};
    ASSERT_EQ(library_.SaveEvents(0, steps), MacroSave::kSaved);
    EXPECT_EQ(library_.ReadEvents(0), steps);
    const Json::Value file = ReadJsonFile(library_.MacroPath(0));
    EXPECT_EQ(file["Version"].asInt(), 64);
    EXPECT_EQ(file["MacroName"].asString(), "macro_1");
    EXPECT_EQ(file["Events"][0]["Delay"], Json::Value("50"));
    EXPECT_EQ(library_.SaveEvents(3, steps), MacroSave::kNoIdentifier);
}

TEST_F(MacroLibraryTest, DamagedListReadsAsEmptyAndKeepsOtherKeysWhenWritten)
{
    Put("macro.config", "{\"MacroInfo\": 7}");
    library_.Load();
    EXPECT_TRUE(library_.Names().empty());
    Put("macro.config", "{\"Other\": 1, \"MacroInfo\": [{\"MacroName\": \"a\", \"Guid\": \"g\", \"Extra\": 2}]}");
    library_.Load();
    ASSERT_EQ(library_.Names(), std::vector<std::wstring>{L"a"});
    ASSERT_TRUE(library_.Add());
    const Json::Value list = ReadJsonFile(Folder() + "macro.config");
    EXPECT_EQ(list["Other"].asInt(), 1);
    EXPECT_EQ(list["MacroInfo"][0]["Extra"].asInt(), 2);
}

TEST_F(MacroLibraryTest, ImportingOneFileThreeTimesCountsTheNamesOn)
{
    const std::string path = Put("abc.mac", "{\"Events\": [{\"Action\": \"down\", \"Button\": 4, \"Type\": 10, "
                                            "\"Delay\": \"20\"}], \"Version\": 64}");
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(library_.Import(path), MacroImport::kImported);
    EXPECT_EQ(library_.Names(), (std::vector<std::wstring>{L"abc", L"abc1", L"abc12"}));
    EXPECT_EQ(Bytes(library_.MacroPath(2)), Bytes(path));
    const std::string exported = Folder() + "out.mac";
    ASSERT_TRUE(library_.Export(1, exported));
    EXPECT_EQ(Bytes(exported), Bytes(path));
}

TEST_F(MacroLibraryTest, FilesThatAreNotAMacroAreRefusedWithoutChangingAnything)
{
    library_.Add();
    const std::string listBefore = Bytes(Folder() + "macro.config");
    std::string sixtyOne = "{\"Events\": [";
    for (int i = 0; i < 61; ++i)
        sixtyOne += std::string(i ? "," : "") + "{\"Action\": \"up\", \"Button\": 4, \"Type\": 10, \"Delay\": \"1\"}";
    sixtyOne += "]}";
    struct Case {
        std::string name;
        std::string bytes;
        MacroImport result;
    };
    const Case cases[] = {
        {"a.mac", "not json", MacroImport::kNotAMacro},
        {"b.mac", "[1, 2]", MacroImport::kNotAMacro},
        {"c.mac", "{\"Events\": {}}", MacroImport::kNotAMacro},
        {"d.mac", "{\"Events\": [{\"Action\": \"sideways\", \"Button\": 4, \"Type\": 10, \"Delay\": \"1\"}]}",
         MacroImport::kNotAMacro},
        {"e.mac", "{\"Events\": [{\"Action\": \"up\", \"Button\": \"4\", \"Type\": 10, \"Delay\": \"1\"}]}",
         MacroImport::kNotAMacro},
        {"f.mac", sixtyOne, MacroImport::kTooManyEvents},
        {"abcdefghijk.mac", "{\"Events\": []}", MacroImport::kNameTooLong},
    };
    for (const Case& c : cases)
        EXPECT_EQ(library_.Import(Put(c.name, c.bytes)), c.result) << c.name;
    EXPECT_EQ(library_.Import(Folder() + "missing.mac"), MacroImport::kNotAMacro);
    EXPECT_EQ(library_.Import(""), MacroImport::kEmptyPath);
    EXPECT_EQ(Bytes(Folder() + "macro.config"), listBefore);
    EXPECT_EQ(library_.Names().size(), 1u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Folder()), {}), 1 + 7);  // list and the inputs
    EXPECT_STREQ(MacroImportMessage(MacroImport::kTooManyEvents), "message_text_39");
}

TEST_F(MacroLibraryTest, FilesOverSixteenMebibytesAreRefusedUnread)
{
    const std::string path = Folder() + "big.mac";
    std::filesystem::resize_file(Put("big.mac", "{}"), kMaxJsonFileSize + 1);
    EXPECT_EQ(library_.Import(path), MacroImport::kTooLarge);
    EXPECT_TRUE(library_.Names().empty());
}

KeyListEntry Key(uint16_t number, KeyFunctionCode assigned)
{
    return {number, assigned, number, {0x10, static_cast<uint8_t>(number), 0}};
}

TEST(MacroBindings, DeletingAMacroResetsItsKeysAndShiftsLaterOnes)
{
    std::vector<KeyListEntry> keys = {Key(1, {0x70, 0, 2}), Key(2, {0x71, 1, 5}), Key(3, {0x70, 2, 1}),
                                      Key(4, {0x20, 2, 4})};
    EXPECT_TRUE(KeyListUsesMacro(keys, 1));
    EXPECT_TRUE(RepairMacroBindings(keys, 1));
    EXPECT_EQ(keys[0].assigned, (KeyFunctionCode{0x70, 0, 2}));
    EXPECT_EQ(keys[1].assigned, (KeyFunctionCode{0x10, 2, 0}));  // its default
    EXPECT_EQ(keys[2].assigned, (KeyFunctionCode{0x70, 1, 1}));
    EXPECT_EQ(keys[3].assigned, (KeyFunctionCode{0x20, 2, 4}));  // not a macro
    EXPECT_FALSE(KeyListUsesMacro(keys, 2));
    EXPECT_FALSE(RepairMacroBindings(keys, 5));
}

TEST(MacroBindings, KeysSharingAMacroShareOneImagePlace)
{
    const std::vector<KeyListEntry> keys = {Key(1, {0x70, 3, 0}), Key(2, {0x71, 1, 4}), Key(3, {0x70, 3, 2}),
                                            Key(4, {0x70, 9, 0})};
    const std::vector<int> used = CollectUsedMacros(keys, 4);
    EXPECT_EQ(used, (std::vector<int>{3, 1}));
    EXPECT_EQ(DeviceKeyCode(keys[0], used), (KeyFunctionCode{0x70, 0, 0}));
    EXPECT_EQ(DeviceKeyCode(keys[1], used), (KeyFunctionCode{0x71, 1, 4}));
    EXPECT_EQ(DeviceKeyCode(keys[2], used), (KeyFunctionCode{0x70, 0, 2}));
    EXPECT_EQ(DeviceKeyCode(keys[3], used), keys[3].defaultCode);  // no macro 9
}

class MacroDeletionTest : public MacroLibraryTest {
protected:
    void SetUp() override
    {
        MacroLibraryTest::SetUp();
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(library_.Add());
        // Key 0 on macro 1, key 1 on macro 2; defaults 0x100100 and 0x100200.
        others_ = {Put("a.Json", Profile(0x700100, 0x710203)), Put("b.Json", Profile(0x200004, 0x700000))};
    }

    static std::string Profile(int first, int second)
    {
        return "{\"Device\": [{\"KeyList\": [{\"Assignment\": " + std::to_string(first) +
               ", \"DefaultAssignment\": 1048832}, {\"Assignment\": " + std::to_string(second) +
               ", \"DefaultAssignment\": 1049088}]}]}";
    }

    std::vector<int> Assignments(const std::string& path) const
    {
        std::vector<int> codes;
        const Json::Value profile = ReadJsonFile(path);
        for (const Json::Value& key : profile["Device"][0]["KeyList"])
            codes.push_back(key["Assignment"].asInt());
        return codes;
    }

    std::vector<std::string> others_;
    CBasicProfiledata profile_;
    std::vector<KeyListEntry> current_ = {Key(0, {0x70, 1, 0})};
};

TEST_F(MacroDeletionTest, DecliningLeavesEveryProfileAndTheListAsTheyWere)
{
    const std::string before = Bytes(others_[0]);
    int asked = 0;
    const MacroDeletion deletion =
        DeleteMacroAndRepairBindings(library_, 1, profile_, others_, current_, [&] { return ++asked, false; });
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(deletion.deleted);
    EXPECT_EQ(Bytes(others_[0]), before);
    EXPECT_EQ(library_.Entries().size(), 3u);
    EXPECT_EQ(current_[0].assigned, (KeyFunctionCode{0x70, 1, 0}));
}

TEST_F(MacroDeletionTest, AcceptingRepairsEveryProfile)
{
    const MacroDeletion deletion =
        DeleteMacroAndRepairBindings(library_, 1, profile_, others_, current_, [] { return true; });
    EXPECT_TRUE(deletion.deleted);
    EXPECT_TRUE(deletion.currentKeysChanged);
    EXPECT_TRUE(deletion.unsavedProfiles.empty());
    EXPECT_EQ(Reloaded(), (std::vector<std::wstring>{L"macro_1", L"macro_3"}));
    EXPECT_EQ(Assignments(others_[0]), (std::vector<int>{0x100100, 0x710103}));
    EXPECT_EQ(Assignments(others_[1]), (std::vector<int>{0x200004, 0x700000}));
    EXPECT_EQ(current_[0].assigned, current_[0].defaultCode);
}

TEST_F(MacroDeletionTest, AMacroNoCurrentKeyUsesIsDeletedWithoutAsking)
{
    const MacroDeletion deletion = DeleteMacroAndRepairBindings(library_, 0, profile_, others_, current_, [] {
        ADD_FAILURE() << "asked";
        return false;
    });
    EXPECT_TRUE(deletion.deleted);
    EXPECT_EQ(current_[0].assigned, (KeyFunctionCode{0x70, 0, 0}));
    EXPECT_EQ(Assignments(others_[1]), (std::vector<int>{0x200004, 0x100200}));
}

TEST_F(MacroLibraryTest, ImageOfUsedMacrosRespectsTheDeviceMemory)
{
    library_.Add();
    library_.Add();
    library_.SaveEvents(0, std::vector<MacroEvent>(3, {true, 4, kMacroKey, 20}));
    library_.SaveEvents(1, std::vector<MacroEvent>(61, {true, 5, kMacroKey, 20}));
    std::vector<uint8_t> image;
    EXPECT_EQ(BuildMacroImage(library_, {0}, 128, true, image), 0);
    EXPECT_EQ(image.size(), 34u);
    EXPECT_EQ(BuildMacroImage(library_, {1}, 4096, true, image), 61);  // over 60 events
    // 16 + 12 + 4 * 64 = 284 bytes in 256: (28 / 4) + 1 events too many.
    EXPECT_EQ(BuildMacroImage(library_, {0, 1}, 256, false, image), 8);
}

}  // namespace
