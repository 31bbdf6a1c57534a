#include "platform/active_window.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

TEST(ActiveWindowTest, OwnProcessIsNamed)
{
    const ProgramNames self = ProgramOfProcess(::getpid());
    EXPECT_EQ(self.executable, std::filesystem::read_symlink("/proc/self/exe").filename().string());
    EXPECT_FALSE(self.process.empty());
    EXPECT_TRUE(ProgramOfProcess(0).empty());
    EXPECT_TRUE(ProgramOfProcess(-1).empty());
}

TEST(ActiveWindowTest, BoundNamesMatchExecutableOrProcessName)
{
    const ProgramNames loaded{"loader64", "game.exe"};
    const ProgramNames longName{"loader64", "averylonggamena"};  // cut to 15 bytes
    const struct {
        const ProgramNames& program;
        const char* name;
        bool expected;
    } cases[] = {
        {loaded, "game.exe", true},       {loaded, "loader64", true},
        {loaded, "GAME.EXE", false},      {loaded, "game", false},
        {loaded, "", false},              {longName, "averylonggamename.exe", true},
        {longName, "averylonggamena", true}, {loaded, "game.exe.bak", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NamesProgram(c.program, c.name), c.expected) << c.name;
}

// Plays the window manager on the X server of $DISPLAY (run under Xvfb).
TEST(ActiveWindowTest, X11SourceNamesTheProgramOfTheActiveWindow)
{
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (display == nullptr || *display == '\0' || (wayland != nullptr && *wayland != '\0'))
        GTEST_SKIP() << "no X11 display";
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        GTEST_SKIP() << "X11 display not reachable";
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    auto atom = [connection](const char* name) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
        const xcb_atom_t value = reply->atom;
        std::free(reply);
        return value;
    };
    const xcb_window_t window = xcb_generate_id(connection);
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, root, 0, 0, 10, 10, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      XCB_COPY_FROM_PARENT, 0, nullptr);
    const uint32_t pid = static_cast<uint32_t>(::getpid());
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, atom("_NET_WM_PID"), XCB_ATOM_CARDINAL, 32, 1, &pid);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, root, atom("_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW, 32, 1,
                        &window);
    xcb_flush(connection);

    const auto source = CreateActiveWindowSource();
    ASSERT_TRUE(source->IsSupported());
    EXPECT_EQ(source->ActiveProgram(), ProgramOfProcess(::getpid()));

    const uint32_t none = XCB_WINDOW_NONE;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, root, atom("_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW, 32, 1, &none);
    xcb_destroy_window(connection, window);
    xcb_flush(connection);
    EXPECT_TRUE(source->ActiveProgram().empty());
    xcb_disconnect(connection);
}

TEST(ActiveWindowTest, WaylandSessionIsNotSupported)
{
    const char* previous = std::getenv("WAYLAND_DISPLAY");
    const std::string kept = previous == nullptr ? "" : previous;
    ::setenv("WAYLAND_DISPLAY", "wayland-0", 1);
    const auto source = CreateActiveWindowSource();
    EXPECT_FALSE(source->IsSupported());
    EXPECT_TRUE(source->ActiveProgram().empty());
    if (previous == nullptr)
        ::unsetenv("WAYLAND_DISPLAY");
    else
        ::setenv("WAYLAND_DISPLAY", kept.c_str(), 1);
}
