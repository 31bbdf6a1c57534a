#pragma once
// The small file functions every data file of the program goes through:
// whole-file reading, JSON reading that never throws, JSON writing in the
// styled form with CR LF line ends that replaces a file atomically, UTF-8
// conversions and time-stamp names.

#include <json/json.h>

#include <ctime>
#include <string>
#include <string_view>

// Files above this size are treated as unreadable instead of being loaded.
inline constexpr long long kMaxJsonFileSize = 16LL * 1024 * 1024;

// The whole file; empty when it is missing, not a regular file, larger than
// kMaxJsonFileSize or can't be read in full.
std::string ReadWholeFile(const std::string& path);

// The document of a JSON text read up to its first zero byte, comments
// accepted; null when the text is empty, can't be parsed or nests too deep.
Json::Value ParseJsonText(const std::string& text);

// ParseJsonText of ReadWholeFile: a missing, damaged or oversized file reads
// as a null document.
Json::Value ReadJsonFile(const std::string& path);

// The bytes WriteJsonFile stores: the styled text (three-space indentation)
// and one more line end, every line ending in CR LF.
std::string StyledJsonText(const Json::Value& value);

// Replaces the file with StyledJsonText(value) through a temporary file in the
// same folder, so the old file stays whole when the write fails.
// 0 when written, -1 when not.
int WriteJsonFile(const std::string& path, const Json::Value& value);

// Invalid UTF-8 sequences become U+FFFD.
std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);
// The text with its invalid UTF-8 sequences replaced by U+FFFD, so a name
// taken from a file name can be stored as JSON text.
std::string ValidUtf8(std::string_view text);

// The local time as "2024_03_05_07_08_09_012": year, month, day, hour,
// minute, second, milliseconds.
std::string MakeTimeStampName();
std::string FormatTimeStampName(const std::tm& local, int milliseconds);

// The file-name part of a path, without folder and extension.
std::string FileTitleOf(std::string_view path);
