// Start-up: the program against a bare Qt window, both started from here in
// the same run, turn about. Measures the time from process start to the
// window shown, and the resident memory a while after, with no device and
// with every simulated device plugged. Usage: bench_start [PROGRAM]

#include "platform/folders.h"
#include "services/diag_log.h"
#include "tools/devsim/simulator.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>
#include <vector>

namespace {

// Start times vary from one start to the next by more than the gap being
// measured: they are taken often, without waiting; memory needs the wait.
constexpr int kStartRounds = 15;
constexpr int kMemoryRounds = 5;
constexpr double kGoalStartRatio = 2.0;
constexpr double kGoalMemoryRatio = 2.0;
constexpr double kGoalMemoryRatioAllDevices = 2.5;
constexpr int kShownTimeoutMs = 20000;
// Each check waits at most this long for its signal (output, a log write),
// and returns as soon as it comes: both windows are seen shown at once.
constexpr int kPollMs = 2;
// Resident memory is read this long after the window is shown: the program
// has then made its first passes and read the devices plugged.
constexpr int kSettleMs = 3000;

struct Sample {
    double startMs = 0;
    double cpuMs = 0;  // CPU time of its threads until shown, less bound to how busy the machine is
    double residentMb = 0;
};

double ResidentMb(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

double CpuMs(qint64 pid)
{
    double nanoseconds = 0;
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile schedstat(tasks.filePath(task + "/schedstat"));
        if (schedstat.open(QIODevice::ReadOnly))
            nanoseconds += schedstat.readAll().split(' ').value(0).toDouble();
    }
    return nanoseconds / 1e6;
}

bool WaitFor(const std::function<bool()>& shown)
{
    QElapsedTimer clock;
    clock.start();
    while (!shown()) {
        if (clock.elapsed() > kShownTimeoutMs)
            return false;
    }
    return true;
}

// A process with folders of its own (data, settings, runtime, bus), so
// neither a running program nor the user's files are touched.
class Sandbox {
public:
    explicit Sandbox(const QString& busDirectory)
    {
        for (const char* folder : {"data", "config", "run"})
            QDir(home_.path()).mkpath(folder);
        // The program's log tells when it shows its window.
        QDir(home_.filePath("data")).mkdir(kLogFolderName);
        QFile::setPermissions(home_.filePath("run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        environment_ = QProcessEnvironment::systemEnvironment();
        environment_.insert("XDG_DATA_HOME", home_.filePath("data"));
        environment_.insert("XDG_CONFIG_HOME", home_.filePath("config"));
        environment_.insert("XDG_RUNTIME_DIR", home_.filePath("run"));
        environment_.insert("KESTROVA_VHID_DIR", busDirectory);
    }

    QString LogFile() const
    {
        return home_.filePath("data") + '/' + kLogFolderName + '/' + kLogFileName;
    }

    // Starts the executable, waits until `shown` holds and, when memory is
    // wanted, the settling time has passed; measures and ends it. A zero
    // sample when it never showed.
    Sample Measure(const QString& executable, const std::function<bool(QProcess&)>& shown, bool withMemory)
    {
        QProcess process;
        process.setProcessEnvironment(environment_);
        process.setProcessChannelMode(QProcess::SeparateChannels);
        QElapsedTimer clock;
        clock.start();
        process.start(executable, {});
        Sample sample;
        if (process.waitForStarted() && WaitFor([&] { return shown(process); })) {
            sample.startMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
            sample.cpuMs = CpuMs(process.processId());
            if (withMemory) {
                QThread::msleep(kSettleMs);
                sample.residentMb = ResidentMb(process.processId());
            }
        }
        process.terminate();
        if (!process.waitForFinished(kShownTimeoutMs))
            process.kill();
        process.waitForFinished();
        return sample;
    }

private:
    QTemporaryDir home_;
    QProcessEnvironment environment_;
};

struct Series {
    std::vector<double> values;
    double Median() const
    {
        std::vector<double> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        return sorted.empty() ? 0 : sorted[sorted.size() / 2];
    }
    double Min() const { return values.empty() ? 0 : *std::min_element(values.begin(), values.end()); }
    double Max() const { return values.empty() ? 0 : *std::max_element(values.begin(), values.end()); }
};

struct Runs {
    Series startMs;
    Series cpuMs;
    Series residentMb;
    void AddStart(const Sample& sample)
    {
        startMs.values.push_back(sample.startMs);
        cpuMs.values.push_back(sample.cpuMs);
    }
    void AddMemory(const Sample& sample) { residentMb.values.push_back(sample.residentMb); }
};

bool BareShown(QProcess& process)
{
    process.waitForReadyRead(kPollMs);
    return process.canReadLine() && process.readLine().startsWith("shown");
}

// The program says it shows its window in its log: the log's folder is
// watched, so a write is seen when it happens.
class LogWatch {
public:
    explicit LogWatch(QString logFile) : logFile_(std::move(logFile)), watch_(::inotify_init1(IN_CLOEXEC | IN_NONBLOCK))
    {
        const QByteArray folder = QFile::encodeName(QFileInfo(logFile_).path());
        if (watch_ >= 0)
            ::inotify_add_watch(watch_, folder.constData(), IN_CREATE | IN_MODIFY);
    }
    ~LogWatch()
    {
        if (watch_ >= 0)
            ::close(watch_);
    }
    LogWatch(const LogWatch&) = delete;
    LogWatch& operator=(const LogWatch&) = delete;

    bool Shown()
    {
        WaitForWrite();
        QFile log(logFile_);
        return log.open(QIODevice::ReadOnly) && log.readAll().contains("Open>pNoDeviceLinkLyout");
    }

private:
    void WaitForWrite()
    {
        if (watch_ < 0) {
            QThread::msleep(kPollMs);
            return;
        }
        pollfd entry{watch_, POLLIN, 0};
        if (::poll(&entry, 1, kPollMs) > 0) {
            char events[4096];
            while (::read(watch_, events, sizeof(events)) > 0) {
            }
        }
    }

    QString logFile_;
    int watch_;
};

std::function<bool(QProcess&)> ProgramShown(const QString& logFile)
{
    auto watch = std::make_shared<LogWatch>(logFile);
    return [watch](QProcess&) { return watch->Shown(); };
}

void PrintLine(const char* what, const Series& series, const char* unit)
{
    std::printf("  %-34s %7.1f %s (%.1f to %.1f)\n", what, series.Median(), unit, series.Min(), series.Max());
}

void PrintRatio(const char* what, double ratio, double goal)
{
    std::printf("  %-34s %7.2f    goal <= %.1f  %s\n", what, ratio, goal, ratio <= goal ? "met" : "NOT MET");
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::puts("no display: measuring on the offscreen platform (scripts/bench.sh provides a virtual display)");
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const QString binFolder = QString::fromStdString(ProgramFolder());
    const QString bare = binFolder + "bare_qt_window";
    // Another build of the program may be given, to compare before and after.
    const QString program = argc > 1 ? QString::fromLocal8Bit(argv[1]) : binFolder + "kestrova";

    QTemporaryDir emptyBus;
    QTemporaryDir pluggedBus;
    devsim::CDeviceSimulator simulator(pluggedBus.path().toStdString());
    if (!simulator.Start()) {
        std::puts("the device simulator did not start");
        return 1;
    }
    for (devsim::Port port : {devsim::Port::MouseCable, devsim::Port::MouseReceiver, devsim::Port::Keyboard,
                              devsim::Port::MousePad, devsim::Port::Headset})
        simulator.Plug(port);

    Runs bareRuns, noDeviceRuns, allDeviceRuns;
    for (int round = 0; round < kStartRounds; ++round) {
        Sandbox forBare(emptyBus.path());
        bareRuns.AddStart(forBare.Measure(bare, BareShown, false));
        Sandbox noDevice(emptyBus.path());
        noDeviceRuns.AddStart(noDevice.Measure(program, ProgramShown(noDevice.LogFile()), false));
    }
    for (int round = 0; round < kMemoryRounds; ++round) {
        Sandbox forBare(emptyBus.path());
        bareRuns.AddMemory(forBare.Measure(bare, BareShown, true));
        Sandbox noDevice(emptyBus.path());
        noDeviceRuns.AddMemory(noDevice.Measure(program, ProgramShown(noDevice.LogFile()), true));
        Sandbox allDevices(pluggedBus.path());
        allDeviceRuns.AddMemory(allDevices.Measure(program, ProgramShown(allDevices.LogFile()), true));
    }
    simulator.Stop();

    std::printf("start-up against a bare Qt window, medians of %d starts and %d memory runs (platform %s)\n",
                kStartRounds, kMemoryRounds,
                qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ? "default" : qgetenv("QT_QPA_PLATFORM").constData());
    PrintLine("start to window shown, bare", bareRuns.startMs, "ms");
    PrintLine("start to window shown, program", noDeviceRuns.startMs, "ms");
    PrintLine("CPU time until shown, bare", bareRuns.cpuMs, "ms");
    PrintLine("CPU time until shown, program", noDeviceRuns.cpuMs, "ms");
    PrintLine("resident memory, bare", bareRuns.residentMb, "MB");
    PrintLine("resident memory, no device", noDeviceRuns.residentMb, "MB");
    PrintLine("resident memory, every device", allDeviceRuns.residentMb, "MB");
    const double bareStart = bareRuns.startMs.Median();
    const double bareMemory = bareRuns.residentMb.Median();
    if (bareStart <= 0 || bareMemory <= 0) {
        std::puts("the bare window did not show: no ratios");
        return 1;
    }
    PrintRatio("start ratio", noDeviceRuns.startMs.Median() / bareStart, kGoalStartRatio);
    PrintRatio("memory ratio, no device", noDeviceRuns.residentMb.Median() / bareMemory, kGoalMemoryRatio);
    PrintRatio("memory ratio, every device", allDeviceRuns.residentMb.Median() / bareMemory,
               kGoalMemoryRatioAllDevices);
    return 0;
}
