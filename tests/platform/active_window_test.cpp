#include "platform/active_window.h"

#include "x11_window_manager_stand_in.h"

#include <cstdlib>
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

TEST(ActiveWindowTest, X11SourceNamesTheProgramOfTheActiveWindow)
{
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (display == nullptr || *display == '\0' || (wayland != nullptr && *wayland != '\0'))
        GTEST_SKIP() << "no X11 display (run under Xvfb)";
    X11WindowManagerStandIn windowManager;
    if (!windowManager.IsConnected())
        GTEST_SKIP() << "X11 display not reachable";
    windowManager.ActivateWindowOf(::getpid());

    const auto source = CreateActiveWindowSource();
    ASSERT_TRUE(source->IsSupported());
    EXPECT_EQ(source->ActiveProgram(), ProgramOfProcess(::getpid()));
    windowManager.Deactivate();
    EXPECT_TRUE(source->ActiveProgram().empty());
    windowManager.ActivateWindowOf(::getpid(), XCB_ATOM_CARDINAL);  // as xprop sets it
    EXPECT_EQ(source->ActiveProgram(), ProgramOfProcess(::getpid()));
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
