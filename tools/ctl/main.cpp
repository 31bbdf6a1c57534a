// kestrova-ctl: the devices as the program sees them, from a terminal.

#include "tools/ctl/ctl_commands.h"
#include "tools/ctl/ctl_memory.h"
#include "tools/ctl/ctl_profile.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr const char* kUsage =
    "usage: kestrova-ctl [options] <command>\n"
    "\n"
    "commands:\n"
    "  list       every HID interface, and the table row and slot it matches, or why not\n"
    "  info       the device's information block\n"
    "  settings   the mouse's current settings block, field by field\n"
    "  keys       the device's key table, with each key's function\n"
    "  watch      the device's notifications as they arrive (Ctrl-C ends)\n"
    "  macros     the device's macro memory, decoded (simulated devices only)\n"
    "  recoil     the mouse's recoil memory, decoded (simulated mouse only)\n"
    "  set NAME=VALUE...  change the mouse's current device profile:\n"
    "             dpi0..dpi6=DPI (50..10000), stage=0..6 (active DPI stage), rate=0..3,\n"
    "             sleep1=, sleep2=, ble-sleep1=, ble-sleep2= (0..255), debounce=0..255,\n"
    "             lift-off=0|1, effect=0..11, brightness=0..4, speed=0..4, colour=RRGGBB\n"
    "  export FILE  the mouse's settings and keys as a mouse profile file\n"
    "  apply FILE   a mouse profile file's settings and keys to the mouse\n"
    "\n"
    "options:\n"
    "  --device mouse|keyboard|pad   which device (default: mouse)\n"
    "  --cable, --receiver           how to reach the mouse (default: cable if present)\n"
    "  --count N                     watch: stop after N notifications\n"
    "  --trace                       print every command frame and reply\n"
    "  --help                        this text\n";

int UsageError(const std::string& message)
{
    std::fprintf(stderr, "error: %s\n\n%s", message.c_str(), kUsage);
    return kExitUsage;
}

bool ParseFamily(std::string_view name, CtlFamily& family)
{
    if (name == "mouse")
        family = CtlFamily::kMouse;
    else if (name == "keyboard")
        family = CtlFamily::kKeyboard;
    else if (name == "pad")
        family = CtlFamily::kMousePad;
    else
        return false;
    return true;
}

bool ParseCount(const char* text, long& count)
{
    char* end = nullptr;
    count = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && count > 0;
}

// Commands that take arguments, and how many (-1: one or more).
int ArgumentCount(std::string_view command)
{
    if (command == "set")
        return -1;
    return command == "export" || command == "apply" ? 1 : 0;
}

int Dispatch(std::string_view command, const std::vector<std::string>& arguments, const CtlOptions& options)
{
    const int wanted = ArgumentCount(command);
    if (wanted >= 0 && arguments.size() != static_cast<size_t>(wanted))
        return UsageError(wanted == 0 ? "\"" + std::string(command) + "\" takes no arguments"
                                      : "\"" + std::string(command) + "\" needs one FILE");
    if (command == "set")
        return RunSet(options, arguments);
    if (command == "export")
        return RunExport(options, arguments.front());
    if (command == "apply")
        return RunApply(options, arguments.front());
    if (command == "list")
        return RunList();
    if (command == "info")
        return RunInfo(options);
    if (command == "settings")
        return RunSettings(options);
    if (command == "keys")
        return RunKeys(options);
    if (command == "watch")
        return RunWatch(options);
    if (command == "macros")
        return RunMacroMemory(options);
    if (command == "recoil")
        return RunRecoilMemory(options);
    return UsageError("unknown command \"" + std::string(command) + "\"");
}

}  // namespace

int main(int argc, char** argv)
{
    CtlOptions options;
    std::string command;
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--help" || arg == "-h") {
            std::printf("%s", kUsage);
            return kExitOk;
        } else if (arg == "--trace") {
            // Traces are read once, on first use: set the switch before anything runs.
            setenv("KESTROVA_TRACE", "1", 1);
        } else if (arg == "--cable") {
            options.via = CtlVia::kCable;
        } else if (arg == "--receiver") {
            options.via = CtlVia::kReceiver;
        } else if (arg == "--device") {
            if (!hasValue || !ParseFamily(argv[++i], options.family))
                return UsageError("--device needs mouse, keyboard or pad");
        } else if (arg == "--count") {
            if (!hasValue || !ParseCount(argv[++i], options.count))
                return UsageError("--count needs a positive number");
        } else if (arg.starts_with("-")) {
            return UsageError("unknown option \"" + std::string(arg) + "\"");
        } else if (command.empty()) {
            command = arg;
        } else {
            arguments.emplace_back(arg);
        }
    }
    if (command.empty())
        return UsageError("no command given");
    if (options.via == CtlVia::kReceiver && options.family != CtlFamily::kMouse)
        return UsageError("only the mouse has a receiver");
    return Dispatch(command, arguments, options);
}
