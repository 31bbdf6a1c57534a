#include "app/main_wnd.h"

#include "app/registered_messages.h"
#include "platform/folders.h"
#include "platform/product.h"
#include "services/diag_log.h"
#include "ui/ui_init.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

// Runs the event loop until the condition holds or two seconds passed.
static bool WaitFor(const std::function<bool()>& condition)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > 2000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

class MainWndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("XDG_DATA_HOME", home.path().toUtf8().constData(), 1);
        setenv("KESTROVA_VHID_DIR", home.filePath("bus").toUtf8().constData(), 1);
        QDir(home.path()).mkdir(kLogFolderName);
        QDir(home.path()).mkdir("bus");
        ASSERT_TRUE(PrepareToolkit(QString::fromStdString(ResourceFolder(kSkinFolderName))));
        ASSERT_TRUE(RegisterInstanceMessage());
        ASSERT_TRUE(window.Create(nullptr, kProductTitle));
        ASSERT_TRUE(WaitFor([&] { return window.IsWorkerRunning(CMainWnd::kDiscoverySlot); }));
    }
    bool Shown() const { return window.isVisible() && !window.isMinimized(); }
    QString Log() const
    {
        QFile file(QString::fromStdString(LogFilePath()));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    void Click(const char* name)
    {
        auto* button = window.findChild<QPushButton*>(name);
        ASSERT_NE(button, nullptr) << name;
        button->click();
    }

    QTemporaryDir home;
    CMainWnd window;
};

TEST_F(MainWndTest, FirstDiscoveryPassShowsTheWindowWithTheNoDeviceLayout)
{
    EXPECT_EQ(window.windowTitle(), kProductTitle);
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_EQ(MainWindowHandle(), window.GetHWND());
    ASSERT_TRUE(WaitFor([&] { return Shown(); }));
    EXPECT_TRUE(window.IsNoDeviceShown());
    EXPECT_TRUE(Log().contains("Open>pNoDeviceLinkLyout    true"));
}

TEST_F(MainWndTest, CloseButtonAndWindowCloseKeepTheProgramRunning)
{
    ASSERT_TRUE(WaitFor([&] { return Shown(); }));
    for (const auto& close : std::initializer_list<std::function<void()>>{
             [&] { Click("closebtn"); }, [&] { window.close(); }}) {
        close();
        QCoreApplication::processEvents();
        EXPECT_FALSE(Shown());
        EXPECT_FALSE(window.IsClosed());
        EXPECT_TRUE(window.IsWorkerRunning(CMainWnd::kDiscoverySlot));
        if (!CTrayIcon::IsAvailable()) {
            EXPECT_TRUE(window.isMinimized());  // still reachable from the task bar
        }
        // A second start of the program brings it back.
        BroadcastWindowMessage(UWM_INSTANCE_MSG, 0, 1);
        EXPECT_TRUE(WaitFor([&] { return Shown(); }));
    }
}

TEST_F(MainWndTest, TrayMenuExitStopsTheWorkersAndClosesTheWindow)
{
    MenuCmd exit;
    exit.szName = "exit";
    ASSERT_TRUE(PostWindowMessage(window.GetHWND(), WM_MENUCLICK, reinterpret_cast<WPARAM>(&exit), 0));
    EXPECT_TRUE(WaitFor([&] { return window.IsClosed(); }));
    EXPECT_FALSE(window.IsWorkerRunning(CMainWnd::kDiscoverySlot));
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(MainWindowHandle(), 0u);
}

TEST_F(MainWndTest, RightClickOnTheTitleBarOpensTheProgramMenu)
{
    // Without a tray icon this is the only way to the menu's "exit".
    ASSERT_TRUE(WaitFor([&] { return Shown(); }));
    auto* titleBar = window.findChild<QWidget*>("title_bar");
    ASSERT_NE(titleBar, nullptr);
    const QPointF inside(10, 10);
    QMouseEvent release(QEvent::MouseButtonRelease, inside, titleBar->mapToGlobal(inside), Qt::RightButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(titleBar, &release);
    EXPECT_TRUE(WaitFor([&] { return window.IsProgramMenuOpen(); }));
}

TEST_F(MainWndTest, OtherMenuItemsDoNotEndTheProgram)
{
    MenuCmd about;
    about.szName = "about_menu";
    // The about window runs modally: close it once it is open.
    QTimer::singleShot(0, [] {
        for (QWidget* open : QApplication::topLevelWidgets()) {
            if (open->objectName() == "AboutWnd")
                open->close();
        }
    });
    SendWindowMessage(window.GetHWND(), WM_MENUCLICK, reinterpret_cast<WPARAM>(&about), 0);
    EXPECT_FALSE(window.IsClosed());
}

TEST_F(MainWndTest, SecondStartRestoresAMinimisedWindowToItsFormerSize)
{
    ASSERT_TRUE(WaitFor([&] { return Shown(); }));
    window.showMaximized();
    window.showMinimized();
    BroadcastWindowMessage(UWM_INSTANCE_MSG, 0, 1);
    EXPECT_TRUE(WaitFor([&] { return Shown(); }));
    EXPECT_TRUE(window.isMaximized());
}

TEST(MainWndWithoutSkinTest, WindowWithoutItsLayoutKeepsTheSystemFrame)
{
    QTemporaryDir emptySkin;
    PrepareToolkit(emptySkin.path());
    CMainWnd window;
    EXPECT_FALSE(window.Create(nullptr, kProductTitle));
    EXPECT_FALSE(window.windowFlags() & Qt::FramelessWindowHint);  // its frame and buttons stay usable
    PrepareToolkit(QString::fromStdString(ResourceFolder(kSkinFolderName)));
}
