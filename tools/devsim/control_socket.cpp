#include "tools/devsim/control_socket.h"

#include "tools/devsim/unix_socket.h"

#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace devsim {

namespace {

constexpr const char* kControlName = "kestrova-devsim.ctl";
constexpr const char* kOkLine = "OK\n";
constexpr const char* kErrorLine = "ERROR\n";

bool WriteAll(int fd, const std::string& text)
{
    const auto* data = reinterpret_cast<const uint8_t*>(text.data());
    for (size_t sent = 0; sent < text.size();) {
        const ssize_t n = SendSome(fd, data + sent, text.size() - sent);
        if (n <= 0)
            return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

std::string ReadAll(int fd)
{
    std::string text;
    uint8_t buffer[4096];
    for (ssize_t n; (n = ReceiveSome(fd, buffer, sizeof buffer)) > 0;)
        text.append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(n));
    return text;
}

}  // namespace

std::string ControlSocketPath(const std::string& busDirectory)
{
    return busDirectory + "/" + kControlName;
}

int ListenForControl(const std::string& path)
{
    return ListenUnix(path, 0);
}

std::string ReadControlLine(int fd)
{
    const timeval limit{1, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    std::string line;
    uint8_t c = 0;
    while (line.size() < 4096 && ReceiveSome(fd, &c, 1) > 0 && c != '\n')
        line += static_cast<char>(c);
    return line;
}

void WriteControlReply(int fd, bool ok, const std::string& text)
{
    if (!WriteAll(fd, std::string(ok ? kOkLine : kErrorLine) + text + "\n"))
        std::fprintf(stderr, "kestrova-devsim: a control client left before its answer\n");
}

SimulatorReply AskSimulator(const std::string& busDirectory, const std::string& command, std::string& answer)
{
    answer.clear();
    const int fd = ConnectUnix(ControlSocketPath(busDirectory));
    if (fd < 0)
        return SimulatorReply::kNoSimulator;
    const bool sent = WriteAll(fd, command + "\n");
    const std::string reply = sent ? ReadAll(fd) : std::string();
    close(fd);
    const size_t body = reply.find('\n');
    answer = body == std::string::npos ? reply : reply.substr(body + 1);
    return reply.rfind(kOkLine, 0) == 0 ? SimulatorReply::kOk : SimulatorReply::kError;
}

int RunControlClient(const std::string& busDirectory, const std::string& command)
{
    std::string answer;
    const SimulatorReply reply = AskSimulator(busDirectory, command, answer);
    if (reply == SimulatorReply::kNoSimulator) {
        std::fprintf(stderr, "kestrova-devsim: no simulator answers on %s\n", ControlSocketPath(busDirectory).c_str());
        return 2;
    }
    const bool ok = reply == SimulatorReply::kOk;
    std::fputs(answer.c_str(), ok ? stdout : stderr);
    return ok ? 0 : 1;
}

}  // namespace devsim
