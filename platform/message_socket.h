#pragma once
// Other programs reach this one through a local socket in the user's
// runtime folder (at most 16 connections at once; a frame unfinished after
// 3 s drops its connection): each frame names a registered message (by name, since
// numbers differ between processes) with wParam and lParam, and optionally
// carries bytes. Only names this process has registered are delivered, as
// broadcasts to its top-level windows; anything else is dropped. A frame
// with an empty name and bytes arrives as WM_COPYDATA (dwData = wParam).
//
// Frame: QDataStream (Qt 6.0 format) of QString name, qint64 wParam,
// qint64 lParam, QByteArray bytes.

#include "platform/window_messages.h"

#include <QObject>
#include <QString>

#include <chrono>

class QSocketNotifier;

// Full path of the socket with this name under the user's runtime folder;
// empty when that folder is missing or not the user's own (then nobody
// listens and nothing is sent).
QString MessageSocketPath(const QString& socketName);

class CMessageServer : public QObject {
    Q_OBJECT
public:
    explicit CMessageServer(QObject* parent = nullptr);
    ~CMessageServer() override;

    // Listens at MessageSocketPath(socketName). A socket file left by a
    // crashed process (nobody answers) is replaced. False when another
    // live process listens there or the folder is unusable. Hold the
    // single-instance lock first: two processes starting at once could
    // both find the place free.
    bool Listen(const QString& socketName);
    void Stop();

private:
    void OnNewConnection();

    int m_listener = -1;
    QString m_path;
    QSocketNotifier* m_acceptNotifier = nullptr;
    QObject* m_connectionHolder = nullptr;
    int m_connections = 0;
};

// Client side: delivers one registered message by name to the program that
// listens at socketName. True when the frame was handed over within the
// bound (connecting and writing together).
inline constexpr std::chrono::milliseconds kDefaultPostBound{2000};
bool PostRegisteredMessageTo(const QString& socketName, const QString& messageName,
                             qint64 wParam, qint64 lParam, const QByteArray& bytes = {},
                             std::chrono::milliseconds bound = kDefaultPostBound);
