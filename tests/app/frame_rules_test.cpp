#include "app/frame_rules.h"

#include <gtest/gtest.h>

TEST(FrameRules, CloseButtonNeverStrandsAWindowWithoutTray)
{
    EXPECT_EQ(CloseButtonAction(true), CloseAction::HideToTray);
    EXPECT_EQ(CloseButtonAction(false), CloseAction::Minimise);
}

TEST(FrameRules, NoDeviceLayoutShownOnlyWithoutDevices)
{
    const struct {
        const char* source;
        int connected;
        bool shown;
        const char* line;
    } cases[] = {
        {"Open", 0, true, "Open>pNoDeviceLinkLyout    true"},
        {"Open", 2, false, "Open>pNoDeviceLinkLyout    false"},
        {"UIMSG_TRAYICON", 1, false, "UIMSG_TRAYICON>pNoDeviceLinkLyout    false"},
        {"UIMSG_TRAYICON", -1, true, "UIMSG_TRAYICON>pNoDeviceLinkLyout    true"},
    };
    for (const auto& c : cases) {
        const NoDeviceRefresh refresh = NoDeviceLayoutRefresh(c.source, c.connected);
        EXPECT_EQ(refresh.showNoDevice, c.shown) << c.line;
        EXPECT_EQ(refresh.logLine, c.line);
    }
}

TEST(FrameRules, LargeMonitorsGetTheLargerScale)
{
    EXPECT_EQ(FitDpi({1920, 1080}), 144);
    EXPECT_EQ(FitDpi({1501, 961}), 144);
    EXPECT_EQ(FitDpi({1600, 900}), 96);
    EXPECT_EQ(FitDpi({1500, 1200}), 96);
    EXPECT_EQ(FitDpi({0, 0}), 96);
}

TEST(FrameRules, AGrownWindowIsBroughtBackOnTheScreen)
{
    const QRect screen(0, 0, 1280, 770);  // a panel below
    struct Case {
        QRect frame;
        QPoint expected;
    };
    const Case cases[] = {
        {{140, 80, 1000, 640}, {140, 80}},    // lies on it: stays
        {{140, 80, 1198, 640}, {82, 80}},     // grew past the right edge
        {{100, 300, 1000, 640}, {100, 130}},  // past the bottom
        {{-50, -20, 1000, 640}, {0, 0}},      // past the top-left corner
        {{200, 100, 1400, 900}, {0, 0}},      // larger than the screen
    };
    for (const Case& c : cases)
        EXPECT_EQ(PositionOnScreen(c.frame, screen), c.expected) << c.frame.x() << "," << c.frame.y();
    // Second monitor to the right of the first.
    EXPECT_EQ(PositionOnScreen({2900, 100, 1000, 640}, QRect(1920, 0, 1920, 1080)), QPoint(2840, 100));
}

TEST(FrameRules, TrayMenuOpensAwayFromTheTrayEdge)
{
    const QRect screen(0, 0, 1920, 1080);
    EXPECT_EQ(TrayMenuAlign({1900, 1070}, screen), CMenuWnd::kAlignRightBottom);  // bottom-right tray
    EXPECT_EQ(TrayMenuAlign({1900, 5}, screen), CMenuWnd::kAlignRightTop);        // top panel
    EXPECT_EQ(TrayMenuAlign({10, 1070}, screen), CMenuWnd::kAlignLeftBottom);
    EXPECT_EQ(TrayMenuAlign({10, 5}, screen), CMenuWnd::kAlignLeftTop);
    // Second monitor to the right of the first.
    EXPECT_EQ(TrayMenuAlign({1930, 1070}, QRect(1920, 0, 1280, 1024)), CMenuWnd::kAlignLeftBottom);
}
