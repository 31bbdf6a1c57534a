#pragma once
// Linux hidraw backend. Each top-level collection of a hidraw node is its own
// interface, with a path shaped as the system's device-interface paths are:
// "hidraw:hid#vid_VVVV&pid_PPPP[&mi_II][&colCC]#hidrawN".

#include <string>
#include <vector>

constexpr const char* kHidrawClassRoot = "/sys/class/hidraw";
constexpr const char* kHidrawDeviceDirectory = "/dev";

// The device node of a hidraw interface path ("/dev/hidraw3"); empty for
// any other path.
std::string HidrawNodeOf(const std::string& path);

// Enumeration from a given class directory (tests point it at a fake tree).
void AppendHidrawPathsFrom(const std::string& classRoot, std::vector<std::string>& paths);
bool HidrawPresentIn(const std::string& classRoot, const std::string& path);
