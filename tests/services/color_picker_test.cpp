// The colour picker: its swatch file, and the window as the user drives it.

#include "platform/folders.h"
#include "profiles/json_file.h"
#include "services/color_select_wnd.h"
#include "ui/ui_init.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>

namespace {

class SwatchFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder_.isValid()); }
    std::string Path(const char* name) const { return folder_.path().toStdString() + "/" + name; }
    CColorSwatchFile File() const { return {Path("user.config"), Path("default.config")}; }
    Json::Value User() const { return ReadJsonFile(Path("user.config")); }

    QTemporaryDir folder_;
};

TEST(ColorText, EightUpperCaseDigits)
{
    EXPECT_EQ(ColorToHexText(0xFF00FF00), "FF00FF00");
    EXPECT_EQ(ColorToHexText(0xFFFFFFFF), "FFFFFFFF");
    EXPECT_EQ(ColorToHexText(0x0000000A), "0000000A");
    EXPECT_EQ(ColorFromHexText("ff00ff00"), 0xFF00FF00u);
    EXPECT_EQ(ColorFromHexText("zz"), 0u);
}

TEST_F(SwatchFileTest, WithoutFilesTheUserFileStartsNullAndAPresetMakesItAnObject)
{
    File().PrepareUserFile();
    EXPECT_EQ(ReadWholeFile(Path("user.config")), StyledJsonText(Json::Value()));
    EXPECT_FALSE(File().SelectedPreset());
    ASSERT_TRUE(File().SavePresets({{0, 0xFFFF0000}, {1, 0xFF00FF00}}, 1));
    EXPECT_EQ(User()["coloroptioninfo"]["palletDialogcoloroption"][1]["color"].asString(), "FF00FF00");
    EXPECT_EQ(File().SelectedPreset(), 1);
}

TEST_F(SwatchFileTest, TheDefaultFileStartsAMissingUserFile)
{
    std::ofstream(Path("default.config")) << R"({"coloroptioninfo": {"palletDialogcoloroption_selectitem": 7}})";
    File().PrepareUserFile();
    EXPECT_EQ(File().SelectedPreset(), 7);
}

TEST_F(SwatchFileTest, UserSwatchesKeepTheRestOfTheFile)
{
    std::ofstream(Path("user.config")) << R"({"mine": 1, "coloroptioninfo": {"palletDialogcoloroption_selectitem": 3}})";
    ASSERT_TRUE(File().SaveUserSwatches({{2, {0xFF123456, "1"}}, {3, {0xFFFFFFFF, ""}}}, 2));
    EXPECT_EQ(User()["mine"].asInt(), 1);
    EXPECT_EQ(File().SelectedPreset(), 3);
    const std::map<int, UserSwatch> swatches = File().UserSwatches();
    EXPECT_EQ(swatches.at(2), (UserSwatch{0xFF123456, "1"}));
    EXPECT_EQ(swatches.at(3), (UserSwatch{0xFFFFFFFF, ""}));
    EXPECT_FALSE(swatches.count(0));  // null entries before the first stored one
    EXPECT_TRUE(File().HasUserSelection());
}

TEST_F(SwatchFileTest, DamagedShapesAreReplacedNotTrustedAndNeverThrow)
{
    for (const char* damaged : {"[1, 2]", R"({"coloroptioninfo": 5})",
                                R"({"coloroptioninfo": {"palletDialogcollectcoloroption": {"a": 1}}})",
                                R"({"coloroptioninfo": {"palletDialogcollectcoloroption": [7, "x", {"color": 3}]}})"}) {
        std::ofstream(Path("user.config"), std::ios::trunc) << damaged;
        EXPECT_TRUE(File().UserSwatches().empty()) << damaged;
        ASSERT_TRUE(File().SaveUserSwatches({{1, {0xFF010203, "1"}}}, 1)) << damaged;
        EXPECT_EQ(File().UserSwatches().at(1).color, 0xFF010203u) << damaged;
    }
}

// The window, with its swatch file in a folder of its own.
class PickerTest : public SwatchFileTest {
protected:
    void SetUp() override
    {
        SwatchFileTest::SetUp();
        ASSERT_TRUE(PrepareToolkit(QString::fromStdString(ResourceFolder(kSkinFolderName))));
        picker_ = new CColorSelectWnd(File());
        ASSERT_TRUE(picker_->Create(nullptr, QStringLiteral("PalletDialog")));
        picker_->SetColor(0xFF0A141E);
        Raise("windowinit", picker_->GetRoot());
    }
    void TearDown() override { delete picker_.data(); }

    CControlUI Control(const QString& name) const { return picker_->FindControl(name); }
    void Raise(const char* type, QWidget* sender, WPARAM wParam = 0)
    {
        TNotifyUI msg;
        msg.sType = QString::fromLatin1(type);
        msg.pSender = sender;
        msg.wParam = wParam;
        picker_->DeliverNotify(msg);
    }
    void Select(const QString& name)
    {
        Control(name).SetSelected(true, false);
        Raise("selectchanged", Control(name).Widget(), 1);
    }
    void Type(const char* edit, const char* text)
    {
        Control(QString::fromLatin1(edit)).SetText(QString::fromLatin1(text));
        Raise("killfocus", Control(QString::fromLatin1(edit)).Widget());
    }

    QPointer<CColorSelectWnd> picker_;
};

TEST_F(PickerTest, TypedComponentsAreHeldAndComposed)
{
    Type("color_edit_g", "300");
    EXPECT_EQ(Control("color_edit_g").GetText(), "255");
    EXPECT_EQ(picker_->GetColor(), 0xFF0AFF1Eu);
    Type("color_edit_b", "");
    EXPECT_EQ(Control("color_edit_b").GetText(), "0");
    EXPECT_EQ(picker_->GetColor(), 0xFF0AFF00u);
    EXPECT_EQ(Control("color_show_btn").GetBkColor(), 0xFF0AFF00u);
}

TEST_F(PickerTest, AnEmptyUserSwatchTakesThePresetChosenNext)
{
    Select("collect_color_option_3");
    Select("color_option_7");
    const uint32_t preset = Control("color_option_7").GetBkColor();
    EXPECT_EQ(picker_->GetColor(), preset);
    EXPECT_EQ(Control("collect_color_option_3").GetUserData(), "1");
    EXPECT_EQ(File().UserSwatches().at(3), (UserSwatch{preset, "1"}));
    EXPECT_EQ(File().SelectedPreset(), 7);
    EXPECT_EQ(User()["coloroptioninfo"]["palletDialogcoloroption"][7]["color"].asString(), ColorToHexText(preset));
}

TEST_F(PickerTest, AReopenedPickerStoresIntoNoSwatchUntilOneIsChosen)
{
    Select("collect_color_option_3");
    Type("color_edit_r", "1");
    delete picker_.data();
    picker_ = new CColorSelectWnd(File());
    ASSERT_TRUE(picker_->Create(nullptr, QStringLiteral("PalletDialog")));
    Raise("windowinit", picker_->GetRoot());
    EXPECT_EQ(Control("collect_color_option_3").GetBkColor(), 0xFF01141Eu);  // shown again
    Control("collect_color_option_0").SetSelected(true, false);
    Type("color_edit_r", "2");
    EXPECT_NE(Control("collect_color_option_0").GetUserData(), "1");
}

TEST_F(PickerTest, ConfirmingHandsBackThePreview)
{
    Type("color_edit_r", "200");
    Raise("click", Control("okbtn").Widget());
    EXPECT_TRUE(picker_->IsClosed());
    EXPECT_EQ(picker_->GetColor(), 0xFFC8141Eu);
}

}  // namespace
