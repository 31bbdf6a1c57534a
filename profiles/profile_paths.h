#pragma once
// Where profiles live. Each device family has a folder of its own in the user
// data folder, holding its profiles, macros and light effects; its read-only
// defaults lie in the default data folder beside the program. Paths are UTF-8;
// folders end in '/'.

#include <string>
#include <string_view>

// Family folder names, also the names of the default profiles.
inline constexpr const char* kMouseFamilyName = "mouse";
inline constexpr const char* kKeyboardFamilyName = "keyboard";
inline constexpr const char* kMousePadFamilyName = "MousePad";
inline constexpr const char* kHeadsetFamilyName = "HD";

inline constexpr const char* kProfileExtension = ".Json";
inline constexpr const char* kDefaultLightFileName = "default_light.json";
inline constexpr const char* kLightEffectExtension = ".light";

// User data folder + family name, created (with its parents) when missing.
std::string GetProfileDirectory(std::string_view familyName);
// The default data folder.
std::string GetDefaultDataDirectory();
// Default data folder + family name + ".Json".
std::string DefaultProfilePath(std::string_view familyName);
// Default data folder + "default_light.json".
std::string DefaultLightNamesPath();

// True for a name that stays inside the folder it is joined to: no folder
// separator, no "..", no zero byte. Identifiers read from data files become
// file names only when they pass.
bool IsBareFileName(std::string_view name);

// Moves both folders elsewhere (tests, portable set-ups); an empty folder
// restores the platform's.
void SetProfileFolders(const std::string& userDataFolder, const std::string& defaultDataFolder);
