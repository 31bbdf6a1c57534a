#include "platform/folders.h"

#include "platform/product.h"
#include "services/diag_log.h"
#include "temp_home.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

TEST(Folders, ProgramFolderIsTheExecutablesFolder)
{
    const fs::path executable = fs::read_symlink("/proc/self/exe");
    EXPECT_EQ(ProgramFolder(), executable.parent_path().string() + '/');
    EXPECT_EQ(DefaultDataFolder(), ProgramFolder() + "DefaultData/");
    EXPECT_EQ(ResourceFolder(kSkinFolderName), ProgramFolder() + "skin/");
}

TEST(Folders, UserDataFolderIsCreatedUnderDataHomeAndLogFolderIsNot)
{
    TempXdgFolder dataHome("XDG_DATA_HOME");
    const std::string folder = UserDataFolder();
    EXPECT_EQ(folder, dataHome.Path() + kProductTitle + '/');
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(UserDataFolder(), folder);  // existing folder: same answer
    EXPECT_FALSE(fs::exists(dataHome.Path() + kLogFolderName));
}

TEST(Folders, UncreatableUserDataFolderStillGivesItsPath)
{
    TempXdgFolder dataHome("XDG_DATA_HOME");
    // A file where the folder should be: creating it fails.
    std::ofstream(dataHome.Path() + kProductTitle) << "in the way";
    EXPECT_EQ(UserDataFolder(), dataHome.Path() + kProductTitle + '/');
}
