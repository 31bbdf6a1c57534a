#pragma once
// A temporary folder for profile files, and small helpers to fill it.

#include "profiles/json_file.h"

#include <QTemporaryDir>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/resource.h>

// Lets no file of this process grow beyond `bytes` while it lives: writes
// past it fail as on a full disk (also for root, unlike permissions).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &old_); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
};

class ProfileFolderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    std::string PathOf(const std::string& name) const { return folder.path().toStdString() + "/" + name; }

    std::string Put(const std::string& name, const std::string& bytes) const
    {
        const std::string path = PathOf(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    static std::string Bytes(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    static Json::Value Parse(const std::string& text) { return ParseJsonText(text); }

    // A profile file whose "Device"[0] is `entry`.
    std::string PutProfile(const std::string& name, const std::string& entry) const
    {
        return Put(name, "{\"Device\": [" + entry + "]}");
    }

    QTemporaryDir folder;
};
