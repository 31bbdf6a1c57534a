#include "platform/settings_file.h"

#include "temp_home.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

class SettingsFileTest : public ::testing::Test {
protected:
    void WriteRaw(const std::string& text) { std::ofstream(SettingsFilePath(), std::ios::binary) << text; }
    TempXdgFolder configHome{"XDG_CONFIG_HOME"};
};

TEST_F(SettingsFileTest, LivesInConfigHome)
{
    EXPECT_EQ(fs::path(SettingsFilePath()).parent_path().string() + '/', configHome.Path());
}

TEST_F(SettingsFileTest, WithoutTheFileNothingIsReadAndALanguageChoiceCreatesIt)
{
    EXPECT_FALSE(ReadLanguageId());
    EXPECT_FALSE(ReadInstalledVersion());
    ASSERT_TRUE(WriteLanguageId(520));
    EXPECT_TRUE(SettingsFileExists());
    EXPECT_EQ(ReadLanguageId(), 520u);
    EXPECT_FALSE(ReadInstalledVersion());
}

TEST_F(SettingsFileTest, RecordingTheVersionCreatesTheFileThenLanguageIsKept)
{
    ASSERT_TRUE(RecordInstalledVersion("2.3.0.2"));
    EXPECT_TRUE(SettingsFileExists());
    EXPECT_EQ(ReadInstalledVersion(), "2.3.0.2");
    EXPECT_FALSE(ReadLanguageId());  // no value yet
    ASSERT_TRUE(WriteLanguageId(4294967295u));
    EXPECT_EQ(ReadLanguageId(), 4294967295u);
    ASSERT_TRUE(WriteLanguageId(1033));
    EXPECT_EQ(ReadLanguageId(), 1033u);
    EXPECT_EQ(ReadInstalledVersion(), "2.3.0.2");
}

// The installer's language fills an empty place only: an upgrade keeps the
// language the user chose.
TEST_F(SettingsFileTest, InstallationStoresItsLanguageOnlyWhenNoneIs)
{
    ASSERT_TRUE(RecordInstalledVersion("2.3.0.2", 520));
    EXPECT_EQ(ReadLanguageId(), 520u);
    ASSERT_TRUE(WriteLanguageId(510));
    ASSERT_TRUE(RecordInstalledVersion("2.3.0.3", 520));
    EXPECT_EQ(ReadInstalledVersion(), "2.3.0.3");
    EXPECT_EQ(ReadLanguageId(), 510u);
}

TEST_F(SettingsFileTest, DamagedValuesReadAsMissing)
{
    for (const char* text : {"[Software]\nLANGUAGE=abc\n", "[Software]\nLANGUAGE=-3\n",
                             "[Software]\nLANGUAGE=4294967296\n", "\x01\xff\xfe[[[=\n"}) {
        WriteRaw(text);
        EXPECT_FALSE(ReadLanguageId()) << text;
    }
}

TEST(VersionNumber, DotsDroppedRestReadAsDecimal)
{
    const struct {
        const char* text;
        int number;
    } cases[] = {
        {"2.3.0.2", 2302}, {"1.0", 10}, {"0106", 106}, {"7", 7},
        {"", 0},          {"...", 0},  {"2.x", 0},   {"-1", 0}, {" 1", 0}, {"99999999999", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VersionNumber(c.text), c.number) << c.text;
}
