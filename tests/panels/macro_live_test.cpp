// A macro recorded live: keys typed by xdotool on a virtual X server reach the
// main window's capture and become the macro's steps. Runs under xvfb-run on
// the xcb platform; elsewhere it is skipped.

#include "app/main_wnd.h"
#include "app/registered_messages.h"
#include "panels/macro_control_ui.h"
#include "platform/folders.h"
#include "platform/product.h"
#include "profiles/json_file.h"
#include "profiles/profile_paths.h"
#include "services/diag_log.h"
#include "ui/ui_init.h"
#include "ui/ui_test_support.h"

#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr int kWaitMs = 10000;

// Confirms every question, as a user adding a macro does.
class ConfirmingMainWnd : public CMainWnd {
protected:
    int ShowMessage(const QString&, const QString&, bool, bool) override { return 1; }
};

TEST(MacroLiveRecording, KeysTypedOnTheDisplayBecomeTheMacrosSteps)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb") ||
        QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        GTEST_SKIP() << "needs an X display and xdotool (run under xvfb-run with QT_QPA_PLATFORM=xcb)";
    QTemporaryDir home;
    setenv("XDG_DATA_HOME", home.path().toUtf8().constData(), 1);
    setenv("XDG_RUNTIME_DIR", home.path().toUtf8().constData(), 1);
    setenv("KESTROVA_VHID_DIR", home.filePath("bus").toUtf8().constData(), 1);
    QDir(home.path()).mkdir(kLogFolderName);
    QDir(home.path()).mkdir("bus");
    ASSERT_TRUE(PrepareToolkit(QString::fromStdString(ResourceFolder(kSkinFolderName))));
    ASSERT_TRUE(RegisterInstanceMessage());
    RegisterProcessMessages();
    ConfirmingMainWnd window;
    ASSERT_TRUE(window.Create(nullptr, kProductTitle));
    auto* page = new CVelmoraUSBDevice(window.GetRoot());
    page->SetDeviceKind(kKindMouseCable);
    auto* panel = new CMacroControlUI(page);
    panel->setObjectName(QStringLiteral("MacroControlItem"));
    panel->SetMacroFolder(home.path().toStdString() + "/");
    window.Pages().Add(page);
    window.Pages().current = page;
    ASSERT_TRUE(RunEventsUntil([&] { return window.isVisible() && window.windowHandle()->isExposed(); }, kWaitMs));

    PageEvent add = PageEvent::Of("click", "macro_btn_name_add");
    add.feature = PageFeature::Macros;
    ASSERT_EQ(page->HandleFeatureEvent(add), 1);
    panel->findChild<QPushButton*>("macro_btn_starredio")->click();
    ASSERT_EQ(window.Hook().Mode(), kHookMacroAppend);
    EXPECT_TRUE(window.Hook().HasKeyboardGrab());

    QProcess typing;
    typing.start(QStringLiteral("xdotool"), {"key", "--delay", "120", "a", "shift+b"});
    ASSERT_TRUE(RunEventsUntil([&] { return typing.state() == QProcess::NotRunning; }, kWaitMs));
    EXPECT_EQ(typing.exitCode(), 0);
    ASSERT_TRUE(RunEventsUntil([&] { return panel->Recorder().Rows().size() >= 6; }, kWaitMs));
    panel->findChild<QPushButton*>("macro_btn_stopredio")->click();
    EXPECT_FALSE(window.Hook().IsInstalled());

    // A down, A up, Shift down, B down, then the releases in the order
    // xdotool sends them (Shift first); every delay at least 10 ms.
    const std::vector<MacroEvent> saved = EventsOfDocument(ReadJsonFile(panel->Library().MacroPath(0)));
    ASSERT_EQ(saved.size(), 6u);
    const int buttons[] = {0x04, 0x04, 0x02, 0x05, 0x02, 0x05};
    const bool downs[] = {true, false, true, true, false, false};
    for (size_t i = 0; i < saved.size(); ++i) {
        EXPECT_EQ(saved[i].button, buttons[i]) << i;
        EXPECT_EQ(saved[i].down, downs[i]) << i;
        EXPECT_GE(saved[i].delay, 10) << i;
    }
}

}  // namespace
