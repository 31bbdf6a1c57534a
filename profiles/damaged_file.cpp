#include "profiles/damaged_file.h"

#include "platform/trace.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>

namespace {

constexpr const char* kDamagedSuffix = ".damaged";
// Enough for years of damage; beyond it the file just stays where it is.
constexpr int kMaxDamagedCopies = 1000;

bool HoldsData(const std::string& path)
{
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return !error && size > 0;
}

std::string DamagedName(const std::string& path, int number)
{
    return path + kDamagedSuffix + (number == 1 ? std::string() : std::to_string(number));
}

}  // namespace

bool SetDamagedFileAside(const std::string& path)
{
    if (!HoldsData(path))
        return true;
    for (int number = 1; number <= kMaxDamagedCopies; ++number) {
        const std::string aside = DamagedName(path, number);
        if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE) == 0) {
            TraceF("damaged file %s set aside as %s", path.c_str(), aside.c_str());
            return true;
        }
        if (errno != EEXIST)
            break;
    }
    TraceF("damaged file %s kept in place: %s", path.c_str(), std::strerror(errno));
    return false;
}

bool HoldsUnreadableData(const std::string& path, const Json::Value& document)
{
    return !document.isObject() && HoldsData(path);
}
