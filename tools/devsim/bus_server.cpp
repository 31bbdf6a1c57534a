#include "tools/devsim/bus_server.h"

#include "platform/trace.h"
#include "tools/devsim/unix_socket.h"

#include <cerrno>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace devsim {

namespace {

// A host that stops reading loses input reports beyond this much backlog,
// as a full HID input buffer drops them; answers are never dropped.
constexpr size_t kMaxBacklog = 256 * 1024;
constexpr size_t kReadChunk = 4096;

bool MakeDirectories(const std::string& path)
{
    for (size_t slash = path.find('/', 1); ; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            return true;
    }
}

}  // namespace

struct CBusServer::Connection {
    int fd = -1;
    vhid::FrameDecoder decoder;
    std::vector<uint8_t> outgoing;
};

struct CBusServer::Interface {
    std::string name;
    std::string path;
    int listenFd = -1;
    vhid::Hello hello;
    std::map<ConnectionId, Connection> connections;
};

CBusServer::CBusServer(std::string directory) : directory_(std::move(directory)) {}

CBusServer::~CBusServer()
{
    Stop();
}

bool CBusServer::Start(FrameHandler handler, FrameObserver observer)
{
    std::lock_guard lock(mutex_);
    if (running_)
        return true;
    if (!MakeDirectories(directory_))
        return false;
    wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeFd_ < 0)
        return false;
    handler_ = std::move(handler);
    observer_ = std::move(observer);
    running_ = true;
    thread_ = std::thread(&CBusServer::Run, this);
    return true;
}

void CBusServer::Stop()
{
    {
        std::lock_guard lock(mutex_);
        if (!running_)
            return;
        running_ = false;
        Wake();
    }
    thread_.join();
    std::lock_guard lock(mutex_);
    for (auto& [id, iface] : interfaces_)
        CloseInterface(iface);
    interfaces_.clear();
    pending_.clear();
    lastDue_.clear();
    close(wakeFd_);
    wakeFd_ = -1;
}

InterfaceId CBusServer::Open(const std::string& socketName, const vhid::Hello& hello)
{
    std::lock_guard lock(mutex_);
    if (!running_)
        return 0;
    Interface iface;
    iface.name = socketName;
    iface.path = directory_ + "/" + socketName;
    iface.hello = hello;
    iface.listenFd = ListenUnix(iface.path, SOCK_NONBLOCK);
    if (iface.listenFd < 0) {
        TraceF("devsim: cannot listen on %s", iface.path.c_str());
        return 0;
    }
    const InterfaceId id = nextInterface_++;
    interfaces_.emplace(id, std::move(iface));
    Wake();
    return id;
}

void CBusServer::Close(InterfaceId id)
{
    std::lock_guard lock(mutex_);
    auto found = interfaces_.find(id);
    if (found == interfaces_.end())
        return;
    CloseInterface(found->second);
    interfaces_.erase(found);
    lastDue_.erase(id);
    for (auto it = pending_.begin(); it != pending_.end();)
        it = it->second.interfaceId == id ? pending_.erase(it) : std::next(it);
    Wake();
}

void CBusServer::CloseInterface(Interface& iface)
{
    // The file goes first, so that nobody connects to a leaving device.
    unlink(iface.path.c_str());
    close(iface.listenFd);
    for (auto& [connectionId, connection] : iface.connections)
        close(connection.fd);
    iface.connections.clear();
}

void CBusServer::SetHello(InterfaceId id, const vhid::Hello& hello)
{
    std::lock_guard lock(mutex_);
    auto found = interfaces_.find(id);
    if (found != interfaces_.end())
        found->second.hello = hello;
}

void CBusServer::Send(InterfaceId id, ConnectionId connection, uint8_t type, std::vector<uint8_t> payload, int delayMs)
{
    std::lock_guard lock(mutex_);
    auto found = interfaces_.find(id);
    if (found == interfaces_.end())
        return;
    const Clock::time_point now = Clock::now();
    Clock::time_point due = now + std::chrono::milliseconds(delayMs > 0 ? delayMs : 0);
    // Input reports never overtake each other; answers on the control pipe
    // (ACK, FEATURE) don't queue behind them.
    const bool ordered = type == vhid::kInput;
    auto last = lastDue_.find(id);
    if (ordered && last != lastDue_.end() && last->second > due)
        due = last->second;
    vhid::Frame frame{type, std::move(payload)};
    if (due <= now) {
        Deliver(found->second, connection, frame);
        return;
    }
    if (ordered)
        lastDue_[id] = due;
    pending_.emplace(due, Pending{id, connection, std::move(frame)});
    Wake();
}

void CBusServer::Disconnect(InterfaceId id, ConnectionId connection)
{
    std::lock_guard lock(mutex_);
    auto found = interfaces_.find(id);
    if (found != interfaces_.end())
        Drop(found->second, connection);
}

size_t CBusServer::ConnectionCount(InterfaceId id) const
{
    std::lock_guard lock(mutex_);
    auto found = interfaces_.find(id);
    return found == interfaces_.end() ? 0 : found->second.connections.size();
}

void CBusServer::Wake()
{
    const uint64_t one = 1;
    if (write(wakeFd_, &one, sizeof one) < 0 && errno != EAGAIN)
        Trace("devsim: cannot wake the bus thread");
}

int CBusServer::MillisecondsToNextDue() const
{
    if (pending_.empty())
        return -1;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(pending_.begin()->first - Clock::now());
    return wait.count() > 0 ? static_cast<int>(wait.count()) : 0;
}

void CBusServer::SendDueFrames()
{
    const Clock::time_point now = Clock::now();
    while (!pending_.empty() && pending_.begin()->first <= now) {
        Pending due = std::move(pending_.begin()->second);
        pending_.erase(pending_.begin());
        auto found = interfaces_.find(due.interfaceId);
        if (found != interfaces_.end())
            Deliver(found->second, due.connection, due.frame);
    }
}

void CBusServer::Deliver(Interface& iface, ConnectionId connection, const vhid::Frame& frame)
{
    if (observer_)
        observer_(iface.name, Direction::DeviceToHost, frame);
    if (connection != kAllConnections) {
        auto found = iface.connections.find(connection);
        if (found != iface.connections.end()) {
            Enqueue(found->second, frame);
            Flush(iface, connection);
        }
        return;
    }
    std::vector<ConnectionId> ids;
    for (auto& [id, open] : iface.connections) {
        Enqueue(open, frame);
        ids.push_back(id);
    }
    for (ConnectionId id : ids)
        Flush(iface, id);
}

void CBusServer::Enqueue(Connection& connection, const vhid::Frame& frame)
{
    if (frame.type == vhid::kInput && connection.outgoing.size() > kMaxBacklog)
        return;
    const std::vector<uint8_t> bytes = vhid::EncodeFrame(frame.type, frame.payload);
    connection.outgoing.insert(connection.outgoing.end(), bytes.begin(), bytes.end());
}

void CBusServer::Flush(Interface& iface, ConnectionId connectionId)
{
    auto found = iface.connections.find(connectionId);
    if (found == iface.connections.end())
        return;
    std::vector<uint8_t>& outgoing = found->second.outgoing;
    size_t sent = 0;
    while (sent < outgoing.size()) {
        const ssize_t n = SendSome(found->second.fd, outgoing.data() + sent, outgoing.size() - sent);
        if (n == 0)
            break;  // the rest goes when the socket drains
        if (n < 0) {
            Drop(iface, connectionId);
            return;
        }
        sent += static_cast<size_t>(n);
    }
    outgoing.erase(outgoing.begin(), outgoing.begin() + static_cast<std::ptrdiff_t>(sent));
    // The bus thread may be polling without POLLOUT for this socket (frames
    // sent from another thread): have it poll again, or the rest would wait
    // for some unrelated event.
    if (!outgoing.empty())
        Wake();
}

void CBusServer::Drop(Interface& iface, ConnectionId connectionId)
{
    auto found = iface.connections.find(connectionId);
    if (found == iface.connections.end())
        return;
    close(found->second.fd);
    iface.connections.erase(found);
}

void CBusServer::Accept(InterfaceId, Interface& iface)
{
    for (;;) {
        const int fd = accept4(iface.listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            return;
        const ConnectionId id = nextConnection_++;
        iface.connections[id].fd = fd;
        Deliver(iface, id, {vhid::kHello, vhid::EncodeHello(iface.hello)});
    }
}

void CBusServer::ReadFrom(InterfaceId id, Interface& iface, ConnectionId connectionId, std::vector<Received>& received)
{
    auto found = iface.connections.find(connectionId);
    if (found == iface.connections.end())
        return;
    Connection& connection = found->second;
    uint8_t buffer[kReadChunk];
    ssize_t n;
    while ((n = ReceiveSome(connection.fd, buffer, sizeof buffer)) > 0)
        connection.decoder.Feed(buffer, static_cast<size_t>(n));
    // Frames a host sent before it closed its handle still reach the device.
    while (auto frame = connection.decoder.Next())
        received.push_back({id, connectionId, iface.name, std::move(*frame)});
    if (n < 0 || connection.decoder.Malformed())
        Drop(iface, connectionId);
}

void CBusServer::Run()
{
    std::unique_lock lock(mutex_);
    while (running_) {
        std::vector<pollfd> fds{{wakeFd_, POLLIN, 0}};
        std::vector<PollTarget> targets{{0, kAllConnections}};
        for (auto& [id, iface] : interfaces_) {
            fds.push_back({iface.listenFd, POLLIN, 0});
            targets.push_back({id, kAllConnections});
            for (auto& [connectionId, connection] : iface.connections) {
                const short events = static_cast<short>(POLLIN | (connection.outgoing.empty() ? 0 : POLLOUT));
                fds.push_back({connection.fd, events, 0});
                targets.push_back({id, connectionId});
            }
        }
        const int timeout = MillisecondsToNextDue();
        lock.unlock();
        const int ready = poll(fds.data(), fds.size(), timeout);
        lock.lock();
        if (ready < 0 && errno != EINTR) {
            Trace("devsim: poll failed, the bus thread ends");
            return;
        }
        uint64_t wakes = 0;
        if (read(wakeFd_, &wakes, sizeof wakes) < 0 && errno != EAGAIN)
            Trace("devsim: cannot read the wake counter");
        SendDueFrames();

        std::vector<Received> received;
        for (size_t i = 1; i < fds.size() && ready > 0; ++i) {
            if (fds[i].revents == 0)
                continue;
            auto found = interfaces_.find(targets[i].interfaceId);
            if (found == interfaces_.end())
                continue;  // closed while we polled
            if (targets[i].connection == kAllConnections)
                Accept(found->first, found->second);
            else if (fds[i].revents & POLLOUT)
                Flush(found->second, targets[i].connection);
            if (targets[i].connection != kAllConnections && (fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                ReadFrom(found->first, found->second, targets[i].connection, received);
        }
        lock.unlock();
        for (const Received& r : received) {
            if (observer_)
                observer_(r.interfaceName, Direction::HostToDevice, r.frame);
            if (vhid::IsWellFormed(r.frame))  // a malformed frame is logged, never acted on
                handler_(r.interfaceId, r.connection, r.frame);
        }
        lock.lock();
    }
}

}  // namespace devsim
