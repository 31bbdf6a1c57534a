#pragma once
// kestrova-ctl macros / recoil: the device's macro memory and the mouse's
// recoil memory, decoded. The firmware has no command that reads these
// memories back, so only a simulated device shows them: they are asked of the
// simulator that serves the device.

#include "tools/ctl/ctl_device.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

int RunMacroMemory(const CtlOptions& options);
int RunRecoilMemory(const CtlOptions& options);

// The bytes of one area in the simulator's hex dump ("<device> <area> (N
// bytes)", then "  0000: aa 55 ..." lines, "  *" for runs of zero lines).
std::optional<std::vector<uint8_t>> ParseAreaDump(const std::string& dump);

// Readable lines for a macro memory and a recoil memory.
std::vector<std::string> DescribeMacroMemory(const std::vector<uint8_t>& memory);
std::vector<std::string> DescribeRecoilMemory(const std::vector<uint8_t>& memory);
