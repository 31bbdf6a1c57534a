#include "profiles/profile_paths.h"

#include "platform/folders.h"
#include "platform/trace.h"

#include <filesystem>

namespace {

std::string g_userDataFolder;
std::string g_defaultDataFolder;

std::string WithSlash(std::string folder)
{
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

std::string UserDataRoot()
{
    return g_userDataFolder.empty() ? UserDataFolder() : g_userDataFolder;
}

}  // namespace

std::string GetProfileDirectory(std::string_view familyName)
{
    const std::string folder = WithSlash(UserDataRoot() + std::string(familyName));
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        TraceF("unable to create %s: %s", folder.c_str(), error.message().c_str());
    return folder;
}

std::string GetDefaultDataDirectory()
{
    return g_defaultDataFolder.empty() ? DefaultDataFolder() : g_defaultDataFolder;
}

std::string DefaultProfilePath(std::string_view familyName)
{
    return GetDefaultDataDirectory() + std::string(familyName) + kProfileExtension;
}

std::string DefaultLightNamesPath()
{
    return GetDefaultDataDirectory() + kDefaultLightFileName;
}

bool IsBareFileName(std::string_view name)
{
    return !name.empty() && name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos &&
           name.find("..") == std::string_view::npos;
}

void SetProfileFolders(const std::string& userDataFolder, const std::string& defaultDataFolder)
{
    g_userDataFolder = userDataFolder.empty() ? std::string() : WithSlash(userDataFolder);
    g_defaultDataFolder = defaultDataFolder.empty() ? std::string() : WithSlash(defaultDataFolder);
}
