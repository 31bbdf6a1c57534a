// kestrova-ctl: the devices as the program sees them, from a terminal.

#include "tools/ctl/ctl_commands.h"
#include "tools/ctl/ctl_memory.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

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

int Dispatch(std::string_view command, const CtlOptions& options)
{
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
            return UsageError("one command at a time");
        }
    }
    if (command.empty())
        return UsageError("no command given");
    if (options.via == CtlVia::kReceiver && options.family != CtlFamily::kMouse)
        return UsageError("only the mouse has a receiver");
    return Dispatch(command, options);
}
