// The profile panel on a small page of its own: the combo box follows the
// list, and the page reloads (and writes the device) whenever another profile
// becomes current, whoever made it so.

#include "platform/folders.h"
#include "profiles/device_profile_ui.h"
#include "profiles/operation_tabs.h"
#include "profiles/profile_paths.h"
#include "ui/control.h"
#include "ui/ui_init.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class FollowingPage : public CVelmoraUSBDevice {
public:
    void ReloadProfile() override { loaded.push_back(Profiles().GetCurrentProfileId()); }
    int WriteSettings(int, int, int, int, int) override { return ++settingsWrites; }
    int WriteCurrentKeys() override { return ++keyWrites; }
    std::vector<std::string> loaded;
    int settingsWrites = 0;
    int keyWrites = 0;
};

class StandInWindowSource : public IActiveWindowSource {
public:
    explicit StandInWindowSource(bool supported, ProgramNames* front) : supported_(supported), front_(front) {}
    bool IsSupported() const override { return supported_; }
    ProgramNames ActiveProgram() override { return *front_; }

private:
    bool supported_;
    ProgramNames* front_;
};

}  // namespace

class DeviceProfileUITest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(PrepareToolkit(QString::fromStdString(ResourceFolder(kSkinFolderName))));
        SetProfileFolders(home.path().toStdString() + "/", ResourceFolder("DefaultData"));
        page.SetFamilyName(QString::fromLatin1(kMouseFamilyName));
        page.SetDeviceKind(2);
        panel = new CDeviceProfileUI(&page);
        panel->setObjectName("DeviceProfileItem");
        panel->SetPage(&page);
        panel->SetActiveWindowSource(std::make_unique<StandInWindowSource>(true, &front));
        page.loaded.clear();
    }
    void TearDown() override { SetProfileFolders({}, {}); }

    int Command(const char* name, const QString& text = {})
    {
        PageEvent event = PageEvent::Of("command", name, 0, 0, text);
        event.feature = PageFeature::Profiles;
        return page.HandleFeatureEvent(event);
    }
    CControlUI Control(const char* name) { return FindSubControlByName(panel, QString::fromLatin1(name)); }
    QStringList ComboTexts()
    {
        QStringList texts;
        const CControlUI combo = Control("device_profile_combo");
        for (int i = 0; i < combo.GetCount(); ++i)
            texts << combo.GetItemText(i);
        return texts;
    }

    QTemporaryDir home;
    ProgramNames front;
    FollowingPage page;
    CDeviceProfileUI* panel = nullptr;
};

TEST_F(DeviceProfileUITest, CommandsKeepTheComboAndThePageInStep)
{
    EXPECT_EQ(ComboTexts(), QStringList{"Profile1"});
    const int done = ProfileCommandAnswer(ProfileResult::Done);

    EXPECT_EQ(Command("device_add_btn"), done);  // the new profile is current at once
    EXPECT_EQ(ComboTexts(), (QStringList{"Profile1", "Profile2"}));
    EXPECT_EQ(Control("device_profile_combo").GetCurSel(), 1);
    EXPECT_EQ(page.loaded, std::vector<std::string>{page.Profiles().GetCurrentProfileId()});
    EXPECT_EQ(page.settingsWrites, 1);
    EXPECT_EQ(page.keyWrites, 1);

    EXPECT_EQ(Command("device_copy_btn"), done);  // the copy stays behind
    EXPECT_EQ(ComboTexts(), (QStringList{"Profile1", "Profile2", "Profile2 copy"}));
    EXPECT_EQ(Control("device_profile_combo").GetCurSel(), 1);
    EXPECT_EQ(page.loaded.size(), 1u);

    EXPECT_EQ(Command("device_profile_edit_save_btn", "Profile1"), ProfileCommandAnswer(ProfileResult::NameInUse));
    EXPECT_EQ(Control("device_profile_name_edit").GetText(), "Profile2");  // the refused name goes
    EXPECT_EQ(Command("device_profile_edit_save_btn", "Shooter"), done);
    EXPECT_EQ(Control("device_profile_combo").GetItemText(1), "Shooter");

    EXPECT_EQ(Command("device_sub_btn"), done);  // the page moves to the one before
    EXPECT_EQ(ComboTexts(), (QStringList{"Profile1", "Profile2 copy"}));
    EXPECT_EQ(Control("device_profile_name_edit").GetText(), "Profile1");
    EXPECT_EQ(page.loaded.back(), page.Profiles().Entries()[0].id);

    Control("device_profile_combo").SelectItem(1, false);
    PageEvent chosen = PageEvent::Of("timer", "device_profile_combo");
    chosen.feature = PageFeature::Profiles;
    EXPECT_EQ(page.HandleFeatureEvent(chosen), done);
    EXPECT_EQ(page.loaded.back(), page.Profiles().Entries()[1].id);
    EXPECT_EQ(Command("device_import_btn", home.filePath("missing.json")),
              ProfileCommandAnswer(ProfileResult::NotAProfile));
}

TEST_F(DeviceProfileUITest, ABoundProgramInFrontSelectsItsProfileUntilItLeaves)
{
    Command("device_add_btn");  // Profile2, current
    auto* programs = panel->findChild<QLineEdit*>("profile_bind_programs_edit");
    ASSERT_TRUE(programs && programs->isEnabled());
    programs->setText(" game.exe ,, game.exe");
    emit programs->editingFinished();
    EXPECT_EQ(programs->text(), "game.exe");
    page.Profiles().SelectProfile(0);
    page.loaded.clear();

    front = {"game.exe", "game.exe"};
    panel->Bindings()->Poll();
    EXPECT_EQ(Control("device_profile_combo").GetCurSel(), 1);
    EXPECT_EQ(page.loaded, std::vector<std::string>{page.Profiles().Entries()[1].id});
    front = {"editor", "editor"};
    panel->Bindings()->Poll();
    EXPECT_EQ(Control("device_profile_combo").GetCurSel(), 0);
}

TEST_F(DeviceProfileUITest, WhereTheDesktopDoesNotTellTheOptionSaysSoAndStaysOff)
{
    panel->SetActiveWindowSource(std::make_unique<StandInWindowSource>(false, &front));
    EXPECT_FALSE(Control("profile_bind_check").IsEnabled());
    EXPECT_FALSE(Control("profile_bind_check").IsSelected());
    EXPECT_FALSE(Control("profile_bind_programs_edit").IsEnabled());
    EXPECT_TRUE(Control("profile_bind_unsupported_text").IsVisible());
}

TEST(OperationTabs, EachKindHidesAndShowsItsTabs)
{
    struct Case {
        int kind;
        int tab;
        bool shown;
    };
    for (const Case& c : std::initializer_list<Case>{
             {1, 5, false}, {1, 2, true}, {1, 6, false},
             {2, 5, true}, {6, 2, true}, {2, 7, false}, {6, 8, false},
             {3, 2, false}, {3, 4, false}, {3, 1, true},
             {4, 4, true}, {4, 3, false},
             {7, 6, true}, {7, 8, true}, {7, 2, false}, {7, 9, true},
             {0, 5, true}, {0, 6, false},
         })
        EXPECT_EQ(OperationTabShown(c.kind, c.tab), c.shown) << c.kind << " " << c.tab;
}
