#include "profiles/atomic_file.h"

#include "platform/trace.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <regex>
#include <signal.h>
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

// ".kestrova-<pid>-XXXXXX.tmp": hidden, and as short for a long file name as
// for a short one.
constexpr const char* kTemporaryPrefix = ".kestrova-";
constexpr const char* kTemporarySuffix = ".tmp";
constexpr size_t kUniqueLength = 6;
constexpr int kNameAttempts = 100;

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
}

// The writer's process id in a temporary file's name; 0 when it has none.
pid_t WriterOf(const std::string& name)
{
    static const std::regex shape(R"(\.kestrova-([0-9]{1,9})-[A-Za-z0-9]{6}\.tmp)");
    std::smatch match;
    return std::regex_match(name, match, shape) ? static_cast<pid_t>(std::stol(match[1].str())) : 0;
}

// A new file of a name no other writer has, opened for writing; -1 when none
// could be made.
int CreateTemporaryFile(const std::string& folder, std::string& temporary)
{
    static constexpr char kNameCharacters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<size_t> pick(0, std::strlen(kNameCharacters) - 1);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string unique(kUniqueLength, ' ');
        for (char& c : unique)
            c = kNameCharacters[pick(random)];
        temporary = folder + kTemporaryPrefix + std::to_string(::getpid()) + "-" + unique + kTemporarySuffix;
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, kNewFileMode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool IsRunning(pid_t process)
{
    return ::kill(process, 0) == 0 || errno == EPERM;
}

}  // namespace

bool IsTemporaryFileName(const std::string& name)
{
    return WriterOf(name) != 0;
}

std::string WriteTemporaryFile(const std::string& path, std::string_view bytes)
{
    std::string temporary;
    const int fd = CreateTemporaryFile(FolderOf(path), temporary);
    if (fd < 0) {
        TraceF("unable to create a temporary file for %s: %s", path.c_str(), std::strerror(errno));
        return {};
    }
    const mode_t mode = ModeFor(path);
    // The data must be on the disk before the rename makes it the profile, or
    // a power cut could leave an empty file where the old profile was.
    bool written = WriteAll(fd, bytes) && (mode == 0 || ::fchmod(fd, mode) == 0) && ::fdatasync(fd) == 0;
    if (!written)
        TraceF("unable to write %s: %s", temporary.c_str(), std::strerror(errno));
    if (::close(fd) != 0)
        written = false;
    if (written)
        return temporary;
    ::unlink(temporary.c_str());
    return {};
}

bool ReplaceWithTemporaryFile(const std::string& temporary, const std::string& path)
{
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        TraceF("unable to replace %s: %s", path.c_str(), std::strerror(errno));
        return false;
    }
    return true;
}

void RemoveLeftoverTemporaryFiles(const std::string& folder)
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const pid_t writer = WriterOf(entry.path().filename().string());
        if (writer != 0 && !IsRunning(writer) && entry.is_regular_file(error))
            std::filesystem::remove(entry.path(), error);
    }
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    if (path.empty())
        return false;
    const std::string target = ResolvedTarget(path);
    RemoveLeftoverTemporaryFiles(FolderOf(target));
    const std::string temporary = WriteTemporaryFile(target, bytes);
    if (temporary.empty())
        return false;
    if (ReplaceWithTemporaryFile(temporary, target))
        return true;
    ::unlink(temporary.c_str());
    return false;
}
