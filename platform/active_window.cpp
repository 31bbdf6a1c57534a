#include "platform/active_window.h"

#include "platform/trace.h"
#include "platform/x11_atom.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

// The kernel keeps this many bytes of a process name.
constexpr size_t kProcessNameLength = 15;

std::string ProcFile(pid_t pid, const char* name)
{
    return "/proc/" + std::to_string(pid) + "/" + name;
}

std::string ExecutableName(pid_t pid)
{
    std::error_code error;
    const std::filesystem::path target = std::filesystem::read_symlink(ProcFile(pid, "exe"), error);
    return error ? std::string() : target.filename().string();
}

std::string ProcessName(pid_t pid)
{
    std::ifstream file(ProcFile(pid, "comm"));
    std::string name;
    if (!std::getline(file, name))
        return {};
    return name;
}

class CUnsupportedSource final : public IActiveWindowSource {
public:
    bool IsSupported() const override { return false; }
    ProgramNames ActiveProgram() override { return {}; }
};

class CX11ActiveWindowSource final : public IActiveWindowSource {
public:
    CX11ActiveWindowSource(xcb_connection_t* connection, xcb_window_t root)
        : m_connection(connection), m_root(root), m_activeAtom(InternX11Atom(connection, "_NET_ACTIVE_WINDOW")),
          m_pidAtom(InternX11Atom(connection, "_NET_WM_PID"))
    {
    }
    ~CX11ActiveWindowSource() override { xcb_disconnect(m_connection); }
    CX11ActiveWindowSource(const CX11ActiveWindowSource&) = delete;
    CX11ActiveWindowSource& operator=(const CX11ActiveWindowSource&) = delete;

    bool IsSupported() const override
    {
        return m_activeAtom != XCB_ATOM_NONE && xcb_connection_has_error(m_connection) == 0;
    }

    ProgramNames ActiveProgram() override
    {
        if (!IsSupported())
            return {};
        const uint32_t window = CardinalProperty(m_root, m_activeAtom);
        if (window == XCB_WINDOW_NONE)
            return {};
        const uint32_t pid = CardinalProperty(window, m_pidAtom);
        return pid == 0 ? ProgramNames() : ProgramOfProcess(static_cast<pid_t>(pid));
    }

private:
    // The first 32-bit value of a window property; 0 when it is missing. Any
    // type is taken: window managers give the active window as WINDOW, but
    // tools that set it by hand (xprop) give it as CARDINAL.
    uint32_t CardinalProperty(xcb_window_t window, xcb_atom_t property)
    {
        const auto cookie = xcb_get_property(m_connection, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1);
        xcb_get_property_reply_t* reply = xcb_get_property_reply(m_connection, cookie, nullptr);
        uint32_t value = 0;
        if (reply != nullptr && reply->format == 32 && xcb_get_property_value_length(reply) >= 4)
            std::memcpy(&value, xcb_get_property_value(reply), sizeof value);
        std::free(reply);
        return value;
    }

    xcb_connection_t* m_connection;
    xcb_window_t m_root;
    xcb_atom_t m_activeAtom;
    xcb_atom_t m_pidAtom;
};

// A Wayland session may still run an X server for older programs, but it
// only knows about those: its active window says nothing about the desktop.
bool IsX11Session()
{
    const char* type = std::getenv("XDG_SESSION_TYPE");
    if (type != nullptr && std::strcmp(type, "wayland") == 0)
        return false;
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return wayland == nullptr || *wayland == '\0';
}

}  // namespace

ProgramNames ProgramOfProcess(pid_t pid)
{
    if (pid <= 0)
        return {};
    return {ExecutableName(pid), ProcessName(pid)};
}

bool NamesProgram(const ProgramNames& program, const std::string& name)
{
    if (name.empty())
        return false;
    if (name == program.executable || name == program.process)
        return true;
    return program.process.size() == kProcessNameLength && name.starts_with(program.process);
}

std::unique_ptr<IActiveWindowSource> CreateActiveWindowSource()
{
    if (!IsX11Session())
        return std::make_unique<CUnsupportedSource>();
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection) != 0) {
        Trace("active window: no X11 display");
        xcb_disconnect(connection);
        return std::make_unique<CUnsupportedSource>();
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    if (screens.rem == 0) {
        xcb_disconnect(connection);
        return std::make_unique<CUnsupportedSource>();
    }
    return std::make_unique<CX11ActiveWindowSource>(connection, screens.data->root);
}
