#pragma once
// One line per frame on the bus, both directions: time, interface, frame
// type and, for command frames, the decoded command fields; between them,
// what happened to the devices (plugged, unplugged, link).

#include "tools/devsim/bus_server.h"

#include <fstream>
#include <mutex>
#include <ostream>
#include <string>

namespace devsim {

// Text of one frame without the time stamp, e.g.
// "-> hid#...#sim-mouse-1 INPUT 64 ReadMemory len=2 off=0x0000 status=00 sum=ok | 04 ...".
std::string DescribeFrame(const std::string& interfaceName, Direction direction, const vhid::Frame& frame);

class CTrafficLog {
public:
    // "-" logs to standard error; an empty path stops logging.
    bool SetTarget(const std::string& path);
    // Logs to a stream the caller keeps alive; nullptr stops logging.
    void SetStream(std::ostream* stream);
    void Record(const std::string& interfaceName, Direction direction, const vhid::Frame& frame);
    // A line about the bus itself: "== plug mouse-cable".
    void Note(const std::string& text);

private:
    void Write(const std::string& line);

    std::mutex mutex_;
    std::ofstream file_;
    std::ostream* out_ = nullptr;
};

}  // namespace devsim
