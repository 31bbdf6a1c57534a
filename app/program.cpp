#include "app/program.h"

#include "app/main_wnd.h"
#include "app/program_icon.h"
#include "app/registered_messages.h"
#include "platform/folders.h"
#include "platform/instance_lock.h"
#include "platform/message_socket.h"
#include "platform/private_fonts.h"
#include "platform/product.h"
#include "platform/session_bus.h"
#include "platform/settings_file.h"
#include "platform/start_task.h"
#include "platform/termination_signals.h"
#include "platform/trace.h"
#include "services/interface_language.h"
#include "ui/app_style.h"
#include "ui/resource_manager.h"
#include "ui/ui_init.h"

#include <QApplication>
#include <QThread>

#include <cstdlib>
#include <optional>

// The running program may still be starting (lock taken, socket not yet
// listening): a second start tries for a little while.
static constexpr int kSignalAttempts = 20;
static constexpr unsigned long kSignalRetryMs = 100;

static void SignalRunningInstance()
{
    for (int attempt = 0; attempt < kSignalAttempts; ++attempt) {
        if (PostRegisteredMessageTo(kMessageSocketName, QString::fromUtf8(kProductTitle), 0, 1))
            return;
        QThread::msleep(kSignalRetryMs);
    }
    Trace("the running instance could not be reached");
}

// Stands in for the installer: the settings file comes into being with the
// installed version, which is the running one, and the default language
// when none is stored yet; one write, so a first start flushes the disk once.
static void RecordInstallation()
{
    if (ReadInstalledVersion() != kProgramVersion && !RecordInstalledVersion(kProgramVersion, kDefaultLanguageId))
        Trace("installed version not recorded");
}

// The files the window starts from that need no font: read while the
// installed fonts are still being read, which the program's fonts wait for.
static void ReadWindowFiles(const CInterfaceLanguage& language)
{
    if (!PrepareToolkit(QString::fromStdString(ResourceFolder(kSkinFolderName))))
        Trace("skin index missing: the window is built from what is found");
    language.ReadTextsAhead();
    ReadProgramIconAhead();
}

static void RunMainWindow(QApplication& app, const CInterfaceLanguage& language,
                          std::optional<CPrivateFonts>& fonts)
{
    RegisterProcessMessages();

    // The window is built while the installed fonts may still be being read:
    // building needs no font. The program's fonts wait for that reading, and
    // they and the saved language's face come before the window is styled.
    CMainWnd window;
    window.Create(nullptr, QString::fromUtf8(kProductTitle));
    fonts.emplace(ResourceRoot());
    language.UseSavedLanguageFonts();
    // The skin's sheet comes once the main layout is built: the layout loader
    // asks the style for margins and icon sizes as it builds, and under the
    // sheet each question matches the widget against every rule, work its
    // first polish does again.
    ApplyBaseStyle(app);
    window.CenterWindow();
    CMessageServer messages;
    if (!messages.Listen(kMessageSocketName))
        Trace("message socket unavailable: a second start cannot reach this one");
    CTerminationSignals endRequests([&window] { window.Exit(); });
    app.exec();
    // The window has stopped its workers when it closed; it goes before the toolkit.
}

// Without a reachable window system (no display) Qt cannot start and ends
// the process; the program still ends with 0, after Qt has said why.
static QtMessageHandler gStartupMessageHandler = nullptr;

static void EndWithZeroOnFatal(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    gStartupMessageHandler(type, context, message);
    if (type == QtFatalMsg)
        std::_Exit(0);
}

int RunProgram(int argc, char** argv)
{
    // Qt takes the first thread that asks for its thread data as the main
    // thread: this one asks before the session bus is connected beside it.
    QThread::currentThread();
    CStartTask sessionBus(ConnectSessionBus);
    CStartTask fontConfiguration(ReadFontConfiguration);
    gStartupMessageHandler = qInstallMessageHandler(EndWithZeroOnFatal);
    QApplication app(argc, argv);
    qInstallMessageHandler(gStartupMessageHandler);
    QApplication::setQuitOnLastWindowClosed(false);  // hidden to the tray is still running
    fontConfiguration.Wait();
    // Read while the instance is checked and the installation recorded.
    CStartTask installedFonts(ReadInstalledFonts);
    if (!RegisterInstanceMessage())
        return 0;
    CInstanceLock instance(kProductTitle);
    if (!instance.IsFirst()) {
        SignalRunningInstance();
        return 0;
    }
    RecordInstallation();
    const CInterfaceLanguage language;
    ReadWindowFiles(language);
    std::optional<CPrivateFonts> fonts;
    RunMainWindow(app, language, fonts);
    CResourceManager::GetInstance().Release();
    return 0;
}
