// The window's life: timers, modal runs, closing, DPI, skins, menus.
#include "ui_test_support.h"

#include "ui/dpi.h"
#include "ui/menu_wnd.h"
#include "ui/tray_icon.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <gtest/gtest.h>

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UseTestSkin();
        ASSERT_TRUE(window.Create(nullptr, QStringLiteral("test")));
        RunEventsUntil([] { return false; }, 5);  // let "windowinit" pass
        window.notifies.clear();
    }

    std::vector<WPARAM> TimerIds() const
    {
        std::vector<WPARAM> ids;
        for (const SeenNotify& seen : window.notifies)
            if (seen.type == QStringLiteral("timer"))
                ids.push_back(seen.wParam);
        return ids;
    }

    TestWindow window;
};

TEST_F(WindowTest, TimerFiresOnceWithItsId)
{
    ASSERT_TRUE(window.SetTimer(1011, 1));
    EXPECT_TRUE(window.IsTimerRunning(1011));
    EXPECT_TRUE(RunEventsUntil([&] { return !TimerIds().empty(); }));
    RunEventsUntil([] { return false; }, 20);
    EXPECT_EQ(TimerIds(), std::vector<WPARAM>{1011});
    EXPECT_FALSE(window.IsTimerRunning(1011));
    EXPECT_EQ(window.notifies[0].sender, QStringLiteral("root"));
}

TEST_F(WindowTest, KilledTimerStaysSilentAndRestartedTimerFiresOnce)
{
    window.SetTimer(1032, 1);
    EXPECT_TRUE(window.KillTimer(1032));
    EXPECT_FALSE(window.KillTimer(1032));
    window.SetTimer(1055, 1, window.FindControl(QStringLiteral("closebtn")).Widget());
    window.SetTimer(1055, 5);  // restart: one expiry, the last control wins
    RunEventsUntil([] { return false; }, 40);
    EXPECT_EQ(TimerIds(), std::vector<WPARAM>{1055});
    EXPECT_EQ(window.notifies[0].sender, QStringLiteral("root"));
}

TEST_F(WindowTest, HandlerMayRearmItsOwnTimer)
{
    int fired = 0;
    struct Rearming : TestWindow {
        int* fired;
        void Notify(TNotifyUI& msg) override
        {
            if (msg.sType == QStringLiteral("timer") && ++*fired < 3) {
                KillTimer(static_cast<UINT>(msg.wParam));
                SetTimer(static_cast<UINT>(msg.wParam), 1);
            }
        }
    } rearming;
    rearming.fired = &fired;
    rearming.Create(nullptr, QStringLiteral("rearm"));
    rearming.SetTimer(1033, 1);
    EXPECT_TRUE(RunEventsUntil([&] { return fired == 3; }));
}

TEST_F(WindowTest, ModalRunReturnsTheCloseCode)
{
    QTimer::singleShot(0, &window, [this] { window.Close(42); });
    EXPECT_EQ(window.ShowModal(), 42);
    EXPECT_TRUE(window.IsClosed());
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.ShowModal(), IDCANCEL);  // a closed window does not run again
}

TEST_F(WindowTest, ModalRunOfADeletedWindowReturnsCancel)
{
    auto* doomed = new TestWindow;
    doomed->Create(nullptr, QStringLiteral("doomed"));
    QTimer::singleShot(0, [doomed] { delete doomed; });
    EXPECT_EQ(doomed->ShowModal(), IDCANCEL);
}

TEST_F(WindowTest, CloseButtonAsksTheWindowFirst)
{
    window.onMessage = [](UINT message, WPARAM, LPARAM) { return message == WM_CLOSE ? 1 : 0; };
    window.show();
    window.close();  // the window manager's close button
    ASSERT_FALSE(window.messages.empty());
    EXPECT_EQ(window.messages[0].message, WM_CLOSE);
    EXPECT_FALSE(window.IsClosed());  // handled: the window decides (hide to tray, say)
}

TEST_F(WindowTest, CloseSendsDestroyOnceAndStopsTimers)
{
    window.SetTimer(1011, 1);
    window.Close(7);
    window.Close(8);
    RunEventsUntil([] { return false; }, 20);
    std::vector<UINT> seen;
    for (const SeenMessage& message : window.messages)
        seen.push_back(message.message);
    EXPECT_EQ(seen, std::vector<UINT>{WM_DESTROY});
    EXPECT_TRUE(TimerIds().empty());
    EXPECT_FALSE(window.SetTimer(1011, 1));
}

TEST(DpiTest, OnlyAllowedValuesPass)
{
    struct Case {
        int dpi;
        int expected;
    };
    for (const Case c : {Case{48, 48}, Case{72, 72}, Case{96, 96}, Case{120, 120}, Case{144, 144},
                         Case{168, 168}, Case{192, 192}, Case{110, 96}, Case{0, 96}, Case{-96, 96},
                         Case{200, 96}}) {
        EXPECT_EQ(ValidDpi(c.dpi), c.expected) << c.dpi;
    }
    EXPECT_EQ(ScaleForDpi(100, 144), 150);
    EXPECT_EQ(ScaleForDpi(100, 110), 100);
}

TEST_F(WindowTest, DpiScalesTheLayoutSize)
{
    window.SetDPI(144);
    EXPECT_EQ(window.GetDPI(), 144);
    EXPECT_EQ(window.size(), QSize(600, 450));
    window.SetDPI(110);
    EXPECT_EQ(window.GetDPI(), 96);
    EXPECT_EQ(window.size(), QSize(400, 300));
    WindowImplBase::SetAllDPI(72);
    EXPECT_EQ(window.GetDPI(), 72);
}

TEST_F(WindowTest, StyleSheetFileIsApplied)
{
    ASSERT_TRUE(window.ApplyStyleSheet(QStringLiteral("test_style.qss")));
    EXPECT_TRUE(window.styleSheet().contains(QStringLiteral("closebtn")));
    EXPECT_FALSE(window.ApplyStyleSheet(QStringLiteral("missing.qss")));
    EXPECT_TRUE(window.styleSheet().contains(QStringLiteral("closebtn")));  // kept
}

TEST_F(WindowTest, MenuChoiceReachesTheOwnerAsMenuClick)
{
    QString chosen;
    QString userData;
    window.onMessage = [&](UINT message, WPARAM wParam, LPARAM) -> LRESULT {
        if (message == WM_MENUCLICK) {
            const auto* command = reinterpret_cast<const MenuCmd*>(wParam);
            chosen = command->szName;
            userData = command->szUserData;
        }
        return 0;
    };
    CMenuWnd menu;
    ASSERT_TRUE(menu.Init(&window, QStringLiteral("XML_TEST_MENU"), QPoint(10, 10)));
    ASSERT_NE(menu.Menu(), nullptr);
    auto* exit = menu.Menu()->findChild<QAction*>(QStringLiteral("exit"));
    ASSERT_NE(exit, nullptr);
    exit->trigger();
    EXPECT_EQ(chosen, QStringLiteral("exit"));
    EXPECT_EQ(userData, QStringLiteral("bye"));
}

TEST_F(WindowTest, MenuFromAMissingOrWrongLayoutIsRefused)
{
    CMenuWnd menu;
    EXPECT_FALSE(menu.Init(&window, QStringLiteral("XML_NOT_THERE"), QPoint()));
    EXPECT_FALSE(menu.Init(&window, QStringLiteral("XML_TEST_MAIN"), QPoint()));
    EXPECT_FALSE(menu.IsOpen());
}

TEST_F(WindowTest, TrayActionsReachTheOwnerAsMouseMessages)
{
    constexpr UINT kTrayMessage = WM_USER + 1;
    CTrayIcon tray;
    ASSERT_TRUE(tray.CreateTrayIcon(&window, QIcon(), QStringLiteral("tip"), kTrayMessage, 3));
    auto* icon = window.findChild<QSystemTrayIcon*>();
    ASSERT_NE(icon, nullptr);
    struct Case {
        QSystemTrayIcon::ActivationReason reason;
        LPARAM mouse;
    };
    for (const Case c : {Case{QSystemTrayIcon::Trigger, WM_LBUTTONUP}, Case{QSystemTrayIcon::Context, WM_RBUTTONUP},
                         Case{QSystemTrayIcon::DoubleClick, WM_LBUTTONDBLCLK}}) {
        window.messages.clear();
        emit icon->activated(c.reason);
        ASSERT_EQ(window.messages.size(), 1u) << c.reason;
        EXPECT_EQ(window.messages[0].message, kTrayMessage);
        EXPECT_EQ(window.messages[0].wParam, 3u);
        EXPECT_EQ(window.messages[0].lParam, c.mouse);
    }
    tray.DeleteTrayIcon();
    EXPECT_FALSE(tray.IsCreated());
    EXPECT_EQ(window.findChild<QSystemTrayIcon*>(), nullptr);
}
