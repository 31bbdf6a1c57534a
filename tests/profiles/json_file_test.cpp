#include "profile_test_files.h"

#include "profiles/atomic_file.h"
#include "profiles/json_file.h"

#include <atomic>
#include <regex>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

class JsonFileTest : public ProfileFolderTest {
protected:
    // Temporary files of atomic writes left in the folder.
    size_t TemporaryFiles() const
    {
        size_t count = 0;
        for (const auto& entry : fs::directory_iterator(folder.path().toStdString()))
            count += IsTemporaryFileName(entry.path().filename().string()) ? 1 : 0;
        return count;
    }
};

TEST_F(JsonFileTest, UnusableFilesReadAsNull)
{
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"empty", ""},
        {"unparsable", "{\"Device\": [1, 2"},
        {"zero byte first", std::string("\0{\"a\": 1}", 9)},
        {"too deep", std::string(5000, '[') + std::string(5000, ']')},
        {"trailing garbage object", "{\"a\": }"},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(ReadJsonFile(Put(c.name, c.bytes)).isNull()) << c.name;
    EXPECT_TRUE(ReadJsonFile(PathOf("missing")).isNull());
    fs::create_directory(PathOf("folder"));
    EXPECT_TRUE(ReadJsonFile(PathOf("folder")).isNull());
    // A named pipe without a writer must not block the reader.
    ASSERT_EQ(::mkfifo(PathOf("pipe").c_str(), 0600), 0);
    EXPECT_TRUE(ReadJsonFile(PathOf("pipe")).isNull());
}

TEST_F(JsonFileTest, TextEndsAtItsFirstZeroByte)
{
    const Json::Value value = ReadJsonFile(Put("zero", std::string("{\"a\": 1}\0garbage", 16)));
    EXPECT_EQ(value["a"].asInt(), 1);
}

TEST_F(JsonFileTest, CommentsAreAccepted)
{
    const Json::Value value = ReadJsonFile(Put("comments", "// profile\n{\"a\": /* one */ 1}\n"));
    EXPECT_EQ(value["a"].asInt(), 1);
}

TEST_F(JsonFileTest, ByteOrderMarkOfWindowsEditorsIsSkipped)
{
    const Json::Value value = ReadJsonFile(Put("bom", "\xEF\xBB\xBF{\"a\": 1}"));
    EXPECT_EQ(value["a"].asInt(), 1);
}

TEST_F(JsonFileTest, OversizedFileReadsAsNullWithoutLoadingIt)
{
    const std::string path = Put("huge", "{\"a\": 1}");
    fs::resize_file(path, kMaxJsonFileSize + 1);  // sparse: costs no disk
    EXPECT_TRUE(ReadWholeFile(path).empty());
    EXPECT_TRUE(ReadJsonFile(path).isNull());
}

TEST_F(JsonFileTest, TextThatIsNotUtf8IsKeptAsBytes)
{
    const Json::Value value = ReadJsonFile(Put("latin1", "{\"Name\": \"caf\xe9\"}"));
    EXPECT_EQ(Utf8ToWide(value["Name"].asString()), L"caf\uFFFD");
}

TEST_F(JsonFileTest, WrittenBytesAreStyledWithCrLfAndOneMoreLineEnd)
{
    Json::Value value;
    value["Device"][0]["Light"] = 3;
    const std::string expected = "{\r\n   \"Device\" : [\r\n      {\r\n         \"Light\" : 3\r\n      }\r\n"
                                 "   ]\r\n}\r\n\r\n";
    EXPECT_EQ(StyledJsonText(value), expected);
    const std::string path = PathOf("styled.Json");
    EXPECT_EQ(WriteJsonFile(path, value), 0);
    EXPECT_EQ(Bytes(path), expected);
    EXPECT_EQ(ReadJsonFile(path), value);
    EXPECT_EQ(TemporaryFiles(), 0u);
}

TEST_F(JsonFileTest, FailedWriteLeavesTheOldFileWhole)
{
    const std::string path = Put("profile.Json", "{\"old\": 1}");
    Json::Value value;
    value["new"] = std::string(4096, 'x');
    {
        FileSizeLimit full(1024);  // the disk fills up half-way
        EXPECT_EQ(WriteJsonFile(path, value), -1);
    }
    EXPECT_EQ(Bytes(path), "{\"old\": 1}");
    EXPECT_EQ(TemporaryFiles(), 0u);
}

TEST_F(JsonFileTest, WriteWithoutAUsablePathFails)
{
    EXPECT_EQ(WriteJsonFile(PathOf("no/such/folder.Json"), Json::Value(1)), -1);
    EXPECT_EQ(WriteJsonFile("", Json::Value(1)), -1);
    fs::create_directory(PathOf("folder.Json"));
    EXPECT_EQ(WriteJsonFile(PathOf("folder.Json"), Json::Value(1)), -1);
    EXPECT_TRUE(fs::is_directory(PathOf("folder.Json")));
    EXPECT_EQ(TemporaryFiles(), 0u);
}

TEST_F(JsonFileTest, WriteInterruptedAfterTheTemporaryFileLeavesTheOldFile)
{
    const std::string path = Put("profile.Json", "{\"old\": 1}");
    // A run killed right after its temporary file was written.
    const pid_t killedRun = ::fork();
    if (killedRun == 0)
        ::_exit(WriteTemporaryFile(path, "{\"new\": 2").empty() ? 1 : 0);
    int status = -1;
    ASSERT_EQ(::waitpid(killedRun, &status, 0), killedRun);
    ASSERT_EQ(status, 0);
    // And one of a writer that still runs (this process).
    ASSERT_FALSE(WriteTemporaryFile(path, "{\"new\": 3").empty());
    EXPECT_EQ(ReadJsonFile(path)["old"].asInt(), 1);
    EXPECT_EQ(TemporaryFiles(), 2u);
    // The next write goes through and clears what the killed run left.
    EXPECT_EQ(WriteJsonFile(path, Json::Value(3)), 0);
    EXPECT_EQ(ReadJsonFile(path).asInt(), 3);
    EXPECT_EQ(TemporaryFiles(), 1u);
}

TEST_F(JsonFileTest, WritersOfOneFileNeverFailEachOther)
{
    const std::string path = PathOf("shared.Json");
    constexpr int kWrites = 50;
    std::atomic<int> failures{0};
    auto writer = [&](int value) {
        for (int i = 0; i < kWrites; ++i)
            failures += WriteJsonFile(path, Json::Value(value)) == 0 ? 0 : 1;
    };
    std::thread first(writer, 1);
    std::thread second(writer, 2);
    first.join();
    second.join();
    EXPECT_EQ(failures.load(), 0);
    const int last = ReadJsonFile(path).asInt();
    EXPECT_TRUE(last == 1 || last == 2) << last;
    EXPECT_EQ(TemporaryFiles(), 0u);
}

TEST_F(JsonFileTest, ReplacedFileKeepsPermissionsAndLink)
{
    const std::string target = Put("target.Json", "{}");
    ::chmod(target.c_str(), 0640);
    const std::string link = PathOf("link.Json");
    fs::create_symlink(target, link);
    EXPECT_EQ(WriteJsonFile(link, Json::Value(7)), 0);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadJsonFile(target).asInt(), 7);
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(TimeStampName, FieldsAreZeroPadded)
{
    std::tm local{};
    local.tm_year = 2024 - 1900;
    local.tm_mon = 2;
    local.tm_mday = 5;
    local.tm_hour = 7;
    local.tm_min = 8;
    local.tm_sec = 9;
    EXPECT_EQ(FormatTimeStampName(local, 12), "2024_03_05_07_08_09_012");
    EXPECT_TRUE(std::regex_match(MakeTimeStampName(), std::regex(R"(\d{4}(_\d{2}){5}_\d{3})")));
}

TEST(Utf8Text, RoundTripsAndReplacesBrokenSequences)
{
    EXPECT_EQ(WideToUtf8(Utf8ToWide("Prófil 配置 🎮")), "Prófil 配置 🎮");
    EXPECT_EQ(Utf8ToWide("a\xff" "b"), L"a\uFFFDb");
    EXPECT_EQ(Utf8ToWide(""), L"");
}

TEST(FileTitle, DropsFolderAndExtension)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/home/u/Profiles/My.profile.json", "My.profile"},
        {"plain", "plain"},
        {"/folder.with.dots/name", "name"},
        {"/a/b/", ""},
    };
    for (const auto& [path, title] : cases)
        EXPECT_EQ(FileTitleOf(path), title) << path;
}
