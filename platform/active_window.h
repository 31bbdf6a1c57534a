#pragma once
// Which program owns the window in front. On X11 the window manager names
// the active window (_NET_ACTIVE_WINDOW) and the window its process
// (_NET_WM_PID); other desktops (Wayland) don't tell, and the source says so.

#include <memory>
#include <string>
#include <sys/types.h>

// A program as the system knows it: the file name of its executable, and
// the process name (at most 15 bytes), which differs for programs run
// through a loader.
struct ProgramNames {
    std::string executable;
    std::string process;
    bool empty() const { return executable.empty() && process.empty(); }
    friend bool operator==(const ProgramNames&, const ProgramNames&) = default;
};

// The names of a running process; empty when it is gone or not ours to see.
ProgramNames ProgramOfProcess(pid_t pid);

// True when `name` (as a user binds it, e.g. "game.exe") names this program:
// its executable or its process name, the latter perhaps cut short.
bool NamesProgram(const ProgramNames& program, const std::string& name);

class IActiveWindowSource {
public:
    virtual ~IActiveWindowSource() = default;
    // False where the desktop does not tell which window is active.
    virtual bool IsSupported() const = 0;
    // The program of the active window; empty when there is none or it
    // can't be told.
    virtual ProgramNames ActiveProgram() = 0;
};

// The X11 source when the session is an X11 one and its display can be
// reached; otherwise a source that is not supported.
std::unique_ptr<IActiveWindowSource> CreateActiveWindowSource();
