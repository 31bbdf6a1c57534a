#include "profiles/atomic_file.h"

#include "platform/trace.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask

// A new file keeps the permissions of the file it replaces.
mode_t ModeFor(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
        return info.st_mode & 07777;
    return 0;
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// A profile reached through a symbolic link is replaced at its target, so
// the link stays.
std::string ResolvedTarget(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error))
        return path;
    const auto target = std::filesystem::weakly_canonical(path, error);
    return error ? path : target.string();
}

}  // namespace

std::string TemporaryPathFor(const std::string& path)
{
    return path + ".tmp";
}

bool WriteTemporaryFile(const std::string& path, std::string_view bytes)
{
    const std::string temporary = TemporaryPathFor(path);
    const mode_t mode = ModeFor(path);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW,
                          kNewFileMode);
    if (fd < 0) {
        TraceF("unable to create %s: %s", temporary.c_str(), std::strerror(errno));
        return false;
    }
    // The data must be on the disk before the rename makes it the profile, or
    // a power cut could leave an empty file where the old profile was.
    bool written = WriteAll(fd, bytes) && (mode == 0 || ::fchmod(fd, mode) == 0) && ::fdatasync(fd) == 0;
    if (!written)
        TraceF("unable to write %s: %s", temporary.c_str(), std::strerror(errno));
    if (::close(fd) != 0)
        written = false;
    return written;
}

bool ReplaceWithTemporaryFile(const std::string& path)
{
    if (::rename(TemporaryPathFor(path).c_str(), path.c_str()) != 0) {
        TraceF("unable to replace %s: %s", path.c_str(), std::strerror(errno));
        return false;
    }
    return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    if (path.empty())
        return false;
    const std::string target = ResolvedTarget(path);
    if (WriteTemporaryFile(target, bytes) && ReplaceWithTemporaryFile(target))
        return true;
    ::unlink(TemporaryPathFor(target).c_str());
    return false;
}
