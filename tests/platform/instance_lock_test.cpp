#include "platform/instance_lock.h"

#include "temp_home.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

class InstanceLockTest : public ::testing::Test {
protected:
    TempXdgFolder runtime{"XDG_RUNTIME_DIR"};
    const std::string name = "Kestrova lock test";
};

TEST_F(InstanceLockTest, SecondHolderIsRefusedUntilTheFirstEnds)
{
    {
        CInstanceLock first(name);
        EXPECT_TRUE(first.IsFirst());
        EXPECT_EQ(std::filesystem::path(CInstanceLock::LockFilePath(name)).parent_path().string() + '/',
                  runtime.Path());
        CInstanceLock second(name);
        EXPECT_FALSE(second.IsFirst());
    }
    CInstanceLock afterwards(name);
    EXPECT_TRUE(afterwards.IsFirst());
}

TEST_F(InstanceLockTest, LockOfACrashedProcessDoesNotBlock)
{
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        CInstanceLock crashed(name);
        _exit(crashed.IsFirst() ? 0 : 1);  // ends without releasing the lock
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    ASSERT_TRUE(std::filesystem::exists(CInstanceLock::LockFilePath(name)));
    CInstanceLock next(name);
    EXPECT_TRUE(next.IsFirst());
}

TEST_F(InstanceLockTest, LockThatCannotBeTakenDoesNotKeepTheProgramFromStarting)
{
    // A folder where the lock file belongs: the file cannot be opened.
    ASSERT_TRUE(std::filesystem::create_directory(CInstanceLock::LockFilePath(name)));
    CInstanceLock first(name);
    EXPECT_TRUE(first.IsFirst());
}
