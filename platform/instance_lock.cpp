#include "platform/instance_lock.h"

#include "platform/trace.h"

#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

std::string CInstanceLock::LockFilePath(const std::string& name)
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return (runtime + '/' + QString::fromStdString(name) + ".lock").toStdString();
}

// The file is never removed: a holder removing it could let a starting
// process lock the removed file while a third one locks a new one.
CInstanceLock::CInstanceLock(const std::string& name)
{
    const std::string path = LockFilePath(name);
    file_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (file_ >= 0 && ::flock(file_, LOCK_EX | LOCK_NB) == 0) {
        first_ = true;
        return;
    }
    const int error = errno;
    // A lock that cannot be taken at all (unwritable runtime folder, no
    // locks on its file system) must not keep the program from starting.
    first_ = error != EWOULDBLOCK;
    if (first_)
        TraceF("instance lock unavailable (%s); running without it", std::strerror(error));
    if (file_ >= 0 && ::close(file_) != 0)
        Trace("instance lock file not closed");
    file_ = -1;
}

CInstanceLock::~CInstanceLock()
{
    // Closing releases the lock.
    if (file_ >= 0 && ::close(file_) != 0)
        Trace("instance lock file not closed");
}

bool CInstanceLock::IsFirst() const
{
    return first_;
}
