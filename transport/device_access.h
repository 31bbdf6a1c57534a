#pragma once
// Access to the family's hidraw nodes. The kernel gives them to root; a udev
// rule file, made from SupportedDeviceTable at build time, gives the user at
// the seat read and write access ("uaccess"). When it is missing a device is
// present but cannot be opened, and the user is told so in words.

#include <optional>
#include <string>
#include <vector>

// The text of the rule file: one rule per vendor and product of the table,
// matching the HID device on any bus (USB, Bluetooth).
std::string DeviceRules();

// Where the rule file lies beside the program: installed, where udev reads
// it; in a build folder, the copy to install.
std::string DeviceRuleFilePath();

// The device node of `path` when it is a supported device's hidraw
// interface that this user cannot open for reading and writing; else empty.
std::string DeniedDeviceNode(const std::string& path);

// A present supported interface that this user cannot open.
struct DeniedDevice {
    std::string path;
    std::string node;
    std::string hidId;  // "320F:22A9", as the kernel names the device
};

// The first present supported interface that cannot be opened.
std::optional<DeniedDevice> FindDeniedDevice();

// What to tell the user about a supported device at `path` whose `node`
// cannot be opened (in English, for the command-line tool).
std::string DeviceAccessText(const std::string& path, const std::string& node);

// DeviceAccessText for FindDeniedDevice; empty when there is none.
std::string DeviceAccessAdvice();
