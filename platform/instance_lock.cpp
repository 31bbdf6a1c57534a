#include "platform/instance_lock.h"

#include "platform/trace.h"

#include <QDir>
#include <QStandardPaths>

std::string CInstanceLock::LockFilePath(const std::string& name)
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return (runtime + '/' + QString::fromStdString(name) + ".lock").toStdString();
}

CInstanceLock::CInstanceLock(const std::string& name)
    : lock_(QString::fromStdString(LockFilePath(name)))
{
    // Staleness by age would let a second instance in beside a long-running
    // first one; only a lock whose owner process is gone counts as stale.
    lock_.setStaleLockTime(0);
    first_ = lock_.tryLock(0);
    // A lock file we could not create at all (unwritable runtime folder)
    // must not keep the program from starting.
    if (!first_ && lock_.error() != QLockFile::LockFailedError) {
        TraceF("instance lock unavailable (error %d); running without it", static_cast<int>(lock_.error()));
        first_ = true;
    }
}

bool CInstanceLock::IsFirst() const
{
    return first_;
}
