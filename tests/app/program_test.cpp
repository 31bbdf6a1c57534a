// The program as a user starts it: a separate process with its own folders.
#include "platform/folders.h"
#include "platform/settings_file.h"
#include "services/diag_log.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>

static constexpr int kTimeoutMs = 15000;

static bool WaitUntil(const std::function<bool()>& condition)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > kTimeoutMs)
            return false;
        QThread::msleep(20);
    }
    return true;
}

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* folder : {"data", "config", "run", "bus"})
            ASSERT_TRUE(QDir(home.path()).mkpath(folder));
        ASSERT_TRUE(QDir(home.filePath("data")).mkdir(kLogFolderName));
        QFile::setPermissions(home.filePath("run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", home.filePath("data"));
        environment.insert("XDG_CONFIG_HOME", home.filePath("config"));
        environment.insert("XDG_RUNTIME_DIR", home.filePath("run"));
        environment.insert("KESTROVA_VHID_DIR", home.filePath("bus"));
        environment.insert("QT_QPA_PLATFORM", "offscreen");
    }
    void TearDown() override
    {
        for (QProcess* process : processes) {
            process->kill();
            process->waitForFinished();
            delete process;
        }
    }

    QProcess& Start(const QString& executable, QProcess::ProcessChannelMode channels = QProcess::ForwardedErrorChannel)
    {
        auto* process = new QProcess;
        processes.push_back(process);
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(channels);
        process->start(executable, {});
        EXPECT_TRUE(process->waitForStarted());
        return *process;
    }
    // Each time the window comes forward it refreshes the no-device layout
    // and logs it.
    int TimesShown() const
    {
        QFile log(home.filePath("data") + '/' + kLogFolderName + '/' + kLogFileName);
        if (!log.open(QIODevice::ReadOnly))
            return 0;
        return static_cast<int>(log.readAll().count("Open>pNoDeviceLinkLyout    true"));
    }
    static void ExpectEndsWithZero(QProcess& process)
    {
        ASSERT_TRUE(process.waitForFinished(kTimeoutMs));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0);
    }
    static QString Program() { return QString::fromStdString(ProgramFolder()) + "kestrova"; }

    QTemporaryDir home;
    QProcessEnvironment environment;
    std::vector<QProcess*> processes;
};

TEST_F(ProgramTest, SecondStartEndsWithZeroAndBringsTheFirstForward)
{
    QProcess& first = Start(Program());
    ASSERT_TRUE(WaitUntil([&] { return TimesShown() == 1; }));

    QProcess& second = Start(Program());
    ExpectEndsWithZero(second);
    EXPECT_TRUE(WaitUntil([&] { return TimesShown() == 2; }));

    // The session's end request takes the same way out as the tray's "exit".
    first.terminate();
    ExpectEndsWithZero(first);
    // Started once, the program recorded itself as installed.
    setenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8().constData(), 1);
    EXPECT_EQ(ReadInstalledVersion(), "2.3.0.2");
}

TEST_F(ProgramTest, StartsWithoutItsFontFolder)
{
    QTemporaryDir programFolder;
    const QString copy = programFolder.filePath("kestrova");
    ASSERT_TRUE(QFile::copy(Program(), copy));
    QDir(programFolder.path()).mkdir("skin");
    const QDir skin(QString::fromStdString(ResourceFolder(kSkinFolderName)));
    for (const QString& file : skin.entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(skin.filePath(file), programFolder.filePath("skin/" + file)));
    ASSERT_FALSE(QDir(programFolder.filePath("Font")).exists());

    QProcess& program = Start(copy);
    ASSERT_TRUE(WaitUntil([&] { return TimesShown() == 1; }));
    program.terminate();
    ExpectEndsWithZero(program);
}

// The session bus is connected on a thread of its own before the
// QApplication exists; Qt must still take the program's own thread as its
// main thread. Which thread asks Qt first is a race, so a few starts.
TEST_F(ProgramTest, QtRunsOnTheProgramsMainThread)
{
    for (int start = 0; start < 3; ++start) {
        QProcess& program = Start(Program(), QProcess::SeparateChannels);
        ASSERT_TRUE(WaitUntil([&] { return TimesShown() == start + 1; }));
        program.terminate();
        ExpectEndsWithZero(program);
        EXPECT_FALSE(program.readAllStandardError().contains("not created in the main() thread"));
    }
}

TEST_F(ProgramTest, WithoutAWindowSystemEndsWithZero)
{
    environment.insert("QT_QPA_PLATFORM", "no-such-window-system");
    QProcess& program = Start(Program());
    ExpectEndsWithZero(program);
    EXPECT_EQ(TimesShown(), 0);
}
