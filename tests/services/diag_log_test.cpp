#include "services/diag_log.h"

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>

namespace fs = std::filesystem;

class DiagLogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        setenv("XDG_DATA_HOME", home.path().toUtf8().constData(), 1);
    }
    fs::path Folder() const { return fs::path(home.path().toStdString()) / kLogFolderName; }
    static std::string Contents(const fs::path& file)
    {
        std::ifstream in(file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    QTemporaryDir home;
};

TEST_F(DiagLogTest, MissingFolderLogsNothingAndCreatesNothing)
{
    WriteLogLine("Open>pNoDeviceLinkLyout    true");
    EXPECT_FALSE(fs::exists(Folder()));
}

TEST_F(DiagLogTest, LineHasStampThenMessage)
{
    fs::create_directory(Folder());
    WriteLogLine("Open>pNoDeviceLinkLyout    true");
    WriteLogLine("Hid2_4GDeviceIsLink>0xAA    false");
    const std::string text = Contents(LogFilePath());
    const std::regex shape("\\d{4}-\\d{2}-\\d{2}-\\d{2}-\\d{2}-\\d{2}:Open>pNoDeviceLinkLyout    true\n"
                           "\\d{4}-\\d{2}-\\d{2}-\\d{2}-\\d{2}-\\d{2}:Hid2_4GDeviceIsLink>0xAA    false\n");
    EXPECT_TRUE(std::regex_match(text, shape)) << text;
}

TEST_F(DiagLogTest, FileOverLimitIsEmptiedBeforeTheNextLine)
{
    struct Case {
        long long size;
        bool emptied;
    };
    for (const Case c : {Case{kLogSizeLimit, false}, Case{kLogSizeLimit + 1, true}}) {
        fs::create_directories(Folder());
        {
            std::ofstream out(LogFilePath(), std::ios::binary | std::ios::trunc);
            out << std::string(static_cast<size_t>(c.size), 'x');
        }
        WriteLogLine("m");
        const std::string text = Contents(LogFilePath());
        EXPECT_EQ(text.size() < 100, c.emptied) << "size " << c.size;
        EXPECT_EQ(text.back(), '\n');
    }
}
