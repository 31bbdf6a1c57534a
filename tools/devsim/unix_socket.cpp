#include "tools/devsim/unix_socket.h"

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace devsim {

namespace {

bool FillAddress(const std::string& path, sockaddr_un& address)
{
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

ssize_t Classify(ssize_t result)
{
    if (result > 0)
        return result;
    if (result < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
        return 0;
    return -1;
}

}  // namespace

int ListenUnix(const std::string& path, int flags)
{
    sockaddr_un address;
    if (!FillAddress(path, address))
        return -1;
    const int live = ConnectUnix(path);
    if (live >= 0) {
        close(live);
        return -1;  // someone serves there already
    }
    unlink(path.c_str());  // a socket file left behind by a process that died
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | flags, 0);
    if (fd < 0)
        return -1;
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 || listen(fd, 16) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

int ConnectUnix(const std::string& path)
{
    sockaddr_un address;
    if (!FillAddress(path, address))
        return -1;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

ssize_t SendSome(int fd, const uint8_t* data, size_t length)
{
    ssize_t n;
    do
        n = send(fd, data, length, MSG_NOSIGNAL);
    while (n < 0 && errno == EINTR);
    return Classify(n);
}

ssize_t ReceiveSome(int fd, uint8_t* buffer, size_t length)
{
    ssize_t n;
    do
        n = recv(fd, buffer, length, 0);
    while (n < 0 && errno == EINTR);
    return Classify(n);
}

}  // namespace devsim
