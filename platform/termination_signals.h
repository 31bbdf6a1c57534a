#pragma once
// Turns the session's requests to end (SIGTERM at logout, SIGHUP, SIGINT)
// into an ordinary call on the thread that created the watcher, so the
// program shuts down the same orderly way as from its own menu. The signal
// handler only writes one byte to a pipe. One watcher per process.

#include <QObject>
#include <functional>

class QSocketNotifier;

class CTerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit CTerminationSignals(std::function<void()> onRequest);
    ~CTerminationSignals() override;  // default handlers again

    bool IsWatching() const { return notifier_ != nullptr; }

private:
    void OnReadable();
    std::function<void()> onRequest_;
    QSocketNotifier* notifier_ = nullptr;
};
