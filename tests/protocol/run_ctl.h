#pragma once
// kestrova-ctl run as a user would, against the simulator of the test
// (the bus directory travels in the environment). KESTROVA_CTL_PATH is
// defined by the test's build lines.

#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <utility>

// Exit code and everything the tool printed, standard error included.
inline std::pair<int, std::string> RunCtl(const std::string& arguments)
{
    const std::string command = std::string(KESTROVA_CTL_PATH) + " " + arguments + " 2>&1";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return {-1, ""};
    std::string output;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        output += buffer;
    const int status = ::pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}
