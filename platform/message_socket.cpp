#include "platform/message_socket.h"

#include "platform/folder_safety.h"
#include "platform/trace.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

// Plain Unix-domain sockets, not Qt's network module: the module and the
// libraries it pulls in would be loaded at every start for this one socket.

namespace {

constexpr int kConnectTimeoutMs = 1000;
// A frame is a name and a few numbers, or a small data block; anything
// larger is someone else talking to the wrong socket.
constexpr qsizetype kMaxPendingBytes = 1 << 20;
// Senders post a frame and leave; more at once than this, or a frame still
// unfinished after this long, is someone holding on to our memory.
constexpr int kMaxConnections = 16;
constexpr int kUnfinishedFrameTimeoutMs = 3000;
constexpr int kListenBacklog = 64;
constexpr qsizetype kReadChunk = 64 * 1024;

struct Frame {
    QString name;
    qint64 wParam = 0;
    qint64 lParam = 0;
    QByteArray bytes;
};

void DeliverFrame(const Frame& frame)
{
    if (frame.name.isEmpty()) {
        if (!frame.bytes.isEmpty())
            BroadcastWindowMessageData(WM_COPYDATA, 0, static_cast<std::uintptr_t>(frame.wParam),
                                       frame.bytes);
        return;
    }
    const UINT message = FindRegisteredMessage(frame.name);
    if (message == 0) {
        TraceF("message socket: unknown message %s dropped", qPrintable(frame.name));
        return;
    }
    if (frame.bytes.isEmpty())
        BroadcastWindowMessage(message, static_cast<WPARAM>(frame.wParam),
                               static_cast<LPARAM>(frame.lParam));
    else
        BroadcastWindowMessageData(message, static_cast<WPARAM>(frame.wParam),
                                   static_cast<std::uintptr_t>(frame.lParam), frame.bytes);
}

std::optional<sockaddr_un> AddressOf(const QString& path)
{
    const QByteArray bytes = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (bytes.isEmpty() || static_cast<size_t>(bytes.size()) >= sizeof(address.sun_path)) {
        TraceF("message socket: path too long for a local socket: %s", bytes.constData());
        return std::nullopt;
    }
    std::memcpy(address.sun_path, bytes.constData(), static_cast<size_t>(bytes.size()));
    return address;
}

int OpenSocket()
{
    return ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
}

void CloseSocket(int fd)
{
    if (fd >= 0 && ::close(fd) != 0)
        TraceF("message socket: close failed: %s", std::strerror(errno));
}

// Waits until fd is ready for `events`; false when the deadline passed or
// the socket failed.
bool WaitUntilReady(int fd, short events, const QDeadlineTimer& deadline)
{
    for (;;) {
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, static_cast<int>(deadline.remainingTime()));
        if (ready > 0)
            return (entry.revents & events) != 0;
        if (ready == 0 || errno != EINTR)
            return false;
    }
}

// A connected socket to the listener at path, or -1.
int ConnectTo(const QString& path, const QDeadlineTimer& deadline)
{
    const std::optional<sockaddr_un> address = AddressOf(path);
    if (!address)
        return -1;
    const int fd = OpenSocket();
    if (fd < 0)
        return -1;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof(*address)) == 0)
        return fd;
    int error = errno;
    // A listener with a full queue answers once it accepts.
    if ((error == EAGAIN || error == EINPROGRESS) && WaitUntilReady(fd, POLLOUT, deadline)) {
        socklen_t length = sizeof(error);
        if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0)
            return fd;
    }
    CloseSocket(fd);
    return -1;
}

bool WriteAll(int fd, const QByteArray& bytes, const QDeadlineTimer& deadline)
{
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t sent = ::send(fd, bytes.constData() + written, static_cast<size_t>(bytes.size() - written),
                                    MSG_NOSIGNAL);
        if (sent > 0) {
            written += sent;
            continue;
        }
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent < 0 && errno == EAGAIN && !deadline.hasExpired() && WaitUntilReady(fd, POLLOUT, deadline))
            continue;
        return false;
    }
    return true;
}

bool SomeoneListens(const QString& path)
{
    const int fd = ConnectTo(path, QDeadlineTimer(kConnectTimeoutMs));
    CloseSocket(fd);
    return fd >= 0;
}

// One sender's connection: reads its frames as they come and delivers them;
// it deletes itself when the sender leaves or misbehaves.
class CMessageConnection : public QObject {
public:
    CMessageConnection(int fd, QObject* parent) : QObject(parent), fd_(fd), notifier_(fd, QSocketNotifier::Read, this)
    {
        unfinished_.setSingleShot(true);
        unfinished_.setInterval(kUnfinishedFrameTimeoutMs);
        connect(&unfinished_, &QTimer::timeout, this, [this] {
            Trace("message socket: frame unfinished for too long, connection dropped");
            Drop();
        });
        connect(&notifier_, &QSocketNotifier::activated, this, &CMessageConnection::OnReadable);
    }
    ~CMessageConnection() override { CloseSocket(fd_); }

    // Bytes may have come with the connection.
    void OnReadable()
    {
        bool senderLeft = false;
        while (pending_.size() < kMaxPendingBytes) {
            char chunk[kReadChunk];
            const size_t room = static_cast<size_t>(std::min(kReadChunk, kMaxPendingBytes - pending_.size()));
            const ssize_t got = ::recv(fd_, chunk, room, 0);
            if (got > 0) {
                pending_.append(chunk, got);
                continue;
            }
            if (got < 0 && errno == EINTR)
                continue;
            senderLeft = got == 0 || errno != EAGAIN;
            break;
        }
        if (!DeliverFrames())
            return;
        if (senderLeft) {
            Drop();
            return;
        }
        // The clock runs from the first byte of an unfinished frame:
        // trickling bytes do not keep it alive.
        if (pending_.isEmpty())
            unfinished_.stop();
        else if (!unfinished_.isActive())
            unfinished_.start();
    }

private:
    // Delivers the whole frames received; false when the connection was
    // dropped for a malformed or oversized one.
    bool DeliverFrames()
    {
        QDataStream stream(pending_);
        stream.setVersion(QDataStream::Qt_6_0);
        qint64 consumed = 0;
        for (;;) {
            stream.startTransaction();
            Frame frame;
            stream >> frame.name >> frame.wParam >> frame.lParam >> frame.bytes;
            if (!stream.commitTransaction())
                break;
            consumed = stream.device()->pos();
            DeliverFrame(frame);
        }
        const bool corrupt = stream.status() == QDataStream::ReadCorruptData;
        pending_.remove(0, static_cast<qsizetype>(consumed));
        if (corrupt || pending_.size() >= kMaxPendingBytes) {
            Trace("message socket: malformed frame, connection dropped");
            Drop();
            return false;
        }
        return true;
    }

    void Drop()
    {
        notifier_.setEnabled(false);
        unfinished_.stop();
        deleteLater();
    }

    int fd_;
    QSocketNotifier notifier_;
    QTimer unfinished_;
    QByteArray pending_;
};

}  // namespace

QString MessageSocketPath(const QString& socketName)
{
    // Without XDG_RUNTIME_DIR this is a folder under /tmp: it is used only
    // when it is this user's own, and never /tmp itself.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    const std::string problem = folder.isEmpty() ? std::string("there is no runtime folder")
                                                 : UnsafeFolderReason(folder.toStdString());
    if (!problem.empty()) {
        static std::once_flag said;
        std::call_once(said, [&problem] {
            qWarning("refusing the message socket folder: %s; other programs cannot reach this one",
                     problem.c_str());
        });
        return {};
    }
    return QDir(folder).filePath(socketName);
}

CMessageServer::CMessageServer(QObject* parent) : QObject(parent) {}

CMessageServer::~CMessageServer()
{
    Stop();
}

bool CMessageServer::Listen(const QString& socketName)
{
    Stop();
    const QString path = MessageSocketPath(socketName);
    if (path.isEmpty())
        return false;
    if (SomeoneListens(path)) {
        TraceF("message socket: another process listens at %s", qPrintable(path));
        return false;
    }
    const std::optional<sockaddr_un> address = AddressOf(path);
    if (!address)
        return false;
    // Whatever is left there belongs to a process that is gone.
    const QByteArray file = QFile::encodeName(path);
    if (::unlink(file.constData()) != 0 && errno != ENOENT)
        TraceF("message socket: leftover %s not removed: %s", file.constData(), std::strerror(errno));
    m_listener = OpenSocket();
    const bool listening = m_listener >= 0 &&
                           ::bind(m_listener, reinterpret_cast<const sockaddr*>(&*address), sizeof(*address)) == 0 &&
                           ::chmod(file.constData(), S_IRUSR | S_IWUSR) == 0 && ::listen(m_listener, kListenBacklog) == 0;
    if (!listening) {
        TraceF("message socket: cannot listen at %s: %s", file.constData(), std::strerror(errno));
        Stop();
        return false;
    }
    m_path = path;
    m_acceptNotifier = new QSocketNotifier(m_listener, QSocketNotifier::Read, this);
    m_connectionHolder = new QObject(this);
    connect(m_acceptNotifier, &QSocketNotifier::activated, this, &CMessageServer::OnNewConnection);
    return true;
}

void CMessageServer::Stop()
{
    delete m_acceptNotifier;
    m_acceptNotifier = nullptr;
    delete m_connectionHolder;  // its connections go with it
    m_connectionHolder = nullptr;
    if (m_listener < 0)
        return;
    CloseSocket(m_listener);
    m_listener = -1;
    if (!m_path.isEmpty() && ::unlink(QFile::encodeName(m_path).constData()) != 0 && errno != ENOENT)
        TraceF("message socket: %s not removed: %s", qPrintable(m_path), std::strerror(errno));
    m_path.clear();
}

void CMessageServer::OnNewConnection()
{
    for (;;) {
        const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            if (errno != EAGAIN)
                TraceF("message socket: accept failed: %s", std::strerror(errno));
            return;
        }
        if (m_connections >= kMaxConnections) {
            Trace("message socket: too many connections, one refused");
            CloseSocket(fd);
            continue;
        }
        ++m_connections;
        auto* connection = new CMessageConnection(fd, m_connectionHolder);
        connect(connection, &QObject::destroyed, this, [this] { --m_connections; });
        connection->OnReadable();
    }
}

bool PostRegisteredMessageTo(const QString& socketName, const QString& messageName,
                             qint64 wParam, qint64 lParam, const QByteArray& bytes,
                             std::chrono::milliseconds bound)
{
    const QDeadlineTimer deadline(bound);
    const QString path = MessageSocketPath(socketName);
    if (path.isEmpty())
        return false;
    const int fd = ConnectTo(path, deadline);
    if (fd < 0)
        return false;
    QByteArray frame;
    QDataStream stream(&frame, QIODevice::WriteOnly);
    stream.setVersion(QDataStream::Qt_6_0);
    stream << messageName << wParam << lParam << bytes;
    const bool delivered = WriteAll(fd, frame, deadline);
    CloseSocket(fd);
    return delivered;
}
