#include "tools/devsim/control_socket.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace devsim {

namespace {

constexpr const char* kControlName = "kestrova-devsim.ctl";
constexpr const char* kOkLine = "OK\n";
constexpr const char* kErrorLine = "ERROR\n";

bool FillAddress(const std::string& path, sockaddr_un& address)
{
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

bool WriteAll(int fd, const std::string& text)
{
    size_t sent = 0;
    while (sent < text.size()) {
        const ssize_t n = send(fd, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

std::string ReadAll(int fd)
{
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return text;
        text.append(buffer, static_cast<size_t>(n));
    }
}

}  // namespace

std::string ControlSocketPath(const std::string& busDirectory)
{
    return busDirectory + "/" + kControlName;
}

int ListenForControl(const std::string& path)
{
    sockaddr_un address;
    if (!FillAddress(path, address))
        return -1;
    unlink(path.c_str());
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 || listen(fd, 4) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

std::string ReadControlLine(int fd)
{
    const timeval limit{1, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    std::string line;
    char c = 0;
    while (line.size() < 4096) {
        const ssize_t n = recv(fd, &c, 1, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0 || c == '\n')
            break;
        line += c;
    }
    return line;
}

void WriteControlReply(int fd, bool ok, const std::string& text)
{
    if (!WriteAll(fd, std::string(ok ? kOkLine : kErrorLine) + text + "\n"))
        std::fprintf(stderr, "kestrova-devsim: a control client left before its answer\n");
}

int RunControlClient(const std::string& busDirectory, const std::string& command)
{
    const std::string path = ControlSocketPath(busDirectory);
    sockaddr_un address;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0 || !FillAddress(path, address) ||
        connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        std::fprintf(stderr, "kestrova-devsim: no simulator answers on %s\n", path.c_str());
        if (fd >= 0)
            close(fd);
        return 2;
    }
    const bool sent = WriteAll(fd, command + "\n");
    const std::string reply = sent ? ReadAll(fd) : std::string();
    close(fd);
    const bool ok = reply.rfind(kOkLine, 0) == 0;
    const size_t body = reply.find('\n');
    std::fputs(body == std::string::npos ? reply.c_str() : reply.c_str() + body + 1, ok ? stdout : stderr);
    return ok ? 0 : 1;
}

}  // namespace devsim
