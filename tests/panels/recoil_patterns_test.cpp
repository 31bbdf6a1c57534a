// Recoil pattern files: bullets stored and shown, defaults restored, imports
// checked, and the image built from the four working files.

#include "panels/macro_image.h"
#include "panels/recoil_patterns.h"
#include "profiles/json_file.h"
#include "profiles/profile_paths.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

class RecoilTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root_.isValid());
        std::filesystem::create_directories(Working());
        std::filesystem::create_directories(Defaults());
        patterns_.SetFolders(Working(), Defaults());
    }

    std::string Working() const { return root_.path().toStdString() + "/mouse/"; }
    std::string Defaults() const { return root_.path().toStdString() + "/DefaultData/"; }

    static void Put(const std::string& path, const std::string& bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    Json::Value Working(int pattern) const { return ReadJsonFile(patterns_.WorkingPath(pattern)); }

    QTemporaryDir root_;
    CRecoilPatterns patterns_;
};

TEST_F(RecoilTest, FileNamesCarryThePatternNumber)
{
    EXPECT_EQ(RecoilFileName(0), "ShootData_0.Shoot");
    EXPECT_EQ(RecoilFileName(3), "ShootData_3.Shoot");
}

TEST_F(RecoilTest, StoringBulletFiveIntoAnEmptyPatternLeavesNullsBeforeIt)
{
    const RecoilBullet bullet{3, 12, 90, true, false};
    ASSERT_TRUE(patterns_.StoreBullet(1, 5, bullet));
    const Json::Value file = Working(1);
    const Json::Value& events = file["Events"];
    ASSERT_EQ(events.size(), 36u);
    for (Json::ArrayIndex i = 0; i < 30; ++i)
        EXPECT_TRUE(events[i].isNull()) << i;
    EXPECT_EQ(events[33]["Delay"], Json::Value(90));  // a number, not text
    EXPECT_EQ(patterns_.ReadBullet(1, 5), bullet);
    EXPECT_EQ(patterns_.ReadBullet(1, 4), RecoilBullet{});
    const auto image = UnpackMacroImage(*patterns_.BuildImage());
    ASSERT_TRUE(image);
    ASSERT_EQ(image->blocks[1].size(), 36u);
    EXPECT_EQ(image->blocks[1][0], DeviceMacroEvent{});  // a null step: four zero bytes
    EXPECT_EQ(image->blocks[1][33], (DeviceMacroEvent{90, 0x05, 12}));
}

TEST_F(RecoilTest, StoredValuesAreHeldToWhatTheDeviceCanKeep)
{
    ASSERT_TRUE(patterns_.StoreBullet(0, 0, {300, -4, 70000, false, true}));
    EXPECT_EQ(patterns_.ReadBullet(0, 0), (RecoilBullet{255, 0, 65535, false, true}));
}

TEST_F(RecoilTest, StoringABulletKeepsTheRestOfTheFile)
{
    Put(patterns_.WorkingPath(2), "{\"Name\": \"AK\", \"Events\": [{\"Action\": \"DOWN\", \"Button\": 7, \"Type\": 4, "
                                  "\"Delay\": 5}, 1, 2, {\"Action\": \"Down\", \"Button\": 8, \"Type\": 5, \"Delay\": 40}]}");
    EXPECT_EQ(patterns_.ReadBullet(2, 0), (RecoilBullet{0, 8, 40, false, true}));
    ASSERT_TRUE(patterns_.StoreBullet(2, 1, {1, 1, 1, false, false}));
    const Json::Value file = Working(2);
    EXPECT_EQ(file["Name"].asString(), "AK");
    EXPECT_EQ(file["Events"][0]["Button"].asInt(), 7);
    EXPECT_EQ(file["Events"].size(), 12u);
}

TEST_F(RecoilTest, MissingOrDamagedWorkingFilesGetTheirDefaults)
{
    for (int g = 0; g < kRecoilPatternCount; ++g)
        Put(patterns_.DefaultPath(g), "{\"Events\": [], \"Pattern\": " + std::to_string(g) + "}");
    Put(patterns_.WorkingPath(1), "{damaged");
    Put(patterns_.WorkingPath(2), "{\"Events\": [], \"Pattern\": 9}");
    patterns_.RestoreDamagedPatterns();
    EXPECT_EQ(Working(0)["Pattern"].asInt(), 0);
    EXPECT_EQ(Working(1)["Pattern"].asInt(), 1);
    EXPECT_EQ(Working(2)["Pattern"].asInt(), 9);  // readable: kept
}

TEST_F(RecoilTest, ResetWithoutADefaultLeavesTheWorkingFileAlone)
{
    Put(patterns_.WorkingPath(0), "{\"Events\": [], \"Mine\": 1}");
    EXPECT_FALSE(patterns_.ResetGun(0));
    EXPECT_EQ(Working(0)["Mine"].asInt(), 1);
}

TEST_F(RecoilTest, ImportsThatAreNotAPatternAreRefused)
{
    Put(patterns_.WorkingPath(0), "{\"Events\": [], \"Mine\": 1}");
    std::string full = "{\"Events\": [null";
    for (size_t i = 1; i < kMaxRecoilEvents; ++i)
        full += ", {\"Action\": \"up\", \"Button\": 0, \"Type\": 5, \"Delay\": 0}";
    struct Case {
        std::string bytes;
        RecoilImport result;
    };
    const Case cases[] = {
        {"", RecoilImport::kNotAPattern},
        {"[]", RecoilImport::kNotAPattern},
        {"{\"Events\": 3}", RecoilImport::kNotAPattern},
        {"{\"Events\": [{\"Action\": \"up\", \"Button\": 1, \"Type\": 1, \"Delay\": \"10\"}]}",
         RecoilImport::kNotAPattern},
        {full + ", null]}", RecoilImport::kNotAPattern},  // 181 events
        {full + "], \"Gun\": 2}", RecoilImport::kImported},
    };
    const std::string source = Defaults() + "in.shoot";
    for (const Case& c : cases) {
        Put(source, c.bytes);
        EXPECT_EQ(patterns_.ImportRecoilFile(0, source), c.result) << c.bytes.substr(0, 40);
        if (c.result != RecoilImport::kImported) {
            EXPECT_EQ(Working(0)["Mine"].asInt(), 1);
        }
    }
    EXPECT_EQ(ReadWholeFile(patterns_.WorkingPath(0)), ReadWholeFile(source));
    EXPECT_EQ(patterns_.ImportRecoilFile(0, ""), RecoilImport::kEmptyPath);
    EXPECT_STREQ(RecoilImportMessage(RecoilImport::kNotAPattern), "message_text_recoil_import");
}

TEST_F(RecoilTest, ExportCopiesTheWorkingFileTextUnchanged)
{
    Put(patterns_.WorkingPath(3), "{ \"Events\" : [] }\n");
    const std::string out = Defaults() + "out.shoot";
    ASSERT_TRUE(patterns_.ExportRecoilFile(3, out));
    EXPECT_EQ(ReadWholeFile(out), "{ \"Events\" : [] }\n");
    EXPECT_FALSE(patterns_.ExportRecoilFile(2, out));  // no working file
    EXPECT_EQ(ReadWholeFile(out), "{ \"Events\" : [] }\n");
}

TEST_F(RecoilTest, PatternsTooLargeForTheImageAreNotBuilt)
{
    Json::Value big(Json::objectValue);
    for (int i = 0; i < 16400; ++i)
        big["Events"].append(Json::Value());
    ASSERT_EQ(WriteJsonFile(patterns_.WorkingPath(0), big), 0);
    EXPECT_FALSE(patterns_.BuildImage());
}

TEST_F(RecoilTest, ShippedDefaultsAreFourFullPatterns)
{
    patterns_.SetFolders(Working(), GetDefaultDataDirectory());
    for (int g = 0; g < kRecoilPatternCount; ++g)
        ASSERT_EQ(patterns_.ImportRecoilFile(g, patterns_.DefaultPath(g)), RecoilImport::kImported) << g;
    const auto image = patterns_.BuildImage();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), 2920u);
}

}  // namespace
