#include "services/diag_log.h"

#include "platform/folders.h"
#include "platform/trace.h"

#include <cstdio>
#include <ctime>

std::string LogFilePath()
{
    return DataHome() + kLogFolderName + '/' + kLogFileName;
}

static std::string TimeStamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%4d-%02d-%02d-%02d-%02d-%02d:", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return stamp;
}

void WriteLogLine(std::string_view message)
{
    const std::string path = LogFilePath();
    // Append mode never creates the folder, so a missing folder loses the line.
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (file == nullptr) {
        Trace("unable to open log file");
        return;
    }
    if (std::fseek(file, 0, SEEK_END) == 0 && std::ftell(file) > kLogSizeLimit) {
        std::fclose(file);
        file = std::fopen(path.c_str(), "wb");
        if (file == nullptr) {
            Trace("unable to open log file");
            return;
        }
    }
    const std::string line = TimeStamp() + std::string(message) + '\n';
    if (std::fwrite(line.data(), 1, line.size(), file) != line.size())
        Trace("log line not written");
    std::fclose(file);
}
