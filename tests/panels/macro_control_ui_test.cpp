// The macro editor bound to its layout: recording from hook events, mouse
// steps and moves saved at once, delay edits, and the refusals it shows.

#include "panels/macro_control_ui.h"

#include "panels/macro_key_tables.h"
#include "platform/folders.h"
#include "profiles/json_file.h"
#include "ui/ui_init.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>

namespace {

class AnsweringMacroPanel : public CMacroControlUI {
public:
    std::vector<std::string> asked;
    int answer = 1;

protected:
    int Ask(const char* textId, bool) override
    {
        asked.emplace_back(textId);
        return answer;
    }
};

class MacroControlUITest : public ::testing::Test {
protected:
    // Before the panel is built from its layout.
    static void SetUpTestSuite() { PrepareToolkit(QString::fromStdString(ResourceFolder(kSkinFolderName))); }
    void SetUp() override
    {
        panel.SetMacroFolder(folder.path().toStdString() + "/");
        panel.LoadMacroList();
        ASSERT_EQ(Run("click", "macro_btn_name_add"), 1);
    }
    int Run(const char* type, const char* name, const QString& text = {})
    {
        return panel.HandleFeatureEvent(PageEvent::Of(type, name, 0, 0, text));
    }
    void Key(const char* message, uint32_t keyMessage, uint32_t scanCode)
    {
        HookKeyRecord record{0, scanCode, 0};
        panel.HandleFeatureEvent(
            PageEvent::Of("message", message, keyMessage, reinterpret_cast<int64_t>(&record)));
    }
    std::vector<MacroEvent> Saved() const
    {
        return EventsOfDocument(ReadJsonFile(panel.Library().MacroPath(0)));
    }
    QListWidget* Rows() const { return panel.findChild<QListWidget*>("macro_action_list"); }

    QTemporaryDir folder;
    AnsweringMacroPanel panel;
};

TEST_F(MacroControlUITest, RecordingFillsTheRowsAndStoppingSavesThem)
{
    EXPECT_EQ(panel.asked, (std::vector<std::string>{"message_text_29"}));
    EXPECT_EQ(panel.SelectedMacro(), 0);
    EXPECT_EQ(Run("click", "macro_btn_starredio"), static_cast<int>(CaptureTarget::kAppend));
    EXPECT_FALSE(panel.findChild<QWidget*>("macro_btn_starredio")->isVisibleTo(&panel));
    EXPECT_TRUE(panel.findChild<QWidget*>("macro_btn_stopredio")->isVisibleTo(&panel));
    Key("WM_HOOK_KEY_KBMACRO_MSG", kKeyDownMessage, 0x1E);  // A
    Key("WM_HOOK_KEY_KBMACRO_MSG", kKeyDownMessage, 0x1E);  // its auto-repeat
    Key("WM_HOOK_KEY_KBMACRO_MSG", kKeyUpMessage, 0x1E);
    EXPECT_EQ(Rows()->count(), 2);
    EXPECT_TRUE(Saved().empty());  // saved when the capture stops

    EXPECT_EQ(Run("click", "macro_btn_stopredio"), kMacroCaptureEnded);
    const std::vector<MacroEvent> saved = Saved();
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_TRUE(saved[0].down);
    EXPECT_EQ(saved[0].type, kMacroKey);
    EXPECT_EQ(saved[0].button, 0x04);  // HID usage of A
    EXPECT_TRUE(panel.findChild<QWidget*>("macro_btn_starredio")->isVisibleTo(&panel));
    // Hook events after the capture add nothing.
    Key("WM_HOOK_KEY_KBMACRO_MSG", kKeyDownMessage, 0x30);
    EXPECT_EQ(Rows()->count(), 2);
}

TEST_F(MacroControlUITest, InsertedStepsMovesAndDelayEditsAreSaved)
{
    panel.findChild<QLineEdit*>("mouse_x_left_edit")->setText("300");  // one byte holds 255
    Run("click", "macro_inset_moveleftkey_btn");
    Run("menu", "left_click");
    ASSERT_EQ(Saved().size(), 3u);
    EXPECT_EQ(Saved()[0].type, kMacroHorizontalMove);
    EXPECT_EQ(Saved()[0].button, 255);
    EXPECT_TRUE(Saved()[1].down);
    EXPECT_FALSE(Saved()[2].down);

    Run("click", "macro_btn_uptop");  // the selected row: the inserted left up
    EXPECT_FALSE(Saved()[0].down);
    EXPECT_EQ(Saved()[0].type, kMacroMouseButton);

    auto* delay = Rows()->itemWidget(Rows()->item(1))->findChild<QLineEdit*>("macro_delay");
    ASSERT_NE(delay, nullptr);
    delay->setText("250");
    Run("killfocus", "macro_delay");
    EXPECT_EQ(Saved()[1].delay, 250);

    Rows()->setCurrentRow(1);
    Run("click", "macro_btn_delete");
    EXPECT_EQ(Saved().size(), 2u);
}

TEST_F(MacroControlUITest, RefusedImportsAndRenamesSayWhyAndChangeNothing)
{
    const std::string notAMacro = folder.path().toStdString() + "/junk.mac";
    std::ofstream(notAMacro) << "[1, 2, 3]";
    panel.asked.clear();
    EXPECT_EQ(Run("command", "macro_btn_import", QString::fromStdString(notAMacro)), 0);
    EXPECT_EQ(panel.asked, (std::vector<std::string>{"message_text_macro_import"}));
    EXPECT_EQ(panel.Library().Entries().size(), 1u);

    panel.asked.clear();
    panel.findChild<QLineEdit*>("macro_edit_macroname")->setText("  ");
    EXPECT_EQ(Run("click", "macro_btn_name_edit"), 0);
    EXPECT_EQ(panel.asked, (std::vector<std::string>{"message_text_25"}));
    EXPECT_EQ(panel.findChild<QLineEdit*>("macro_edit_macroname")->text(), "macro_1");
}

TEST_F(MacroControlUITest, DeletingAsksFirst)
{
    panel.answer = 0;
    EXPECT_EQ(Run("click", "macro_btn_name_sub"), 0);
    EXPECT_EQ(panel.Library().Entries().size(), 1u);
    panel.answer = 1;
    EXPECT_EQ(Run("click", "macro_btn_name_sub"), 1);
    EXPECT_TRUE(panel.Library().Entries().empty());
    EXPECT_FALSE(panel.findChild<QWidget*>("macro_action_layout")->isEnabled());
    EXPECT_EQ(Run("click", "macro_btn_starredio"), 0);  // nothing to record into
}

}  // namespace
