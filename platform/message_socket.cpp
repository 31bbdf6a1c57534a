#include "platform/message_socket.h"

#include "platform/trace.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {

constexpr int kConnectTimeoutMs = 1000;
// A frame is a name and a few numbers, or a small data block; anything
// larger is someone else talking to the wrong socket.
constexpr qint64 kMaxPendingBytes = 1 << 20;

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
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
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
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        OnReadyRead(socket);  // bytes may have come with the connection
    }
}

void CMessageServer::OnReadyRead(QLocalSocket* socket)
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
    if (stream.status() == QDataStream::ReadCorruptData || socket->bytesAvailable() > kMaxPendingBytes) {
        Trace("message socket: malformed frame, connection dropped");
        socket->abort();
    }
}

bool PostRegisteredMessageTo(const QString& socketName, const QString& messageName,
                             qint64 wParam, qint64 lParam, const QByteArray& bytes,
                             std::chrono::milliseconds bound)
{
    const QDeadlineTimer deadline(bound);
    QLocalSocket socket;
    socket.connectToServer(MessageSocketPath(socketName));
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
