#include "app/about_wnd.h"

#include "platform/folders.h"
#include "ui/resource_manager.h"
#include "ui/ui_init.h"

#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

class AboutWndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(PrepareToolkit(QString::fromStdString(ResourceFolder(kSkinFolderName))));
        ASSERT_TRUE(CResourceManager::GetInstance().LoadLanguage("lan_en.xml"));
    }
    // Runs `inside` once the window is open, then closes it with `close`.
    void WhileOpen(const std::function<void(CAboutWnd&)>& inside, const std::function<void(CAboutWnd&)>& close)
    {
        QTimer::singleShot(0, [&] {
            auto* window = qobject_cast<CAboutWnd*>(about.data());
            ASSERT_TRUE(window);
            inside(*window);
            close(*window);
        });
        ShowAboutWindow(nullptr, 96, about);
    }
    static QString Version(const CAboutWnd& window)
    {
        return window.findChild<QLabel*>("software_ver_label")->text();
    }

    QPointer<WindowImplBase> about;
};

TEST_F(AboutWndTest, ShowsTheVersionTextOfTheLanguageAndFollowsAChange)
{
    QString before;
    QString after;
    WhileOpen(
        [&](CAboutWnd& window) {
            before = Version(window);
            ASSERT_TRUE(CResourceManager::GetInstance().LoadLanguage("lan_cn.xml"));
            SendWindowMessage(window.GetHWND(), WM_LANGUAGE_CHANGED, 0, 0);
            after = Version(window);
        },
        [](CAboutWnd& window) { window.findChild<QPushButton*>("closebtn")->click(); });
    EXPECT_EQ(before, "Software version 2.3.0.2");
    EXPECT_EQ(after, "软件版本 2.3.0.2");
}

TEST_F(AboutWndTest, OneAtATimeAndClosingEndsOnlyTheWindow)
{
    // Run inside an outer loop standing for the program's: a close that
    // ended the program's loop would end this one before its next event.
    QEventLoop program;
    bool programGoesOn = false;
    QPointer<WindowImplBase> first;
    QTimer::singleShot(0, [&] {
        WhileOpen(
            [&](CAboutWnd& window) {
                first = &window;
                ShowAboutWindow(nullptr, 96, about);  // returns at once: one is open
                EXPECT_EQ(about, first);
            },
            [](CAboutWnd& window) { window.close(); });  // the window manager's close
        QTimer::singleShot(0, [&] {
            programGoesOn = true;
            program.quit();
        });
    });
    program.exec();
    EXPECT_TRUE(programGoesOn);
    EXPECT_TRUE(first.isNull() || first->IsClosed());
}
