#include "app/msg_wnd.h"

#include "message_box_answer.h"
#include "platform/folders.h"
#include "ui/resource_manager.h"
#include "ui/ui_init.h"

#include <gtest/gtest.h>

class MsgWndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(PrepareToolkit(QString::fromStdString(ResourceFolder(kSkinFolderName))));
    }
};

TEST_F(MsgWndTest, ReturnsOneOnlyWhenConfirmed)
{
    struct Case {
        bool withCancel;
        const char* button;  // "" = the window manager's close
        int expected;
    };
    const Case cases[] = {
        {false, "confirm_btn", 1}, {true, "confirm_btn", 1}, {true, "cancel_btn", 0},
        {true, "closebtn", 0},     {false, "closebtn", 0},   {true, "", 0},
    };
    for (const Case& c : cases) {
        CMessageBoxAnswer answer(c.button);
        EXPECT_EQ(ShowMessageBox(nullptr, "UpdateTiShi", "UpdateTiShiText", 96, true, c.withCancel),
                  c.expected)
            << c.button << " cancel " << c.withCancel;
        ASSERT_EQ(answer.shown.size(), 1u);
        EXPECT_EQ(answer.shown[0].cancelShown, c.withCancel);
    }
}

TEST_F(MsgWndTest, DpiOutsideTheAllowedValuesShowsTheBoxAt96)
{
    const std::pair<int, int> cases[] = {{110, 96}, {0, 96}, {-144, 96}, {144, 144}, {192, 192}};
    for (const auto& [asked, shown] : cases) {
        CMessageBoxAnswer answer("confirm_btn");
        ShowMessageBox(nullptr, {}, "message_text_7", asked, true, false);
        ASSERT_EQ(answer.shown.size(), 1u);
        EXPECT_EQ(answer.shown[0].dpi, shown) << asked;
    }
}

TEST_F(MsgWndTest, TextIsResolvedOnlyWhenItIsAnIdentifier)
{
    CResourceManager::GetInstance().LoadLanguage("lan_en.xml");
    const QString identifier = "message_text_34";
    const QString resolved = CResourceManager::GetInstance().GetText(identifier);
    ASSERT_NE(resolved, identifier);
    CMessageBoxAnswer answer("confirm_btn");
    ShowMessageBox(nullptr, "UpdateTiShi", identifier, 96, true, false);
    ShowMessageBox(nullptr, {}, identifier, 96, false, false);
    ShowMessageBox(nullptr, {}, "no_such_text_id", 96, true, false);
    ASSERT_EQ(answer.shown.size(), 3u);
    EXPECT_EQ(answer.shown[0].text, resolved);
    EXPECT_EQ(answer.shown[0].title, CResourceManager::GetInstance().GetText("UpdateTiShi"));
    EXPECT_EQ(answer.shown[1].text, identifier);  // a ready text is shown as it is
    EXPECT_EQ(answer.shown[2].text, "no_such_text_id");
    // Without a title the layout's own stays.
    EXPECT_EQ(answer.shown[1].title, CResourceManager::GetInstance().GetText("msgwnd_title"));
}

TEST_F(MsgWndTest, BoxGoneWithItsOwnerCountsAsNo)
{
    auto* owner = new QWidget;
    owner->show();
    SetMessageBoxHook([owner](CMsgWnd&) { delete owner; });
    EXPECT_EQ(ShowMessageBox(owner, {}, "message_text_22", 96, true, true), 0);
    SetMessageBoxHook({});
}
