// The message socket under 200 senders that each send most of 1 MiB of a frame
// and never finish it: the resident memory the program gains while they
// hold on, and what stays after they have gone.

#include "platform/message_socket.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kSenders = 200;
constexpr size_t kBytesPerSender = (1 << 20) - 4096;
// 16 connections with 1 MiB read ahead each, and the allocator's slack.
constexpr double kGoalMb = 24;
constexpr int kSendTimeoutMs = 200;

double ResidentMb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) / 1024;
    }
    return 0;
}

void RunEventsFor(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds) {
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

// A sender: a QString header that promises far more than comes, then filler,
// as much as the server takes in within the send time-out.
int StartUnfinishedFrame(const std::string& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0 || ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        if (fd >= 0)
            ::close(fd);
        return -1;
    }
    const timeval limit{0, kSendTimeoutMs * 1000};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    std::vector<char> frame(kBytesPerSender, 'a');
    std::memcpy(frame.data(), "\x7f\xff\xff\xf0", 4);
    size_t sent = 0;
    while (sent < frame.size()) {
        const ssize_t done = ::send(fd, frame.data() + sent, frame.size() - sent, MSG_NOSIGNAL);
        if (done <= 0)
            break;  // the server stopped reading or dropped us
        sent += static_cast<size_t>(done);
    }
    return fd;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString name = QStringLiteral("kestrova-bench-%1.sock").arg(QCoreApplication::applicationPid());
    CMessageServer server;
    if (!server.Listen(name)) {
        std::fprintf(stderr, "cannot listen at %s\n", qPrintable(MessageSocketPath(name)));
        return 1;
    }
    RunEventsFor(100);
    const double before = ResidentMb();

    const std::string path = MessageSocketPath(name).toStdString();
    std::vector<int> senders;
    std::atomic<bool> sent{false};
    std::thread sending([&] {
        for (int i = 0; i < kSenders; ++i)
            senders.push_back(StartUnfinishedFrame(path));
        sent = true;
    });
    while (!sent)
        RunEventsFor(50);
    sending.join();
    RunEventsFor(500);
    const double holding = ResidentMb();

    for (const int fd : senders) {
        if (fd >= 0)
            ::close(fd);
    }
    RunEventsFor(500);
    const double after = ResidentMb();

    std::printf("message socket, %d senders of an unfinished ~1 MiB frame: %.1f MB before, +%.1f MB while they "
                "hold on, +%.1f MB after they left (goal < %.0f MB both) %s\n",
                kSenders, before, holding - before, after - before, kGoalMb,
                holding - before < kGoalMb && after - before < kGoalMb ? "ok" : "MISSED");
    return 0;
}
