#pragma once
// The diagnostic log: a few connection and layout events, time-stamped, in
// "R214QX-LIT/Tarvex.log" under the user's data folder. The folder is never
// created here: without it nothing is logged and nothing is shown.

#include <string>
#include <string_view>

constexpr const char* kLogFolderName = "R214QX-LIT";
constexpr const char* kLogFileName = "Tarvex.log";
constexpr long long kLogSizeLimit = 0x400000;  // 4 MiB

std::string LogFilePath();
void WriteLogLine(std::string_view message);
