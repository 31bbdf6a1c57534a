// Macro and recoil images written to the simulated mouse on its cable and
// through its receiver, and read back from its memory.

#include "panels/macro_device.h"
#include "panels/macro_image.h"
#include "panels/recoil_patterns.h"
#include "protocol/recording_sink.h"
#include "protocol/temp_bus.h"
#include "tools/ctl/ctl_memory.h"
#include "tools/devsim/simulator.h"
#include "transport/command_channel.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using devsim::Device;
using devsim::MemoryArea;
using devsim::Port;

class MacroDeviceTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim_.Start());
        ASSERT_TRUE(folder_.isValid());
        library_.SetFolder(folder_.path().toStdString() + "/");
        patterns_.SetFolders(folder_.path().toStdString() + "/", folder_.path().toStdString() + "/defaults/");
        const bool receiver = GetParam();
        ASSERT_TRUE(sim_.Plug(receiver ? Port::MouseReceiver : Port::MouseCable));
        discovery_.RunPass();
        const DeviceRecord slot = slots_.Slot(receiver ? 6 : 4);
        ASSERT_EQ(slot.connected, 1);
        CHidDevice& control = receiver ? channel_.ReceiverInterface() : channel_.CableInterface();
        ASSERT_TRUE(control.Open(slot.path.c_str(), true, true, true, false));
        channel_.SetConnectionMode(receiver ? kReceiverMode : kCableMode);
        channel_.SetOpen(true);
    }

    std::vector<uint8_t> Memory(MemoryArea area, size_t length) const
    {
        return sim_.ReadArea(Device::Mouse, area, 0, length).value_or(std::vector<uint8_t>{});
    }

    TempBus bus_;
    devsim::CDeviceSimulator sim_{bus_.Directory()};
    CSlotList slots_;
    RecordingSink sink_;
    CDeviceDiscovery discovery_{slots_, sink_};
    CCommandChannel channel_;
    QTemporaryDir folder_;
    CMacroLibrary library_;
    CRecoilPatterns patterns_;
};

TEST_P(MacroDeviceTest, MacroImageOfTheUsedMacrosReadsBackFromTheMouse)
{
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(library_.Add());
    ASSERT_EQ(library_.SaveEvents(0, {{true, 4, kMacroKey, 50}, {false, 4, kMacroKey, 10}}), MacroSave::kSaved);
    ASSERT_EQ(library_.SaveEvents(2, std::vector<MacroEvent>(40, {true, 1, kMacroMouseButton, 300})),
              MacroSave::kSaved);
    const std::vector<int> used = {2, 0};
    ASSERT_EQ(SendMacroImage(channel_, library_, used, true), kMacroImageSent);

    std::vector<uint8_t> image;
    ASSERT_EQ(BuildMacroImage(library_, used, 4096, true, image), 0);
    EXPECT_EQ(Memory(MemoryArea::Macro, image.size()), image);
    const auto unpacked = UnpackMacroImage(Memory(MemoryArea::Macro, 4096));
    ASSERT_TRUE(unpacked);
    ASSERT_EQ(unpacked->blocks.size(), 2u);
    EXPECT_EQ(unpacked->blocks[0].size(), 40u);
    EXPECT_EQ(unpacked->blocks[1][0], (DeviceMacroEvent{50, 0x8A, 4}));
}

TEST_P(MacroDeviceTest, FailedWriteIsReportedAsAFailure)
{
    ASSERT_TRUE(library_.Add());
    ASSERT_EQ(library_.SaveEvents(0, {{true, 4, kMacroKey, 50}}), MacroSave::kSaved);
    sim_.FailNth(Device::Mouse, kCmdWriteMacroData, 1, kStatusRefused);
    EXPECT_EQ(SendMacroImage(channel_, library_, {0}, true), kMacroImageFailed);
    EXPECT_EQ(Memory(MemoryArea::Macro, 2), (std::vector<uint8_t>{0, 0}));
}

TEST_P(MacroDeviceTest, ImageLargerThanTheMouseMemoryIsNotSent)
{
    ASSERT_TRUE(library_.Add());
    ASSERT_EQ(library_.SaveEvents(0, std::vector<MacroEvent>(60, {true, 4, kMacroKey, 50})), MacroSave::kSaved);
    ASSERT_TRUE(sim_.WriteArea(Device::Mouse, MemoryArea::Info, 6, {1}));  // 128 bytes of macro memory
    // 16 + 6 + 240 = 262 bytes: 134 over, 34 events too many.
    EXPECT_EQ(SendMacroImage(channel_, library_, {0}, false), 34);
    EXPECT_EQ(Memory(MemoryArea::Macro, 2), (std::vector<uint8_t>{0, 0}));
}

TEST_P(MacroDeviceTest, RecoilPatternsReadBackFromTheMouse)
{
    for (int g = 0; g < kRecoilPatternCount; ++g)
        for (int b = 0; b < kRecoilBulletCount; ++b)
            ASSERT_TRUE(patterns_.StoreBullet(g, b, {g + b, 2 * b, 30 + g, b % 2 == 0, false}));
    uint8_t info[kInfoBlockSize] = {};
    ASSERT_EQ(SendRecoilPatterns(channel_, patterns_, info), kResultSuccess);
    EXPECT_EQ(info[0], 0xAA);
    const auto image = patterns_.BuildImage();
    ASSERT_TRUE(image);
    ASSERT_EQ(image->size(), 2920u);
    EXPECT_EQ(Memory(MemoryArea::Recoil, image->size()), *image);
}

TEST_P(MacroDeviceTest, TerminalToolReadsBothMemoriesFromTheSimulatorsDump)
{
    ASSERT_TRUE(library_.Add());
    ASSERT_EQ(library_.SaveEvents(0, {{true, 0x04, kMacroKey, 50}, {false, 0x10, kMacroMouseButton, 7},
                                      {true, 9, kMacroHorizontalMove, 5}}),
              MacroSave::kSaved);
    ASSERT_EQ(SendMacroImage(channel_, library_, {0}, true), kMacroImageSent);
    ASSERT_TRUE(patterns_.StoreBullet(0, 0, {3, 12, 90, true, false}));
    ASSERT_EQ(SendRecoilPatterns(channel_, patterns_), kResultSuccess);

    const auto macro = ParseAreaDump(sim_.Dump(Device::Mouse, MemoryArea::Macro));
    ASSERT_TRUE(macro);
    EXPECT_EQ(*macro, Memory(MemoryArea::Macro, sim_.AreaSize(Device::Mouse, MemoryArea::Macro)));
    EXPECT_EQ(DescribeMacroMemory(*macro), (std::vector<std::string>{
                                               "image of 34 bytes, macros: 1",
                                               "macro 0 (image position), at offset 18, 3 steps:",
                                               "    keyboard_key_A down, then 50 ms",
                                               "    mouse_key_forward up, then 7 ms",
                                               "    mouse_move_to_left_text 9, then 5 ms",
                                           }));
    const auto recoil = ParseAreaDump(sim_.Dump(Device::Mouse, MemoryArea::Recoil));
    ASSERT_TRUE(recoil);
    const std::vector<std::string> lines = DescribeRecoilMemory(*recoil);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[1], "pattern 1, at offset 24, 6 steps:");
    EXPECT_EQ(lines[2], "    bullet 1: 3 left, 12 down, then 90 ms");
}

INSTANTIATE_TEST_SUITE_P(CableAndReceiver, MacroDeviceTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Receiver" : "Cable"; });

TEST(MacroDeviceUnlinked, NothingIsSentWithoutTheMouseLinked)
{
    TempBus bus;
    devsim::CDeviceSimulator sim{bus.Directory()};
    ASSERT_TRUE(sim.Start());
    ASSERT_TRUE(sim.Plug(Port::MouseReceiver));
    sim.SetLinked(false);
    CSlotList slotList;
    RecordingSink sink;
    CDeviceDiscovery discovery{slotList, sink};
    discovery.RunPass();
    CCommandChannel channel;
    ASSERT_TRUE(channel.ReceiverInterface().Open(slotList.Slot(6).path.c_str(), true, true, true, false));
    channel.SetConnectionMode(kReceiverMode);
    channel.SetOpen(true);
    CRecoilPatterns patterns;
    EXPECT_EQ(SendRecoilPatterns(channel, patterns), kResultNotLinked);
    CMacroLibrary library;
    EXPECT_EQ(SendMacroImage(channel, library, {0}, true), kMacroImageFailed);
}

TEST(TerminalMemoryDecode, DamagedDumpsAndImagesSayWhatIsWrong)
{
    EXPECT_FALSE(ParseAreaDump("no header"));
    EXPECT_FALSE(ParseAreaDump("mouse macro (4 bytes)\n  0000: 01 02 03 04 05\n"));
    EXPECT_EQ(ParseAreaDump("mouse macro (40 bytes)\n  0000: 01\n  *\n  0020: 02 03\n"),
              ([] {
                  std::vector<uint8_t> bytes(40, 0);
                  bytes[0] = 1;
                  bytes[32] = 2;
                  bytes[33] = 3;
                  return bytes;
              }()));
    EXPECT_EQ(DescribeMacroMemory(std::vector<uint8_t>(64, 0)),
              std::vector<std::string>{"no image: the magic number is missing"});
}

}  // namespace
