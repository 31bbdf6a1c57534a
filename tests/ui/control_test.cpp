// The control properties the pages use, over the real widgets.
#include "ui_test_support.h"

#include <QLineEdit>
#include <gtest/gtest.h>

class ControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UseTestSkin();
        ASSERT_TRUE(window.Create(nullptr, QStringLiteral("test")));
    }

    CControlUI Find(const char* name) { return window.FindControl(QString::fromLatin1(name)); }

    TestWindow window;
};

TEST_F(ControlTest, NumberOnlyEditKeepsItsValueInRange)
{
    CControlUI edit = Find("kelvo_DPI_edit_3");
    edit.SetNumberOnly(true);
    edit.SetMinValue(50);
    edit.SetMaxValue(26000);
    edit.SetMaxChar(5);
    auto* widget = edit.As<QLineEdit>();
    widget->clear();
    for (const QChar typed : QStringLiteral("12a3456"))  // letters refused, length capped
        widget->insert(typed);
    EXPECT_EQ(edit.GetText(), QStringLiteral("12345"));
    EXPECT_EQ(edit.GetValue(), 12345);

    struct Case {
        const char* typed;
        int value;
    };
    for (const Case c : {Case{"", 50}, Case{"7", 50}, Case{"26001", 26000}, Case{"800", 800}}) {
        edit.SetText(QString::fromLatin1(c.typed));
        EXPECT_EQ(edit.GetValue(), c.value) << c.typed;
    }
    edit.SetNumberOnly(false);
    widget->clear();
    widget->insert(QStringLiteral("abc"));
    EXPECT_EQ(edit.GetText(), QStringLiteral("abc"));
}

TEST_F(ControlTest, ComboItemsWithUserData)
{
    CControlUI combo = Find("device_sleep1_combo");
    combo.RemoveAllItems();
    EXPECT_EQ(combo.GetCount(), 0);
    EXPECT_EQ(combo.GetCurSel(), -1);
    EXPECT_EQ(combo.AddItem(QStringLiteral("1 min"), QStringLiteral("60")), 0);
    EXPECT_EQ(combo.AddItem(QStringLiteral("2 min"), QStringLiteral("120")), 1);
    EXPECT_TRUE(combo.SelectItem(1, false));
    EXPECT_FALSE(combo.SelectItem(2));
    EXPECT_FALSE(combo.SelectItem(-1));
    EXPECT_EQ(combo.GetCurSel(), 1);
    EXPECT_EQ(combo.GetItemUserData(1), QStringLiteral("120"));
    EXPECT_TRUE(combo.RemoveItem(0));
    EXPECT_EQ(combo.GetItemText(0), QStringLiteral("2 min"));
    EXPECT_TRUE(window.TypesFrom(QStringLiteral("device_sleep1_combo")).empty());
}

TEST_F(ControlTest, ValuesAndRanges)
{
    for (const char* name : {"DPI_slider_3", "power_progress"}) {
        CControlUI control = Find(name);
        control.SetMinValue(20);
        control.SetMaxValue(120);
        control.SetValue(50);
        EXPECT_EQ(control.GetValue(), 50) << name;
        EXPECT_EQ(control.GetMinValue(), 20) << name;
        EXPECT_EQ(control.GetMaxValue(), 120) << name;
        control.SetValue(500);
        EXPECT_EQ(control.GetValue(), 120) << name;
    }
}

TEST_F(ControlTest, StateLookAndUserData)
{
    CControlUI link = Find("No_device_Link");
    link.SetVisible(false);
    EXPECT_FALSE(link.IsVisible());
    link.SetVisible(true);
    EXPECT_TRUE(link.IsVisible());  // its own flag, though the window is hidden
    link.SetEnabled(false);
    EXPECT_FALSE(link.IsEnabled());

    CControlUI check = Find("DPI_enable_check_2");
    check.SetSelected(true, false);
    EXPECT_TRUE(check.IsSelected());
    check.SetBkColor(0xFF102030);
    check.SetSelectedBkColor(0xFFFF0000);
    check.SetBorderSize(2);
    EXPECT_EQ(check.GetBkColor(), 0xFF102030u);
    const QString sheet = check.Widget()->styleSheet();
    EXPECT_TRUE(sheet.contains(QStringLiteral("rgba(16,32,48,255)"))) << sheet.toStdString();
    EXPECT_TRUE(sheet.contains(QStringLiteral(":checked{background-color:rgba(255,0,0,255)"))) << sheet.toStdString();
    EXPECT_TRUE(sheet.contains(QStringLiteral("border-width:2px"))) << sheet.toStdString();

    check.SetUserData(QStringLiteral("stage 2"));
    EXPECT_EQ(check.GetUserData(), QStringLiteral("stage 2"));
    EXPECT_EQ(CControlUI().GetUserData(), QString());
}

TEST_F(ControlTest, PaletteKeepsTheSelectedColour)
{
    CControlUI palette = Find("deng_Color_Pallet");
    ASSERT_TRUE(palette);
    for (const QRgb colour : {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFF000000u, 0xFFFFFFFFu}) {
        palette.SetSelectColor(colour);
        EXPECT_EQ(palette.GetSelectColor(), colour) << std::hex << colour;
    }
}
