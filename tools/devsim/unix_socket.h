#pragma once
// Small helpers over Unix-domain stream sockets, shared by the bus server
// and the control socket.

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/types.h>

namespace devsim {

// A listening socket on path; -1 on failure or when a live listener serves
// there already. A socket file left behind by a dead process is replaced.
// flags: extra socket() type flags such as SOCK_NONBLOCK.
int ListenUnix(const std::string& path, int flags);
// A connected socket, or -1.
int ConnectUnix(const std::string& path);

// One send or receive; interrupted calls are repeated. Bytes moved, 0 when
// the call would block, -1 when the connection is closed or failed.
ssize_t SendSome(int fd, const uint8_t* data, size_t length);
ssize_t ReceiveSome(int fd, uint8_t* buffer, size_t length);

}  // namespace devsim
