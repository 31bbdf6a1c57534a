#include "platform/termination_signals.h"

#include "platform/trace.h"

#include <QSocketNotifier>
#include <array>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

static constexpr std::array<int, 3> kWatchedSignals = {SIGTERM, SIGHUP, SIGINT};
static int gPipe[2] = {-1, -1};

static void WriteWakeByte(int)
{
    const char byte = 1;
    ssize_t ignored = ::write(gPipe[1], &byte, 1);  // async-signal-safe
    (void)ignored;
}

CTerminationSignals::CTerminationSignals(std::function<void()> onRequest)
    : onRequest_(std::move(onRequest))
{
    if (gPipe[0] >= 0 || ::pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        Trace("termination signals not watched");
        return;
    }
    notifier_ = new QSocketNotifier(gPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &CTerminationSignals::OnReadable);
    struct sigaction action {};
    action.sa_handler = WriteWakeByte;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kWatchedSignals)
        sigaction(signal, &action, nullptr);
}

CTerminationSignals::~CTerminationSignals()
{
    if (!notifier_)
        return;
    for (int signal : kWatchedSignals)
        std::signal(signal, SIG_DFL);
    delete notifier_;
    ::close(gPipe[0]);
    ::close(gPipe[1]);
    gPipe[0] = gPipe[1] = -1;
}

void CTerminationSignals::OnReadable()
{
    char bytes[16];
    while (::read(gPipe[0], bytes, sizeof bytes) > 0) {
    }
    Trace("end requested by a signal");
    if (onRequest_)
        onRequest_();
}
