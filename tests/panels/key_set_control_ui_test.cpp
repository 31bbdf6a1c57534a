// The key panel on a small mouse page of its own: codes go through the
// controls unchanged, and what the user picks is stored into the selected key
// at once.

#include "panels/key_functions.h"
#include "panels/key_set_control_ui.h"
#include "panels/macro_library.h"
#include "platform/folders.h"
#include "profiles/profile_paths.h"
#include "services/hook_message.h"
#include "ui/control.h"
#include "ui/ui_init.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr KeyFunctionCode kLeft{kFunctionMouseButton, kMouseButtonLeft, 0};
constexpr KeyFunctionCode kRight{kFunctionMouseButton, kMouseButtonRight, 0};

class KeyedPage : public CVelmoraUSBDevice {
public:
    std::vector<KeyListEntry> GetKeyList() const override { return keys; }
    void SetKeyList(const std::vector<KeyListEntry>& list) override { keys = list; }
    QString GetProfilePathText() override { return profilePath; }
    std::vector<KeyListEntry> keys;
    QString profilePath;
};

}  // namespace

class KeySetControlUITest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(PrepareToolkit(QString::fromStdString(ResourceFolder(kSkinFolderName))));
        SetProfileFolders(home.path().toStdString() + "/", ResourceFolder("DefaultData"));
        page.SetDeviceKind(2);
        page.SetFamilyName(QString::fromLatin1(kMouseFamilyName));
        page.keys = {{0, kLeft, 0, kLeft}, {1, kRight, 1, kRight}, {2, {kFunctionDpi, 3, 0}, 2, {kFunctionDpi, 3, 0}}};
        page.profilePath = home.filePath("profile.Json");
        QFile profile(page.profilePath);
        ASSERT_TRUE(profile.open(QIODevice::WriteOnly));
        profile.write("{}");
        profile.close();
        panel = new CKeySetControlUI(&page);
        panel->setObjectName("KeySetControlItem");
        panel->SetPage(&page);
        page.ShowFunctionPanel(2);
    }
    void TearDown() override { SetProfileFolders({}, {}); }

    int Send(const char* type, const QString& name, int index = -1, int64_t value = 0, int64_t extra = 0)
    {
        PageEvent event = PageEvent::Of(type, name, value, extra);
        event.feature = PageFeature::Keys;
        event.index = index;
        return page.HandleFeatureEvent(event);
    }
    CControlUI Control(const QString& name) { return FindSubControlByName(panel, name); }

    QTemporaryDir home;
    KeyedPage page;
    CKeySetControlUI* panel = nullptr;
};

TEST_F(KeySetControlUITest, CodesGoThroughTheControlsUnchanged)
{
    struct Case {
        KeyFunctionCode shown;
        KeyFunctionCode read;
    };
    for (const Case& c : std::initializer_list<Case>{
             {{0x10, 0x04, 0}, {0x10, 0x04, 0}},
             {{0x11, 0x23, 0x85}, {0x11, 0x23, 0x85}},
             {{0x12, 0x11, 0x85}, {0x12, 0x11, 0x85}},  // down, value 123
             {{0x13, 0x02, 0}, {0x13, 0x02, 0}},
             {{0x14, 0x05, 0x02}, {0x14, 0x0A, 0x02}},  // the interval rises to 10
             {{0x20, 0x01, 0x04}, {0x20, 0x01, 0x04}},
             {{0x30, 0xE9, 0x00}, {0x30, 0xE9, 0x00}},
             {{0x40, 0x02, 0}, {0x40, 0x02, 0}},
             {{0x72, 0x03, 0}, {0x72, 0x03, 0}},
             {{0xB0, 0x10, 0x06}, {0x00, 0, 0}},  // page 11 shows no row for a stored combination code
             {{0x00, 0, 0}, {0x00, 0, 0}},
         }) {
        panel->ShowKeyFunction(c.shown);
        EXPECT_EQ(panel->ReadKeyFunction(), c.read) << int(c.shown.type);
    }
    panel->ShowKeyFunction({0x12, 0x11, 0x85});
    EXPECT_EQ(Control("keyset_mousewheel_combo").GetCurSel(), 1);
    EXPECT_EQ(Control("keyset_mousewheel_speed_edit").GetText(), "123");
    panel->ShowKeyFunction({0x14, 0x05, 0x02});
    panel->ReadKeyFunction();
    EXPECT_EQ(Control("keyset_mousefire_interval_edit").GetText(), "10");
}

TEST_F(KeySetControlUITest, ThePickedFunctionIsStoredIntoTheSelectedKeyAtOnce)
{
    EXPECT_EQ(Send("click", "key_0", 0), kKeyKeepsLeftButton);  // the only left button
    EXPECT_EQ(page.GetSelectedKey(), -1);
    ASSERT_EQ(Send("click", "key_1", 1), 1);
    EXPECT_TRUE(Control("keyset_layout").IsVisible());
    EXPECT_EQ(Control("keyset_mousekey_combo").GetCurSel(), 2);  // right
    EXPECT_FALSE(Control("key_butt_prosave").IsEnabled());

    Control("keyset_mousekey_combo").SelectItem(0, false);  // left
    Send("itemselect", "keyset_mousekey_combo", -1, 0);
    EXPECT_EQ(page.keys[1].assigned, kLeft);
    EXPECT_TRUE(Control("key_butt_prosave").IsEnabled());
    EXPECT_EQ(Send("click", "key_0", 0), 1);  // another key has the left button now

    Send("click", "key_butt_keydefalut");
    EXPECT_EQ(panel->ReadKeyFunction(), kLeft);  // key 0's default; the list keeps what it had
    Send("click", "key_butt_keycancel");
    EXPECT_FALSE(Control("key_butt_keysave").IsEnabled());
    Send("timer", "key_butt_prosave");
    EXPECT_FALSE(Control("key_butt_prosave").IsEnabled());

    QFile::remove(page.profilePath);  // nothing is selected without a readable profile
    EXPECT_EQ(Send("click", "key_2", 2), 0);
    EXPECT_EQ(page.GetSelectedKey(), 0);
}

TEST_F(KeySetControlUITest, ACapturedKeyAndOneModifierMakeTheKeyboardCode)
{
    ASSERT_EQ(Send("click", "key_2", 2), 1);
    Control("keyset_function_combo").SelectItem(kPageKeyboard, false);
    Send("itemselect", "keyset_function_combo", -1, kPageKeyboard);
    EXPECT_EQ(page.keys[2].assigned, (KeyFunctionCode{kFunctionKeyboard, 0, 0}));

    HookKeyRecord a{'A', 0x1E, 0};
    Send("message", "WM_HOOK_KEY_SINGLEKEY_MSG", -1, kKeyDownMessage, reinterpret_cast<int64_t>(&a));
    EXPECT_EQ(page.keys[2].assigned, (KeyFunctionCode{kFunctionKeyboard, 0, 0x04}));
    EXPECT_FALSE(Control("keyset_keyboard_text_edit").GetText().isEmpty());

    Control("key_ComBox_check_1").SetSelected(true, false);
    Send("selectchanged", "key_ComBox_check_1", 1, 1);
    Control("key_ComBox_check_2").SetSelected(true, false);
    Send("selectchanged", "key_ComBox_check_2", 2, 1);
    EXPECT_FALSE(Control("key_ComBox_check_1").IsSelected());
    EXPECT_EQ(page.keys[2].assigned, (KeyFunctionCode{kFunctionKeyboard, 0x02, 0x04}));
}

TEST_F(KeySetControlUITest, TheOpenPanelFollowsTheMacroListAndTheCurrentProfile)
{
    CMacroLibrary macros;
    macros.SetFolder(GetProfileDirectory(kMouseFamilyName));
    macros.Load();
    ASSERT_TRUE(macros.Add());
    page.keys[1].assigned = {0x70, 0, 0};
    ASSERT_EQ(Send("click", "key_1", 1), 1);
    EXPECT_EQ(Control("keyset_macro_combo").GetCount(), 1);

    ASSERT_TRUE(macros.Add());
    page.keys[1].assigned = kRight;  // the editor repaired the key meanwhile
    EXPECT_EQ(Send("command", "macro_list_changed"), 1);
    EXPECT_EQ(Control("keyset_macro_combo").GetCount(), 2);
    EXPECT_EQ(panel->ReadKeyFunction(), kRight);

    page.keys[1].assigned = kLeft;  // another profile became current
    EXPECT_EQ(Send("command", "profile_changed"), 1);
    EXPECT_EQ(panel->ReadKeyFunction(), kLeft);
    EXPECT_FALSE(Control("key_butt_prosave").IsEnabled());
}
