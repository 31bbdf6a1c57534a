#include "profiles/json_file.h"

#include "platform/trace.h"
#include "profiles/atomic_file.h"

#include <QString>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Opens only regular files, so a folder or a device reads as missing. Not
// blocking: opening a named pipe would otherwise wait for a writer.
int OpenRegularFile(const std::string& path, long long* size)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return -1;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        errno = EISDIR;
        return -1;
    }
    *size = info.st_size;
    return fd;
}

bool ReadExactly(int fd, char* buffer, size_t length)
{
    while (length > 0) {
        const ssize_t got = ::read(fd, buffer, length);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        buffer += got;
        length -= static_cast<size_t>(got);
    }
    return true;
}

}  // namespace

std::string ReadWholeFile(const std::string& path)
{
    long long size = 0;
    const int fd = OpenRegularFile(path, &size);
    if (fd < 0) {
        TraceF("ReadJsonFile %s: error %d", path.c_str(), errno);
        return {};
    }
    std::string bytes;
    if (size > kMaxJsonFileSize) {
        TraceF("ReadJsonFile %s: %lld bytes, too large", path.c_str(), size);
    } else {
        bytes.resize(static_cast<size_t>(size));
        if (!ReadExactly(fd, bytes.data(), bytes.size())) {
            TraceF("ReadJsonFile %s: short read", path.c_str());
            bytes.clear();
        }
    }
    ::close(fd);
    return bytes;
}

static constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

Json::Value ParseJsonText(const std::string& text)
{
    const char* begin = text.data();
    const char* end = begin + std::strlen(begin);  // the text ends at its first zero byte
    // Windows editors start UTF-8 files with a byte-order mark, which the
    // reader would take for garbage.
    if (std::string_view(begin, end).starts_with(kUtf8ByteOrderMark))
        begin += kUtf8ByteOrderMark.size();
    if (begin == end)
        return Json::Value();
    Json::Value root;
    try {
        Json::Reader reader;
        if (reader.parse(begin, end, root, true))
            return root;
        Trace("JSON text not parsed: " + reader.getFormattedErrorMessages());
    } catch (const std::exception& error) {
        // The reader throws on nesting deeper than its stack limit.
        TraceF("JSON text refused: %s", error.what());
    }
    return Json::Value();
}

Json::Value ReadJsonFile(const std::string& path)
{
    return ParseJsonText(ReadWholeFile(path));
}

std::string StyledJsonText(const Json::Value& value)
{
    const std::string styled = Json::StyledWriter().write(value);
    std::string text;
    text.reserve(styled.size() + styled.size() / 4);
    size_t lineStart = 0;
    for (size_t end = styled.find('\n'); end != std::string::npos; end = styled.find('\n', lineStart)) {
        text.append(styled, lineStart, end - lineStart).append("\r\n");
        lineStart = end + 1;
    }
    text.append(styled, lineStart).append("\r\n");
    return text;
}

int WriteJsonFile(const std::string& path, const Json::Value& value)
{
    return WriteFileAtomically(path, StyledJsonText(value)) ? 0 : -1;
}

std::wstring Utf8ToWide(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toStdWString();
}

std::string WideToUtf8(std::wstring_view text)
{
    return QString::fromWCharArray(text.data(), static_cast<qsizetype>(text.size())).toUtf8().toStdString();
}

std::string ValidUtf8(std::string_view text)
{
    return WideToUtf8(Utf8ToWide(text));
}

std::string FormatTimeStampName(const std::tm& local, int milliseconds)
{
    char name[64];
    std::snprintf(name, sizeof name, "%d_%02d_%02d_%02d_%02d_%02d_%03d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  milliseconds);
    return name;
}

std::string MakeTimeStampName()
{
    timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    std::tm local {};
    localtime_r(&now.tv_sec, &local);
    return FormatTimeStampName(local, static_cast<int>(now.tv_nsec / 1000000));
}

std::string FileTitleOf(std::string_view path)
{
    const size_t slash = path.rfind('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string_view::npos)
        name = name.substr(0, dot);
    return std::string(name);
}
