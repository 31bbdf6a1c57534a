#pragma once
// The simulator's text commands, shared by standard input, the control
// socket and the "ctl" client: "plug keyboard", "fault mouse status fe
// WriteMemory 2", "dump mouse settings".

#include "tools/devsim/simulator.h"

#include <string>

namespace devsim {

struct ControlReply {
    bool ok = true;
    std::string text;
    bool quit = false;
};

ControlReply RunControlCommand(CDeviceSimulator& simulator, const std::string& line);
std::string ControlHelp();

}  // namespace devsim
