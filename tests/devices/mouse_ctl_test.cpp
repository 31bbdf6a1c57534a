// kestrova-ctl set, export and apply against the simulated mouse, on its
// cable and through its receiver.

#include "devices/mouse/mouse_memory_map.h"
#include "profiles/json_file.h"
#include "protocol/run_ctl.h"
#include "protocol/simulated_mouse.h"
#include "protocol/temp_bus.h"
#include "tools/devsim/simulator.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using devsim::Device;
using devsim::MemoryArea;
using devsim::Port;

class MouseCtlTest : public ::testing::TestWithParam<MouseConnection> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim_.Start());
        ASSERT_TRUE(folder_.isValid());
        ASSERT_TRUE(sim_.Plug(GetParam().receiver ? Port::MouseReceiver : Port::MouseCable));
    }

    std::pair<int, std::string> Ctl(const std::string& arguments)
    {
        return RunCtl(std::string(GetParam().receiver ? "--receiver " : "--cable ") + arguments);
    }
    std::string PathOf(const std::string& name) const { return folder_.path().toStdString() + "/" + name; }
    std::vector<uint8_t> Area(MemoryArea area, size_t offset, size_t length) const
    {
        return sim_.ReadArea(Device::Mouse, area, offset, length).value_or(std::vector<uint8_t>{});
    }
    std::vector<uint8_t> Block(uint8_t profile) const
    {
        return Area(MemoryArea::Settings, profile * kMouseProfileSpan, kMouseSettingsSize);
    }
    std::vector<uint8_t> Keys() const { return Area(MemoryArea::KeyTable, 0, kMouseKeyCount * kKeyCodeSize); }
    static std::string Text(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    TempBus bus_;
    devsim::CDeviceSimulator sim_{bus_.Directory()};
    QTemporaryDir folder_;
};

TEST_P(MouseCtlTest, SetChangesTheCurrentDeviceProfile)
{
    ASSERT_TRUE(sim_.WriteArea(Device::Mouse, MemoryArea::Settings, kMouseCurrentProfile, {2}));
    const std::vector<uint8_t> otherProfile = Block(0);
    const auto [exitCode, output] =
        Ctl("set dpi2=1600 stage=2 rate=1 sleep1=5 sleep2=30 ble-sleep1=3 ble-sleep2=20 debounce=4 lift-off=1 "
            "effect=4 brightness=2 speed=1 colour=#102030");
    ASSERT_EQ(exitCode, 0) << output;
    EXPECT_NE(output.find("DPI stage 2 = 1600 dpi (code 31)"), std::string::npos) << output;

    const std::vector<uint8_t> block = Block(2);
    const std::pair<size_t, uint8_t> expected[] = {
        {kBlockProfile, 2},      {DpiStageOffset(2) + kStageCodeX, 31}, {kBlockActiveDpiStage, 2},
        {kBlockReportRate, 1},   {kBlockSleep1, 5},   {kBlockSleep2, 30},  {kBlockBleSleep1, 3},
        {kBlockBleSleep2, 20},   {kBlockDebounce, 4}, {kBlockLiftOff, 1},  {kBlockLightEffect, 4},
        {kBlockBrightness, 2},   {kBlockSpeed, 3},    {kBlockRed, 0x10},   {kBlockGreen, 0x20},
        {kBlockBlue, 0x30},
    };
    for (const auto& [at, value] : expected)
        EXPECT_EQ(block[at], value) << "byte " << at;
    EXPECT_EQ(Area(MemoryArea::Settings, kMouseCurrentProfile, 1), std::vector<uint8_t>{2});
    EXPECT_EQ(Block(0), otherProfile);
}

TEST_P(MouseCtlTest, ExportThenApplyOnAResetMouseGivesBackTheSameSettingsAndKeys)
{
    ASSERT_EQ(Ctl("set dpi0=450 dpi6=9800 stage=6 rate=0 sleep2=15 lift-off=1 effect=9 speed=0 colour=ABCDEF").first,
              0);
    const std::vector<uint8_t> block = Block(0);
    const std::vector<uint8_t> keys = Keys();
    const std::string first = PathOf("first.Json");
    const auto [exported, exportOutput] = Ctl("export " + first);
    ASSERT_EQ(exported, 0) << exportOutput;

    sim_.FactoryReset(Device::Mouse);
    ASSERT_NE(Block(0), block);
    const auto [applied, applyOutput] = Ctl("apply " + first);
    ASSERT_EQ(applied, 0) << applyOutput;
    EXPECT_EQ(Block(0), block);
    EXPECT_EQ(Keys(), keys);

    const std::string second = PathOf("second.Json");
    ASSERT_EQ(Ctl("export " + second).first, 0);
    EXPECT_EQ(Text(second), Text(first));
}

TEST_P(MouseCtlTest, ApplyWritesTheFilesKeysWhereTheMouseKeepsThem)
{
    const std::string path = PathOf("keys.Json");
    ASSERT_EQ(Ctl("export " + path).first, 0);
    Json::Value document = ReadJsonFile(path);
    Json::Value& keyList = document["Device"][0]["KeyList"];
    keyList[3]["Assignment"] = 0x200004;  // key 3 lies at position 4
    keyList[0]["Assignment"] = 0x700102;  // a macro: not sent
    ASSERT_EQ(WriteJsonFile(path, document), 0);

    const auto [exitCode, output] = Ctl("apply " + path);
    ASSERT_EQ(exitCode, 0) << output;
    EXPECT_NE(output.find("key 0 names macro 1"), std::string::npos) << output;
    const std::vector<uint8_t> keys = Keys();
    EXPECT_EQ(std::vector<uint8_t>(keys.begin() + 12, keys.begin() + 15), (std::vector<uint8_t>{0x20, 0x00, 0x04}));
    EXPECT_EQ(std::vector<uint8_t>(keys.begin(), keys.begin() + 3), (std::vector<uint8_t>{0x10, 0x01, 0x00}));

    // The mouse now holds key 3's new code where its default was: its place is unknown.
    const auto [again, againOutput] = Ctl("export " + PathOf("again.Json"));
    EXPECT_EQ(again, 0) << againOutput;
    EXPECT_NE(againOutput.find("warning: key 3"), std::string::npos) << againOutput;
}

INSTANTIATE_TEST_SUITE_P(Connections, MouseCtlTest, kMouseConnections, ConnectionName);

class MouseCtlRefusalTest : public MouseCtlTest {};

TEST_P(MouseCtlRefusalTest, BadArgumentsAndFilesChangeNothingAndSayWhy)
{
    const auto put = [this](const std::string& name, const std::string& text) {
        std::ofstream(PathOf(name), std::ios::binary) << text;
        return PathOf(name);
    };
    const std::string notJson = put("notes.txt", "hello");
    const std::string keyboard = put("keyboard.Json", R"({"Device": [{"SystemStages": {}, "LightInfo": {}}]})");
    const std::string farStage = put("far.Json", R"({"Device": [{"DPIStages": {"StageDPIs": [{"StageDPIX": 900}]},
        "SystemStages": {}, "ReportStages": {}, "LightInfo": {}}]})");
    struct Case {
        std::string arguments;
        int exitCode;
        const char* expected;
    };
    const Case cases[] = {
        {"set", 3, "at least one NAME=VALUE"},
        {"set rate", 3, "rate needs a number from 0 to 3"},
        {"set rate=4", 3, "rate needs a number from 0 to 3"},
        {"set rate=1 brightness=-1", 3, "brightness needs"},
        {"set dpi7=800", 3, "needs a stage 0..6"},
        {"set dpi1=10001", 3, "needs a stage 0..6"},
        {"set colour=12345", 3, "six hexadecimal digits"},
        {"set colour=GG0000", 3, "six hexadecimal digits"},
        {"set wobble=1", 3, "unknown setting \"wobble\""},
        {"--device keyboard set rate=1", 3, "mouse only"},
        {"info extra", 3, "takes no arguments"},
        {"export", 3, "needs one FILE"},
        {"apply a b", 3, "needs one FILE"},
        {"apply " + PathOf("missing.Json"), 3, "no such file"},
        {"apply " + notJson, 3, "not JSON"},
        {"apply " + keyboard, 3, "no \"DPIStages\" section"},
        {"apply " + farStage, 3, "code 900 lies outside this mouse's range 0..519"},
        {"export " + PathOf("no/such/folder/out.Json"), 3, "could not be written"},
    };
    const std::vector<uint8_t> settings = Area(MemoryArea::Settings, 0, 2048);
    const std::vector<uint8_t> keys = Keys();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const auto [exitCode, output] = Ctl(c.arguments);
        EXPECT_EQ(exitCode, c.exitCode) << output;
        EXPECT_NE(output.find(c.expected), std::string::npos) << output;
    }
    EXPECT_EQ(Area(MemoryArea::Settings, 0, 2048), settings);
    EXPECT_EQ(Keys(), keys);
    EXPECT_EQ(Text(notJson), "hello") << "a file apply refuses stays as it was";
}

TEST_P(MouseCtlRefusalTest, RefusedWriteIsReportedAsAFailure)
{
    sim_.FailNth(Device::Mouse, kCmdWriteMemory, 1, kStatusRefused);
    const auto [exitCode, output] = Ctl("set rate=2");
    EXPECT_EQ(exitCode, 1) << output;
    EXPECT_NE(output.find("result -103"), std::string::npos) << output;
}

INSTANTIATE_TEST_SUITE_P(Cable, MouseCtlRefusalTest, ::testing::Values(MouseConnection{"cable", false}),
                         ConnectionName);

}  // namespace
