#pragma once
// The named lock that makes the program run once per user: a lock file in
// the user's runtime folder. The lock dies with its process, so a crash never
// blocks the next start.

#include <QLockFile>
#include <memory>
#include <string>

class CInstanceLock {
public:
    // Tries to take the lock named `name` at once.
    explicit CInstanceLock(const std::string& name);
    CInstanceLock(const CInstanceLock&) = delete;
    CInstanceLock& operator=(const CInstanceLock&) = delete;

    // True when this process holds the lock; false when another one does.
    bool IsFirst() const;
    static std::string LockFilePath(const std::string& name);

private:
    QLockFile lock_;
    bool first_ = false;
};
