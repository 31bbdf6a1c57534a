#pragma once
// The two values the program keeps outside its data folders, in one INI file
// under the user's configuration folder ($XDG_CONFIG_HOME or ~/.config):
// "<product title>.ini".
//
//   [Software]  LANGUAGE=<language id>        the interface language
//   [Uninstall] DisplayVersion=<a.b.c.d>      the installed version
//
// The file stands for the program's settings key. Start-up creates it, as an
// installer would, by recording the installed version; storing a language
// creates it too, so a chosen language is remembered whatever happened to it.

#include <cstdint>
#include <optional>
#include <string>

inline constexpr const char* kLanguageValueName = "LANGUAGE";
inline constexpr const char* kInstalledVersionValueName = "DisplayVersion";

std::string SettingsFilePath();
bool SettingsFileExists();

// No value: the file or the value is missing, or it is not a 32-bit number.
std::optional<uint32_t> ReadLanguageId();
// Creates the file when missing. False when it cannot be written.
bool WriteLanguageId(uint32_t languageId);

std::optional<std::string> ReadInstalledVersion();
// Creates the file when missing; with `defaultLanguageId`, stores that
// language too when none is stored, as an installer records the language it
// ran in, all in one write. False when it cannot be written.
bool RecordInstalledVersion(const std::string& version, std::optional<uint32_t> defaultLanguageId = std::nullopt);

// "2.3.0.2" -> 2302: the dots are dropped and the rest read as a decimal
// number. 0 when anything else than digits and dots is left, or nothing.
int VersionNumber(const std::string& version);
