#pragma once
// The program's control socket: one text command per connection, answered
// with "OK" or "ERROR" on the first line and the command's text after it.
// Its name does not parse as an interface, so hosts scanning the bus
// directory ignore it.

#include <string>

namespace devsim {

std::string ControlSocketPath(const std::string& busDirectory);

// Listening socket for the program; -1 on failure.
int ListenForControl(const std::string& path);
// Reads one command line from an accepted connection (1 s at most).
std::string ReadControlLine(int fd);
void WriteControlReply(int fd, bool ok, const std::string& text);

// The client side: sends one command to the simulator serving busDirectory;
// answer is the text after the reply's first line.
enum class SimulatorReply { kNoSimulator, kOk, kError };
SimulatorReply AskSimulator(const std::string& busDirectory, const std::string& command, std::string& answer);

// AskSimulator, printing the answer; returns the exit code.
int RunControlClient(const std::string& busDirectory, const std::string& command);

}  // namespace devsim
