// Which folders in a place others can write to may hold this user's sockets.

#include "platform/folder_safety.h"

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr uid_t kNobody = 65534;

TEST(FolderSafety, OnlyARealFolderOfThisUserThatNobodyElseWritesIsSafe)
{
    QTemporaryDir root;
    const std::string base = root.path().toStdString() + "/";
    struct Case {
        const char* name;
        std::function<void(const std::string&)> make;
        const char* reason;  // nullptr: safe
    };
    // mkdir's mode is narrowed by the umask; chmod sets it as given.
    const auto folderWithMode = [](mode_t mode) {
        return [mode](const std::string& p) {
            ::mkdir(p.c_str(), 0700);
            ::chmod(p.c_str(), mode);
        };
    };
    const Case cases[] = {
        {"private", folderWithMode(0700), nullptr},
        {"readable by others", folderWithMode(0755), nullptr},
        {"missing", [](const std::string&) {}, nullptr},
        {"group writable", folderWithMode(0770), "writable by other users (mode 0770)"},
        {"world writable", folderWithMode(01777), "writable by other users (mode 1777)"},
        {"link to a private folder",
         [&base](const std::string& p) { fs::create_directory_symlink(base + "private", p); }, "is a symbolic link"},
        {"file", [](const std::string& p) { std::ofstream(p) << "x"; }, "is not a folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string folder = base + c.name;
        c.make(folder);
        const std::string reason = UnsafeFolderReason(folder);
        if (c.reason == nullptr) {
            EXPECT_EQ(reason, "");
        } else {
            EXPECT_NE(reason.find(folder), std::string::npos) << reason;
            EXPECT_NE(reason.find(c.reason), std::string::npos) << reason;
        }
    }
}

TEST(FolderSafety, FolderOfAnotherUserIsRefused)
{
    QTemporaryDir root;
    const std::string folder = root.path().toStdString() + "/theirs";
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    if (::chown(folder.c_str(), kNobody, kNobody) != 0)
        GTEST_SKIP() << "only root can give a folder away";
    EXPECT_NE(UnsafeFolderReason(folder).find("belongs to another user (uid 65534)"), std::string::npos);
}

}  // namespace
