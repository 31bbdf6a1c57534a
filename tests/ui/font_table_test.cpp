// Shared interface fonts by id.
#include "ui_test_support.h"

#include "ui/font_table.h"

#include <QApplication>
#include <gtest/gtest.h>

class FontTableTest : public ::testing::Test {
protected:
    void SetUp() override { UseTestSkin(); }
    void TearDown() override { fonts.RemoveAllFonts(); }
    CFontTable& fonts = CFontTable::GetInstance();
};

TEST_F(FontTableTest, LayoutWidgetsTakeTheirFontIdAndScaleWithTheWindow)
{
    fonts.SetDefaultFont(QStringLiteral("Noto Sans"), 14);
    fonts.AddFont(2, QStringLiteral("Noto Sans"), 18, false, true);
    TestWindow window;
    ASSERT_TRUE(window.Create(nullptr, QStringLiteral("test")));
    const QWidget* close = window.FindControl(QStringLiteral("closebtn")).Widget();
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->font().pixelSize(), 18);
    EXPECT_TRUE(close->font().underline());
    EXPECT_EQ(window.GetRoot()->font().pixelSize(), 14);  // widgets without an id

    window.SetDPI(144);
    EXPECT_EQ(close->font().pixelSize(), 27);
    EXPECT_EQ(window.GetRoot()->font().pixelSize(), 21);
}

TEST_F(FontTableTest, UnknownIdGetsTheDefaultFontAndRemovedFontsAreGone)
{
    fonts.SetDefaultFont(QStringLiteral("Noto Sans"), 14);
    fonts.AddFont(7, QStringLiteral("Noto Sans"), 20, true);
    EXPECT_TRUE(fonts.GetFont(7, 96).bold());
    EXPECT_EQ(fonts.GetFont(99, 96).pixelSize(), 14);
    EXPECT_EQ(fonts.GetFont(7, 110).pixelSize(), 20);  // a DPI outside the allowed values is 96

    fonts.RemoveAllFonts();
    EXPECT_FALSE(fonts.HasFont(7));
    EXPECT_EQ(fonts.GetFont(7, 96), QApplication::font());
}
