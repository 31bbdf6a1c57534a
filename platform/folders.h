#pragma once
// The folders the program reads and writes. Every folder is returned as an
// absolute UTF-8 path ending in '/'.
//
//   program folder       where the executable lies
//   resource root        where "skin", "Font", "SDK", "Update" and
//                        "DefaultData" lie: beside the program (a build
//                        folder), else the installed data folder found
//                        relative to it (bin/../share/kestrova/)
//   default data folder  program folder + "DefaultData/", read-only defaults
//   user data folder     XDG data home + product title + "/", created when
//                        missing; holds the family folders and user files
//   data home            XDG data home ($XDG_DATA_HOME or ~/.local/share)

#include <string>

inline constexpr const char* kDefaultDataFolderName = "DefaultData";
inline constexpr const char* kSkinFolderName = "skin";
inline constexpr const char* kFontFolderName = "Font";
inline constexpr const char* kSdkFolderName = "SDK";
inline constexpr const char* kUpdateFolderName = "Update";

std::string ProgramFolder();
std::string ResourceRoot();
// A resource folder, e.g. ResourceFolder(kSkinFolderName).
std::string ResourceFolder(const char* name);
std::string DefaultDataFolder();
std::string DataHome();
// Created when missing; the path is returned even when creating it failed,
// so later file operations fail (and report) on their own.
std::string UserDataFolder();
