// The devices' memories as the command protocol shows them.

#include "devsim_fixture.h"

#include <tuple>

using devsim::Device;
using devsim::MemoryArea;
using devsim::Port;

namespace {

struct ReadCase {
    const char* what;
    Port port;
    const char* socket;
    uint8_t command;
    uint16_t offset;
    std::vector<uint8_t> expected;  // the first bytes of the reply data
};

}  // namespace

TEST_F(DevsimTest, FactoryMemoriesReadThroughTheCommandProtocol)
{
    const std::vector<ReadCase> cases = {
        {"mouse info block: magic, 11 keys, 32 macro units, fresh, sensor 3395", Port::MouseCable, kMouseCommand,
         kCmdReadInfoBlock, 0, {0xAA, 0x55, 0, 0, 0, 11, 32, 0, 0, 0x95, 0x33, 50, 0x07, 0x02, 50, 0}},
        {"mouse current profile", Port::MouseCable, kMouseCommand, kCmdReadMemory, 0, {0}},
        {"mouse profile 1 block at 128: number, light, rate, DPI stage 1, stage 0 = 400 dpi",
         Port::MouseCable, kMouseCommand, kCmdReadMemory, 128,
         {1, 1, 3, 2, 0, 1, 255, 0, 0, 0, 0, 3, 1, 0, 1, 0, 7, 0, 7, 0, 255, 0, 0}},
        {"mouse profile 1 sleep, debounce, logo bytes 77..86", Port::MouseCable, kMouseCommand, kCmdReadMemory,
         128 + 77, {2, 10, 2, 10, 2, 0, 0, 0, 0, 1}},
        {"mouse key table: default codes, side buttons swapped", Port::MouseCable, kMouseCommand, kCmdReadKeyTable, 0,
         {0x10, 1, 0, 0x10, 2, 0, 0x10, 4, 0, 0x10, 8, 0, 0x10, 0x10, 0, 0x13, 1, 0}},
        {"mouse key table: last key", Port::MouseCable, kMouseCommand, kCmdReadKeyTable, 30, {0x14, 0x78, 0x02}},
        {"mouse status on its cable: 80 %, charging", Port::MouseCable, kMouseCommand, kCmdReadStatus, 0, {80, 1}},
        {"keyboard key position 125", Port::Keyboard, kKeyboardCommand, kCmdReadKeyTable, 375, {0x20, 0x80, 0}},
        {"keyboard key attributes: light positions, none for empty keys", Port::Keyboard, kKeyboardCommand,
         kCmdReadKeyAttributes, 16, {16, 17, 0xFF, 0xFF, 0xFF, 21}},
        {"keyboard colour group 1 at 512", Port::Keyboard, kKeyboardCommand, kCmdReadKeyColors, 512, {0, 255, 0}},
        {"keyboard profile 1 block at 25", Port::Keyboard, kKeyboardCommand, kCmdReadMemory, 25, {1, 5, 4, 2}},
        {"mouse pad light block", Port::MousePad, kMousePadCommand, kCmdReadMemory, 0, {0, 0, 4, 2, 0, 1, 0, 255, 180}},
        {"headset status", Port::Headset, kHeadset, kCmdReadStatus, 0, {100, 0, 0, 0, 0, 0}},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(Sim().Plug(c.port));
        auto client = Connect(c.socket);
        const auto reply = client->Exchange(MakeRequest(c.command, static_cast<uint8_t>(c.expected.size()), c.offset));
        ASSERT_TRUE(reply);
        EXPECT_EQ((*reply)[kFrameCommand], c.command);
        EXPECT_EQ((*reply)[kFrameStatus], 0);
        EXPECT_EQ(StoredChecksum(*reply), FrameChecksum(*reply));
        EXPECT_EQ(ReplyData(*reply), c.expected);
    }
}

TEST_F(DevsimTest, RequestsOutsideTheMemoryOrTheCommandSetAreRefused)
{
    struct RefusedCase {
        const char* what;
        CommandFrame request;
        uint8_t status;
    };
    CommandFrame badSum = MakeRequest(kCmdReadMemory, 4, 0);
    badSum[kFrameChecksum] ^= 1;
    const std::vector<RefusedCase> cases = {
        {"read past the settings memory", MakeRequest(kCmdReadMemory, 8, 2044), kStatusRefused},
        {"length above 56", MakeRequest(kCmdReadMemory, 57, 0), kStatusRefused},
        {"macro data past info byte 6 x 128", MakeRequest(kCmdWriteMacroData, 8, 32 * 128 - 4), kStatusRefused},
        {"key table block 1", MakeRequest(kCmdWriteKeyTable, 8, 512), kStatusRefused},
        {"keyboard-only command on the mouse", MakeRequest(kCmdStreamLightFrame, 8, 0), kStatusRefused},
        {"unknown command", MakeRequest(0x42), kStatusRefused},
        {"checksum wrong", badSum, kStatusFailed},
    };
    ASSERT_TRUE(Sim().Plug(Port::MouseCable));
    auto client = Connect(kMouseCommand);
    const auto before = Sim().ReadArea(Device::Mouse, MemoryArea::Macro, 32 * 128 - 4, 4);
    for (const RefusedCase& c : cases) {
        SCOPED_TRACE(c.what);
        const auto reply = client->Exchange(c.request);
        ASSERT_TRUE(reply);
        EXPECT_EQ((*reply)[kFrameCommand], c.request[kFrameCommand]);
        EXPECT_EQ((*reply)[kFrameStatus], c.status);
    }
    EXPECT_EQ(Sim().ReadArea(Device::Mouse, MemoryArea::Macro, 32 * 128 - 4, 4), before);
}

TEST_F(DevsimTest, ChunkedWritesLandAndOutliveAReplug)
{
    ASSERT_TRUE(Sim().Plug(Port::MouseCable));
    std::vector<uint8_t> image(2920);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<uint8_t>(i * 7);
    {
        auto client = Connect(kMouseCommand);
        for (size_t p = 0; p < image.size(); p += kCableChunk) {
            const size_t length = std::min<size_t>(kCableChunk, image.size() - p);
            const std::vector<uint8_t> chunk(image.begin() + static_cast<std::ptrdiff_t>(p),
                                             image.begin() + static_cast<std::ptrdiff_t>(p + length));
            const auto reply = client->Exchange(
                MakeRequest(kCmdWriteRecoilData, static_cast<uint8_t>(length), static_cast<uint16_t>(p), chunk));
            ASSERT_TRUE(reply);
            ASSERT_EQ((*reply)[kFrameStatus], 0);
        }
    }
    Sim().Unplug(Port::MouseCable);
    ASSERT_TRUE(Sim().Plug(Port::MouseCable));
    EXPECT_EQ(Sim().ReadArea(Device::Mouse, MemoryArea::Recoil, 0, image.size()), image);

    auto client = Connect(kMouseCommand);
    ASSERT_TRUE(client->Exchange(MakeRequest(kCmdWriteMemory, 3, 300, {9, 8, 7})));
    const auto reply = client->Exchange(MakeRequest(kCmdReadMemory, 3, 300));
    ASSERT_TRUE(reply);
    EXPECT_EQ(ReplyData(*reply), (std::vector<uint8_t>{9, 8, 7}));
}

TEST_F(DevsimTest, ResumeLightingHandsTheLightsBackToTheKeyboard)
{
    ASSERT_TRUE(Sim().Plug(Port::Keyboard));
    auto client = Connect(kKeyboardCommand);
    ASSERT_TRUE(client->Exchange(MakeRequest(kCmdStreamLightFrame, 6, 0, {1, 2, 3, 4, 5, 6})));
    EXPECT_TRUE(Sim().HostDrivesLighting(Device::Keyboard));
    EXPECT_EQ(Sim().ReadArea(Device::Keyboard, MemoryArea::LightStream, 0, 6), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
    ASSERT_TRUE(client->Exchange(MakeRequest(kCmdResumeLighting)));
    EXPECT_FALSE(Sim().HostDrivesLighting(Device::Keyboard));
}

TEST_F(DevsimTest, HeadsetKeepsItsLightFrameBySetOutput)
{
    ASSERT_TRUE(Sim().Plug(Port::Headset));
    auto client = Connect(kHeadset);
    // Plane 1, second half (lights 7..12), group 0x44.
    std::vector<uint8_t> report = {0xFF, 0x44, 0xAE, 0, 70, 71, 72, 73, 74, 75, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_TRUE(client->Send(vhid::kSetOutput, report));
    const auto ack = client->Next();
    ASSERT_TRUE(ack);
    EXPECT_EQ(ack->type, vhid::kAck);
    EXPECT_EQ(ack->payload, (std::vector<uint8_t>{1}));
    // Group 0x44 follows group 0x22: 3 planes x 13 lights further on.
    EXPECT_EQ(Sim().ReadArea(Device::Headset, MemoryArea::HeadsetLights, 39 + 13 + 7, 6),
              (std::vector<uint8_t>{70, 71, 72, 73, 74, 75}));
}
