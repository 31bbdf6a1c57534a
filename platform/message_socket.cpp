#include "platform/message_socket.h"

#include "platform/folder_safety.h"
#include "platform/trace.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>

#include <mutex>

namespace {

constexpr int kConnectTimeoutMs = 1000;
// A frame is a name and a few numbers, or a small data block; anything
// larger is someone else talking to the wrong socket.
constexpr qint64 kMaxPendingBytes = 1 << 20;
// Senders post a frame and leave; more at once than this, or a frame still
// unfinished after this long, is someone holding on to our memory.
constexpr int kMaxConnections = 16;
constexpr int kUnfinishedFrameTimeoutMs = 3000;

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

bool SomeoneListens(const QString& path)
{
    QLocalSocket probe;
    probe.connectToServer(path);
    return probe.waitForConnected(kConnectTimeoutMs);
}

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
    // Whatever is left there belongs to a process that is gone.
    QLocalServer::removeServer(path);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    const bool listening = m_server->listen(path);
    if (!listening) {
        TraceF("message socket: cannot listen at %s: %s", qPrintable(path),
               qPrintable(m_server->errorString()));
        Stop();
        return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, &CMessageServer::OnNewConnection);
    return true;
}

void CMessageServer::Stop()
{
    if (!m_server)
        return;
    m_server->close();
    delete m_server;
    m_server = nullptr;
}

void CMessageServer::OnNewConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        if (m_connections >= kMaxConnections) {
            Trace("message socket: too many connections, one refused");
            Drop(socket);
            continue;
        }
        ++m_connections;
        connect(socket, &QObject::destroyed, this, [this] { --m_connections; });
        // Qt stops reading once this much waits, so a frame that never ends
        // costs no more than this.
        socket->setReadBufferSize(kMaxPendingBytes);
        auto* unfinished = new QTimer(socket);
        unfinished->setSingleShot(true);
        unfinished->setInterval(kUnfinishedFrameTimeoutMs);
        connect(unfinished, &QTimer::timeout, socket, [socket] {
            Trace("message socket: frame unfinished for too long, connection dropped");
            Drop(socket);
        });
        connect(socket, &QLocalSocket::readyRead, this,
                [this, socket, unfinished] { OnReadyRead(socket, unfinished); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        OnReadyRead(socket, unfinished);  // bytes may have come with the connection
    }
}

void CMessageServer::OnReadyRead(QLocalSocket* socket, QTimer* unfinished)
{
    QDataStream stream(socket);
    stream.setVersion(QDataStream::Qt_6_0);
    for (;;) {
        stream.startTransaction();
        Frame frame;
        stream >> frame.name >> frame.wParam >> frame.lParam >> frame.bytes;
        if (!stream.commitTransaction())
            break;
        DeliverFrame(frame);
    }
    if (stream.status() == QDataStream::ReadCorruptData || socket->bytesAvailable() >= kMaxPendingBytes) {
        Trace("message socket: malformed frame, connection dropped");
        Drop(socket);
        return;
    }
    // The clock runs from the first byte of an unfinished frame: trickling
    // bytes do not keep it alive.
    if (socket->bytesAvailable() == 0)
        unfinished->stop();
    else if (!unfinished->isActive())
        unfinished->start();
}

void CMessageServer::Drop(QLocalSocket* socket)
{
    socket->abort();
    socket->deleteLater();
}

bool PostRegisteredMessageTo(const QString& socketName, const QString& messageName,
                             qint64 wParam, qint64 lParam, const QByteArray& bytes,
                             std::chrono::milliseconds bound)
{
    const QDeadlineTimer deadline(bound);
    const QString path = MessageSocketPath(socketName);
    if (path.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime())))
        return false;
    QByteArray frame;
    QDataStream stream(&frame, QIODevice::WriteOnly);
    stream.setVersion(QDataStream::Qt_6_0);
    stream << messageName << wParam << lParam << bytes;
    if (socket.write(frame) != frame.size())
        return false;
    while (socket.bytesToWrite() > 0) {
        if (deadline.hasExpired() || !socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
            return false;
    }
    socket.disconnectFromServer();
    return true;
}
