// Start-up: the program against a bare Qt window, both started from here in
// the same run, turn about. Measures the time from process start to the
// window shown, and the resident memory a while after, with no device and
// with every simulated device plugged. On an X11 display both windows count
// as shown when the X server maps them; without one, when they say so.
// The starts measured are a user's usual ones: each program has started once
// in its folders before, so the installation is recorded (the installer's
// work on the original platform). First starts are timed apart.
// Usage: bench_start [PROGRAM [EARLIER_PROGRAM]]: with an earlier build, it
// is started in the same turns, so a change is measured against the same
// moments of a machine whose speed drifts between runs.

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
#include <xcb/xcb.h>

namespace {

// Start times vary from one start to the next by more than the gap being
// measured (on a two-core virtual machine a run's medians still drift by a
// few milliseconds): they are taken often, without the settling that memory
// needs.
constexpr int kStartRounds = 41;
constexpr int kFirstStartRounds = 9;
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
// An X server still tearing down the last program's window answers the next
// one's connection up to 20 ms late: each start waits for a settled display,
// as a user's start meets one.
constexpr int kDisplaySettleMs = 300;

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

// How a start is seen shown: `arm` (when set) runs just before the process
// starts, `shown` is asked until it holds.
struct ShownSignal {
    std::function<void()> arm;
    std::function<bool(QProcess&)> shown;
};

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

    // Starts the executable, waits until it is seen shown and, when memory
    // is wanted, the settling time has passed; measures and ends it. A zero
    // sample when it never showed.
    Sample Measure(const QString& executable, const ShownSignal& signal, bool withMemory)
    {
        QProcess process;
        process.setProcessEnvironment(environment_);
        process.setProcessChannelMode(QProcess::SeparateChannels);
        QThread::msleep(kDisplaySettleMs);
        if (signal.arm)
            signal.arm();
        QElapsedTimer clock;
        clock.start();
        process.start(executable, {});
        Sample sample;
        if (process.waitForStarted() && WaitFor([&] { return signal.shown(process); })) {
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

// A start that never showed is counted apart: a zero among the values would
// pull the median down, and with none shown a ratio of 0 would pass its goal.
struct Series {
    std::vector<double> values;
    int neverShown = 0;
    void Add(double value)
    {
        if (value > 0)
            values.push_back(value);
        else
            ++neverShown;
    }
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
        startMs.Add(sample.startMs);
        cpuMs.Add(sample.cpuMs);
    }
    void AddMemory(const Sample& sample) { residentMb.Add(sample.residentMb); }
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
    // Only what is written from now on counts: the log keeps earlier starts.
    explicit LogWatch(QString logFile)
        : logFile_(std::move(logFile)),
          writtenBefore_(QFileInfo(logFile_).size()),
          watch_(::inotify_init1(IN_CLOEXEC | IN_NONBLOCK))
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
        if (!log.open(QIODevice::ReadOnly))
            return false;
        // A log that was started afresh is read from its beginning.
        if (log.size() >= writtenBefore_)
            log.seek(writtenBefore_);
        return log.readAll().contains("Open>pNoDeviceLinkLyout");
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
    qint64 writtenBefore_;
    int watch_;
};

ShownSignal ProgramShown(const QString& logFile)
{
    auto watch = std::make_shared<LogWatch>(logFile);
    return {{}, [watch](QProcess&) { return watch->Shown(); }};
}

// Qt draws on X11 when told to, or by default when there is a display and
// no Wayland session.
bool WindowsGoToX11()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty())
        return platform.startsWith("xcb");
    return !qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// The X server's own word that a window is shown: the first top-level window
// it maps after Arm. Not Available when the windows do not go to an X server.
class MapWatch {
public:
    MapWatch()
    {
        if (!WindowsGoToX11())
            return;
        connection_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(connection_) != 0)
            return;
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_generic_error_t* error =
            xcb_request_check(connection_, xcb_change_window_attributes_checked(connection_, screen->root,
                                                                               XCB_CW_EVENT_MASK, &mask));
        available_ = error == nullptr;
        std::free(error);
    }
    ~MapWatch()
    {
        if (connection_ != nullptr)
            xcb_disconnect(connection_);
    }
    MapWatch(const MapWatch&) = delete;
    MapWatch& operator=(const MapWatch&) = delete;

    bool Available() const { return available_; }

    // Forgets what the windows of earlier starts did.
    void Arm()
    {
        mapped_ = false;
        Drain();
    }

    bool Mapped()
    {
        if (!mapped_) {
            pollfd entry{xcb_get_file_descriptor(connection_), POLLIN, 0};
            ::poll(&entry, 1, kPollMs);
            Drain();
        }
        return mapped_;
    }

private:
    void Drain()
    {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY)
                mapped_ = true;
            std::free(event);
        }
    }

    xcb_connection_t* connection_ = nullptr;
    bool available_ = false;
    bool mapped_ = false;
};

ShownSignal MappedSignal(MapWatch& watch)
{
    return {[&watch] { watch.Arm(); }, [&watch](QProcess&) { return watch.Mapped(); }};
}

void PrintLine(const char* what, const Series& series, const char* unit)
{
    std::printf("  %-34s %7.1f %s (%.1f to %.1f)", what, series.Median(), unit, series.Min(), series.Max());
    if (series.neverShown > 0)
        std::printf(", %d runs never shown", series.neverShown);
    std::printf("\n");
}

void PrintRatio(const char* what, double ratio, double goal)
{
    const char* verdict = ratio <= 0 ? "NOT MET (never shown)" : ratio <= goal ? "met" : "NOT MET";
    std::printf("  %-34s %7.2f    goal <= %.1f  %s\n", what, ratio, goal, verdict);
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
    // Another build of the program may be given, and an earlier one beside it.
    const QString program = argc > 1 ? QString::fromLocal8Bit(argv[1]) : binFolder + "kestrova";
    const QString earlier = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();

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

    // Both windows are seen the same way: mapped by the X server when there
    // is one, else as each reports.
    MapWatch mapWatch;
    const auto bareShown = [&mapWatch] {
        return mapWatch.Available() ? MappedSignal(mapWatch) : ShownSignal{{}, BareShown};
    };
    const auto programShown = [&mapWatch](const Sandbox& sandbox) {
        return mapWatch.Available() ? MappedSignal(mapWatch) : ProgramShown(sandbox.LogFile());
    };

    Runs bareRuns, noDeviceRuns, allDeviceRuns, earlierRuns, firstRuns;
    Sandbox forBare(emptyBus.path());
    Sandbox noDevice(emptyBus.path());
    Sandbox forEarlier(emptyBus.path());
    Sandbox allDevices(pluggedBus.path());
    noDevice.Measure(program, programShown(noDevice), false);
    allDevices.Measure(program, programShown(allDevices), false);
    if (!earlier.isEmpty())
        forEarlier.Measure(earlier, programShown(forEarlier), false);
    for (int round = 0; round < kStartRounds; ++round) {
        bareRuns.AddStart(forBare.Measure(bare, bareShown(), false));
        noDeviceRuns.AddStart(noDevice.Measure(program, programShown(noDevice), false));
        if (!earlier.isEmpty())
            earlierRuns.AddStart(forEarlier.Measure(earlier, programShown(forEarlier), false));
    }
    for (int round = 0; round < kFirstStartRounds; ++round) {
        Sandbox fresh(emptyBus.path());
        firstRuns.AddStart(fresh.Measure(program, programShown(fresh), false));
    }
    for (int round = 0; round < kMemoryRounds; ++round) {
        bareRuns.AddMemory(forBare.Measure(bare, bareShown(), true));
        noDeviceRuns.AddMemory(noDevice.Measure(program, programShown(noDevice), true));
        allDeviceRuns.AddMemory(allDevices.Measure(program, programShown(allDevices), true));
    }
    simulator.Stop();

    std::printf("start-up against a bare Qt window, medians of %d usual starts, %d first starts and %d memory runs "
                "(platform %s, %s)\n",
                kStartRounds, kFirstStartRounds, kMemoryRounds,
                qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ? "default" : qgetenv("QT_QPA_PLATFORM").constData(),
                mapWatch.Available() ? "shown = mapped by the X server" : "shown = as each reports");
    PrintLine("start to window shown, bare", bareRuns.startMs, "ms");
    PrintLine("start to window shown, program", noDeviceRuns.startMs, "ms");
    PrintLine("start to window shown, first start", firstRuns.startMs, "ms");
    PrintLine("CPU time until shown, bare", bareRuns.cpuMs, "ms");
    PrintLine("CPU time until shown, program", noDeviceRuns.cpuMs, "ms");
    if (!earlier.isEmpty()) {
        PrintLine("start to window shown, earlier", earlierRuns.startMs, "ms");
        PrintLine("CPU time until shown, earlier", earlierRuns.cpuMs, "ms");
    }
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
    if (!earlier.isEmpty())
        PrintRatio("start ratio, earlier", earlierRuns.startMs.Median() / bareStart, kGoalStartRatio);
    return 0;
}
