#pragma once
// Finding one device the way the program does (one discovery pass over the
// slot list) and opening its command channel.

#include "transport/command_channel.h"

#include <optional>
#include <string>

enum class CtlFamily { kMouse, kKeyboard, kMousePad };
enum class CtlVia { kAny, kCable, kReceiver };

// Exit codes of kestrova-ctl.
constexpr int kExitOk = 0;
constexpr int kExitExchangeFailed = 1;
constexpr int kExitNoDevice = 2;
constexpr int kExitUsage = 3;

struct CtlOptions {
    CtlFamily family = CtlFamily::kMouse;
    CtlVia via = CtlVia::kAny;
    long count = -1;  // watch: stop after this many notifications
};

struct CtlDevice {
    std::string name;  // "mouse on its cable", ...
    std::string controlPath;
    std::string notificationPath;  // empty when that interface is absent
    bool receiver = false;
};

const char* FamilyName(CtlFamily family);

// The first matching connection, cable before receiver; nothing (and a
// message on standard error) when none is attached.
std::optional<CtlDevice> LocateDevice(const CtlOptions& options);

// Opens the device's control interface on the channel and, through the
// receiver, checks the link. Prints what went wrong and returns an exit code.
int OpenChannel(CCommandChannel& channel, const CtlDevice& device);

// LocateDevice and OpenChannel, naming the device found on standard output.
int OpenDevice(const CtlOptions& options, CCommandChannel& channel, CtlDevice& device);

// Prints "error: <what>: result <code> (<meaning>)" and returns the exit code.
int ReportFailure(const std::string& what, int result);
