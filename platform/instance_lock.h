#pragma once
// The named lock that makes the program run once per user: an advisory lock
// (flock) on a file in the user's runtime folder. The system releases it when
// its process ends, however it ends, so a crash never blocks the next start;
// the file itself stays.

#include <string>

class CInstanceLock {
public:
    // Tries to take the lock named `name` at once.
    explicit CInstanceLock(const std::string& name);
    ~CInstanceLock();
    CInstanceLock(const CInstanceLock&) = delete;
    CInstanceLock& operator=(const CInstanceLock&) = delete;

    // True when this process holds the lock; false when another one does.
    bool IsFirst() const;
    static std::string LockFilePath(const std::string& name);

private:
    int file_ = -1;
    bool first_ = false;
};
