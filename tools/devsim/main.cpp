// kestrova-devsim: serves simulated devices on the virtual HID bus until
// "quit" or a stop signal; see Usage().

#include "tools/devsim/control_commands.h"
#include "tools/devsim/control_socket.h"
#include "tools/devsim/simulator.h"

#include <csignal>
#include <cstdio>
#include <poll.h>
#include <pthread.h>
#include <string>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

struct Options {
    std::string busDirectory = vhid::BusDirectory();
    std::string logTarget;
    std::vector<std::string> startCommands;  // run in order after the start
    bool readStdin = true;
    bool pluggedAnything = false;
};

const char* Usage()
{
    return "usage: kestrova-devsim [--bus DIR] [--log FILE|-] [--plug PORT]... [--do \"COMMAND\"]... [--no-stdin]\n"
           "       kestrova-devsim ctl [--bus DIR] COMMAND...\n"
           "Without --plug the mouse is plugged in by cable. Commands (also on standard input\n"
           "and through \"kestrova-devsim ctl\" while the simulator runs):\n";
}

bool ParseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--bus" && hasValue) {
            options.busDirectory = argv[++i];
        } else if (arg == "--log" && hasValue) {
            options.logTarget = argv[++i];
        } else if (arg == "--plug" && hasValue) {
            options.startCommands.push_back(std::string("plug ") + argv[++i]);
            options.pluggedAnything = true;
        } else if (arg == "--do" && hasValue) {
            const std::string command = argv[++i];
            options.startCommands.push_back(command);
            options.pluggedAnything = options.pluggedAnything || command.rfind("plug ", 0) == 0 ||
                                      command.rfind("move ", 0) == 0;
        } else if (arg == "--no-stdin") {
            options.readStdin = false;
        } else {
            return false;
        }
    }
    return true;
}

// False, after saying why, for a shared bus folder that is not this user's own.
bool BusDirectoryIsSafe(const std::string& busDirectory)
{
    const std::string problem = vhid::BusDirectoryProblem(busDirectory);
    if (problem.empty())
        return true;
    std::fprintf(stderr, "kestrova-devsim: refusing the bus folder: %s (remove it, or choose another folder with "
                         "--bus or KESTROVA_VHID_DIR)\n", problem.c_str());
    return false;
}

int RunClient(int argc, char** argv)
{
    std::string busDirectory = vhid::BusDirectory();
    int first = 2;
    if (argc > 3 && std::string(argv[2]) == "--bus") {
        busDirectory = argv[3];
        first = 4;
    }
    std::string command;
    for (int i = first; i < argc; ++i) {
        if (!command.empty())
            command += ' ';
        command += argv[i];
    }
    if (command.empty()) {
        std::fputs(Usage(), stderr);
        return 2;
    }
    if (!BusDirectoryIsSafe(busDirectory))
        return 1;
    return devsim::RunControlClient(busDirectory, command);
}

// Runs one command line; true when the program should end.
bool Execute(devsim::CDeviceSimulator& simulator, const std::string& line, FILE* out)
{
    const devsim::ControlReply reply = devsim::RunControlCommand(simulator, line);
    if (!reply.text.empty())
        std::fprintf(reply.ok ? out : stderr, "%s\n", reply.text.c_str());
    std::fflush(out);
    return reply.quit;
}

void ServeControlClient(devsim::CDeviceSimulator& simulator, int listenFd, bool& quit)
{
    const int client = accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0)
        return;
    const devsim::ControlReply reply = devsim::RunControlCommand(simulator, devsim::ReadControlLine(client));
    devsim::WriteControlReply(client, reply.ok, reply.text);
    close(client);
    quit = quit || reply.quit;
}

// Collects standard input and runs each complete line; false at end of input.
bool ReadStdin(devsim::CDeviceSimulator& simulator, std::string& pending, bool& quit)
{
    char buffer[1024];
    const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0)
        return false;
    pending.append(buffer, static_cast<size_t>(n));
    for (size_t end = pending.find('\n'); end != std::string::npos && !quit; end = pending.find('\n')) {
        quit = Execute(simulator, pending.substr(0, end), stdout);
        pending.erase(0, end + 1);
    }
    return true;
}

const sigset_t& StopSignals()
{
    static const sigset_t signals = [] {
        sigset_t set;
        sigemptyset(&set);
        sigaddset(&set, SIGINT);
        sigaddset(&set, SIGTERM);
        return set;
    }();
    return signals;
}

int Serve(devsim::CDeviceSimulator& simulator, const Options& options)
{
    const int signalFd = signalfd(-1, &StopSignals(), SFD_CLOEXEC);
    const std::string controlPath = devsim::ControlSocketPath(options.busDirectory);
    const int controlFd = devsim::ListenForControl(controlPath);
    if (controlFd < 0)
        std::fprintf(stderr, "kestrova-devsim: no control socket at %s\n", controlPath.c_str());

    bool stdinOpen = options.readStdin;
    bool quit = false;
    std::string pending;
    while (!quit) {
        std::vector<pollfd> fds{{signalFd, POLLIN, 0}, {controlFd, POLLIN, 0}, {stdinOpen ? STDIN_FILENO : -1, POLLIN, 0}};
        if (poll(fds.data(), fds.size(), -1) < 0)
            continue;  // interrupted
        if (fds[0].revents != 0)
            break;
        if (fds[1].revents & POLLIN)
            ServeControlClient(simulator, controlFd, quit);
        if (fds[2].revents != 0 && !ReadStdin(simulator, pending, quit))
            stdinOpen = false;  // keep serving; stop with a signal or "quit"
    }
    if (controlFd >= 0) {
        close(controlFd);
        unlink(controlPath.c_str());
    }
    close(signalFd);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string(argv[1]) == "ctl")
        return RunClient(argc, argv);
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "%s%s\n", Usage(), devsim::ControlHelp().c_str());
        return 2;
    }
    if (!BusDirectoryIsSafe(options.busDirectory))
        return 1;
    // Blocked before any thread starts, so that every thread leaves the
    // stop signals to the signalfd and the devices are unplugged cleanly.
    pthread_sigmask(SIG_BLOCK, &StopSignals(), nullptr);
    devsim::CDeviceSimulator simulator(options.busDirectory);
    if (!options.logTarget.empty() && !simulator.SetTrafficLog(options.logTarget)) {
        std::fprintf(stderr, "kestrova-devsim: cannot open the log %s\n", options.logTarget.c_str());
        return 1;
    }
    if (!simulator.Start()) {
        std::fprintf(stderr, "kestrova-devsim: cannot use the bus directory %s\n", options.busDirectory.c_str());
        return 1;
    }
    if (!options.pluggedAnything)
        options.startCommands.insert(options.startCommands.begin(), "plug mouse-cable");
    for (const std::string& command : options.startCommands)
        Execute(simulator, command, stdout);
    std::fprintf(stderr, "kestrova-devsim: serving on %s (type help)\n", options.busDirectory.c_str());
    const int result = Serve(simulator, options);
    simulator.Stop();
    return result;
}
