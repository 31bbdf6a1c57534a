// The command channel against a scripted device on a bus of its own.

#include "protocol/fake_device.h"
#include "protocol/temp_bus.h"
#include "transport/command_channel.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <future>
#include <numeric>
#include <set>

namespace {

constexpr uint16_t kVendor = 0x320F;
constexpr uint16_t kCableProduct = 0x22A9;
constexpr uint16_t kReceiverProduct = 0x22AA;

const std::set<uint8_t> kReadCommands = {kCmdReadInfoBlock, kCmdReadMemory,  kCmdReadKeyTable, kCmdReadKeyColors,
                                         kCmdReadStatus,    kCmdReadKeyAttributes, kCmdCheckLink};

uint16_t Offset(const Report& frame)
{
    return static_cast<uint16_t>(frame[kFrameOffset] | (frame[kFrameOffset + 1] << 8));
}

// The answer a well-behaved device gives: the request's header with status 0,
// and for reads the addressed bytes of its memory.
Report Answer(const Report& request, const std::vector<uint8_t>& memory)
{
    Report reply(kCommandFrameSize, 0);
    std::copy_n(request.begin(), kFramePayload, reply.begin());
    reply[kFrameStatus] = 0;
    if (request[kFrameCommand] == kCmdCheckLink)
        reply[kFrameLinkState] = kLinkedValue;
    else if (kReadCommands.count(request[kFrameCommand]) != 0)
        std::copy_n(memory.begin() + Offset(request), request[kFrameLength], reply.begin() + kFramePayload);
    return reply;
}

Report WithCommand(Report reply, uint8_t command)
{
    reply[kFrameCommand] = command;
    return reply;
}

Report WithStatus(Report reply, uint8_t status)
{
    reply[kFrameStatus] = status;
    return reply;
}

class ChannelTest : public ::testing::Test {
protected:
    void Attach(bool receiver)
    {
        const uint16_t product = receiver ? kReceiverProduct : kCableProduct;
        const std::string name = vhid::InterfaceName(kVendor, product, 1, receiver ? 4 : 2, "test");
        device_.reset();  // a device of the same name leaves first
        device_ = std::make_unique<FakeDevice>(bus_.Directory(), name, ControlHello(kVendor, product));
        std::iota(memory_.begin(), memory_.end(), 0);
        UseWellBehavedDevice();
        CHidDevice& control = receiver ? channel_.ReceiverInterface() : channel_.CableInterface();
        ASSERT_TRUE(control.Open(device_->HidPath().c_str(), true, true, true, false));
        channel_.SetConnectionMode(receiver ? kReceiverMode : kCableMode);
        channel_.SetOpen(true);
    }

    // Writes land in the device's memory; everything is answered.
    void UseWellBehavedDevice()
    {
        device_->SetResponder([this](const Report& request, size_t) {
            Store(request);
            return std::vector<Report>{Answer(request, memory_)};
        });
    }

    void Store(const Report& request)
    {
        if (kReadCommands.count(request[kFrameCommand]) == 0 && request[kFrameLength] <= kFramePayloadSize)
            std::copy_n(request.begin() + kFramePayload, request[kFrameLength], memory_.begin() + Offset(request));
    }

    std::vector<std::pair<int, int>> LengthsAndOffsets() const
    {
        std::vector<std::pair<int, int>> seen;
        for (const Report& frame : device_->Requests())
            seen.emplace_back(frame[kFrameLength], Offset(frame));
        return seen;
    }

    TempBus bus_;
    std::vector<uint8_t> memory_ = std::vector<uint8_t>(65536);
    std::unique_ptr<FakeDevice> device_;
    CCommandChannel channel_;
};

using Chunks = std::vector<std::pair<int, int>>;

TEST(CommandFrameTest, ChecksumOfAllOnesIsStoredLowByteFirst)
{
    CommandFrame frame;
    frame.fill(0xFF);
    StoreChecksum(frame);
    EXPECT_EQ(frame[1], 0xC3);
    EXPECT_EQ(frame[2], 0x3C);
}

TEST(CommandFrameTest, TraceLineMatchesTheFixedLayout)
{
    uint8_t bytes[32];
    std::iota(bytes, bytes + 32, 0xE0);
    char expected[200];
    std::snprintf(expected, sizeof expected,
                  "%02x %02x %02x %02x   %02x %02x %02x %02x   %02x %02x %02x %02x   %02x %02x %02x %02x  "
                  "%02x %02x %02x %02x  %02x %02x %02x %02x  %02x %02x %02x %02x  %02x %02x %02x %02x",
                  bytes[0], bytes[1], bytes[2], bytes[3], bytes[4], bytes[5], bytes[6], bytes[7], bytes[8],
                  bytes[9], bytes[10], bytes[11], bytes[12], bytes[13], bytes[14], bytes[15], bytes[16], bytes[17],
                  bytes[18], bytes[19], bytes[20], bytes[21], bytes[22], bytes[23], bytes[24], bytes[25],
                  bytes[26], bytes[27], bytes[28], bytes[29], bytes[30], bytes[31]);
    EXPECT_EQ(FormatFrameTraceLine(bytes), expected);
}

TEST(CommandChannelStateTest, BlockSizeOver512IsRefusedAndKept)
{
    CCommandChannel channel;
    EXPECT_TRUE(channel.SetBlockSize(45));
    EXPECT_FALSE(channel.SetBlockSize(513));
    EXPECT_EQ(channel.BlockSize(), 45);
    EXPECT_TRUE(channel.SetBlockSize(512));
    EXPECT_EQ(channel.BlockSize(), 512);
}

TEST(CommandChannelStateTest, ClosedChannelAnswersZeroWithoutTraffic)
{
    CCommandChannel channel;
    uint8_t block[kInfoBlockSize];
    EXPECT_EQ(channel.BeginConfig(), kResultNoReply);
    EXPECT_EQ(channel.ReadInfoBlock(block), kResultNoReply);
    EXPECT_FALSE(channel.IsBusy());
}

struct ChunkCase {
    const char* name;
    bool receiver;
    Chunks infoBlockRead;
    Chunks keyTableWrite45;
    Chunks infoBlockWrite;
    Chunks recoilWrite100;
};

class ChunkingTest : public ChannelTest, public ::testing::WithParamInterface<ChunkCase> {};

TEST_P(ChunkingTest, FramesFollowTheConnectionsChunkSize)
{
    const ChunkCase& c = GetParam();
    Attach(c.receiver);

    uint8_t block[kInfoBlockSize] = {};
    ASSERT_EQ(channel_.ReadInfoBlock(block), kResultSuccess);
    EXPECT_EQ(LengthsAndOffsets(), c.infoBlockRead);
    for (size_t i = 0; i < kInfoBlockSize; ++i)
        ASSERT_EQ(block[i], memory_[i]) << "byte " << i;

    const size_t before = device_->Requests().size();
    std::vector<uint8_t> data(100);
    std::iota(data.begin(), data.end(), 100);
    ASSERT_TRUE(channel_.SetBlockSize(45));
    ASSERT_EQ(channel_.WriteKeyTable(data.data(), 0), kResultSuccess);
    Chunks written = LengthsAndOffsets();
    EXPECT_EQ(Chunks(written.begin() + static_cast<std::ptrdiff_t>(before), written.end()), c.keyTableWrite45);
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 45, memory_.begin()));

    for (const auto& [write, expected] :
         {std::pair{std::function<int()>([&] { return channel_.WriteInfoBlock(data.data()); }), c.infoBlockWrite},
          std::pair{std::function<int()>([&] { return channel_.WriteRecoilData(data.data(), 100); }),
                    c.recoilWrite100}}) {
        const size_t start = device_->Requests().size();
        ASSERT_EQ(write(), kResultSuccess);
        written = LengthsAndOffsets();
        EXPECT_EQ(Chunks(written.begin() + static_cast<std::ptrdiff_t>(start), written.end()), expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Connections, ChunkingTest,
    ::testing::Values(ChunkCase{"cable", false, {{34, 0}}, {{45, 0}}, {{34, 0}}, {{56, 0}, {44, 56}}},
                      ChunkCase{"receiver",
                                true,
                                {{24, 0}, {10, 24}},
                                {{24, 0}, {21, 24}},
                                {{24, 0}, {10, 24}},
                                {{24, 0}, {24, 24}, {24, 48}, {24, 72}, {4, 96}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ChannelTest, ReceiverFramesCarryTheMarkerOverTheUnmarkedChecksum)
{
    Attach(true);
    std::vector<uint8_t> data(24, 0x11);
    ASSERT_EQ(channel_.WriteMemory(data.data(), 24, 0x100), kResultSuccess);
    Report sent = device_->Requests().at(0);
    EXPECT_EQ(sent[kFrameReportId], kCommandReportId);
    EXPECT_EQ(sent[kFrameReceiverMarker], kReceiverMarkerValue);
    CommandFrame unmarked;
    std::copy(sent.begin(), sent.end(), unmarked.begin());
    unmarked[kFrameReceiverMarker] = 0;
    EXPECT_EQ(StoredChecksum(unmarked), FrameChecksum(unmarked));
}

TEST_F(ChannelTest, WriteKeyTableWithBlockIndexOneSendsNothing)
{
    Attach(false);
    uint8_t table[kMaxBlockSize] = {};
    EXPECT_EQ(channel_.WriteKeyTable(table, 1), kResultBadBlockIndex);
    EXPECT_TRUE(device_->Requests().empty());
}

TEST_F(ChannelTest, SingleFramesWithoutDataHaveZeroLengthOffsetAndStatus)
{
    Attach(false);
    ASSERT_EQ(channel_.BeginConfig(), kResultSuccess);
    ASSERT_EQ(channel_.EndConfig(), kResultSuccess);
    ASSERT_EQ(channel_.ResumeLighting(), kResultSuccess);
    std::vector<uint8_t> commands;
    for (const Report& frame : device_->Requests()) {
        commands.push_back(frame[kFrameCommand]);
        EXPECT_EQ(frame[4] | frame[5] | frame[6] | frame[7], 0);
    }
    EXPECT_EQ(commands, (std::vector<uint8_t>{kCmdBeginConfig, kCmdEndConfig, kCmdResumeLighting}));
}

TEST_F(ChannelTest, EveryChunkedCommandCarriesItsCodeLengthsAndBaseOffset)
{
    Attach(false);
    ASSERT_TRUE(channel_.SetBlockSize(45));
    std::vector<uint8_t> data(120);
    std::iota(data.begin(), data.end(), 1);
    std::vector<uint8_t> read(kMaxBlockSize);
    struct Case {
        const char* name;
        uint8_t code;
        std::function<int()> run;
        Chunks chunks;
        bool write;
        uint16_t base;
        uint16_t length;
    };
    const Case cases[] = {
        {"ReadMemory", kCmdReadMemory, [&] { return channel_.ReadMemory(read.data(), 60, 0x100); },
         {{56, 0x100}, {4, 0x138}}, false, 0x100, 60},
        {"WriteMemory", kCmdWriteMemory, [&] { return channel_.WriteMemory(data.data(), 60, 0x200); },
         {{56, 0x200}, {4, 0x238}}, true, 0x200, 60},
        {"ReadKeyTable", kCmdReadKeyTable, [&] { return channel_.ReadKeyTable(read.data()); }, {{45, 0}}, false, 0,
         45},
        {"ReadKeyColors", kCmdReadKeyColors, [&] { return channel_.ReadKeyColors(read.data(), 60, 2, 512); },
         {{56, 1024}, {4, 1080}}, false, 1024, 60},
        {"WriteKeyColors", kCmdWriteKeyColors, [&] { return channel_.WriteKeyColors(data.data(), 60, 1, 512); },
         {{56, 512}, {4, 568}}, true, 512, 60},
        {"StreamLightFrame", kCmdStreamLightFrame, [&] { return channel_.StreamLightFrame(data.data(), 60); },
         {{56, 0}, {4, 56}}, true, 0, 60},
        {"WriteMacroData", kCmdWriteMacroData, [&] { return channel_.WriteMacroData(data.data(), 100); },
         {{56, 0}, {44, 56}}, true, 0, 100},
        {"WriteRecoilData", kCmdWriteRecoilData, [&] { return channel_.WriteRecoilData(data.data(), 60); },
         {{56, 0}, {4, 56}}, true, 0, 60},
        {"ReadStatus", kCmdReadStatus, [&] { return channel_.ReadStatus(read.data(), 6, 0x10); }, {{6, 0x10}},
         false, 0x10, 6},
        {"ReadKeyAttributes", kCmdReadKeyAttributes, [&] { return channel_.ReadKeyAttributes(read.data()); },
         {{15, 0}}, false, 0, 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::fill(read.begin(), read.end(), 0xEE);
        const size_t start = device_->Requests().size();
        ASSERT_EQ(c.run(), kResultSuccess);
        const std::vector<Report> requests = device_->Requests();
        const Chunks all = LengthsAndOffsets();
        EXPECT_EQ(Chunks(all.begin() + static_cast<std::ptrdiff_t>(start), all.end()), c.chunks);
        for (size_t i = start; i < requests.size(); ++i)
            EXPECT_EQ(requests[i][kFrameCommand], c.code) << "frame " << i - start;
        const auto device = memory_.begin() + c.base;
        if (c.write)
            EXPECT_TRUE(std::equal(data.begin(), data.begin() + c.length, device));
        else
            EXPECT_TRUE(std::equal(read.begin(), read.begin() + c.length, device));
    }
}

TEST_F(ChannelTest, DeviceStatusEndsAChunkedWriteAndKeepsEarlierChunks)
{
    for (const auto& [status, expected] : {std::pair{kStatusRefused, kResultStatusRefused},
                                           std::pair{kStatusFailed, kResultStatusFailed}}) {
        Attach(false);
        device_->SetResponder([this, status = status](const Report& request, size_t index) {
            if (index == 1)
                return std::vector<Report>{WithStatus(Answer(request, memory_), status)};
            Store(request);
            return std::vector<Report>{Answer(request, memory_)};
        });
        std::vector<uint8_t> data(150, 0xAB);
        EXPECT_EQ(channel_.WriteMemory(data.data(), 150, 0), expected);
        EXPECT_EQ(device_->Requests().size(), 2u) << "the third chunk is never sent";
        EXPECT_EQ(memory_[0], 0xAB);
        EXPECT_EQ(memory_[55], 0xAB);
        EXPECT_NE(memory_[56], 0xAB);
    }
}

TEST_F(ChannelTest, LinkCheckCodeThroughTheReceiverIsNotLinkedAtOnce)
{
    Attach(true);
    device_->SetResponder([this](const Report& request, size_t) {
        return std::vector<Report>{WithCommand(Answer(request, memory_), kCmdCheckLink)};
    });
    uint8_t block[kInfoBlockSize];
    EXPECT_EQ(channel_.ReadInfoBlock(block), kResultNotLinked);
    EXPECT_EQ(device_->Requests().size(), 1u);
}

TEST_F(ChannelTest, MismatchedReplyIsRetriedOnce)
{
    struct Case {
        bool receiver;
        size_t mismatches;
        int expected;
    };
    for (const Case& c : {Case{false, 1, kResultSuccess}, Case{false, 2, kResultNoReply},
                          Case{true, 1, kResultSuccess}, Case{true, 2, kResultNoReply}}) {
        SCOPED_TRACE(testing::Message() << "receiver " << c.receiver << ", mismatches " << c.mismatches);
        Attach(c.receiver);
        device_->SetResponder([this, c](const Report& request, size_t index) {
            const Report answer = Answer(request, memory_);
            return std::vector<Report>{index < c.mismatches ? WithCommand(answer, 0x55) : answer};
        });
        EXPECT_EQ(channel_.BeginConfig(), c.expected);
        EXPECT_EQ(device_->Requests().size(), 2u);
    }
}

TEST_F(ChannelTest, StaleReportIsFlushedBeforeTheRequestOnBothConnections)
{
    for (const bool receiver : {true, false}) {
        Attach(receiver);
        Report stale(kCommandFrameSize, 0);
        stale[kFrameReportId] = kCommandReportId;
        stale[kFrameCommand] = kCmdReadStatus;
        device_->Notify(stale);
        uint8_t status[2];
        EXPECT_EQ(channel_.BeginConfig(), kResultSuccess);
        EXPECT_EQ(device_->Requests().size(), 1u);
        EXPECT_EQ(channel_.ReadStatus(status, 2, 0), kResultSuccess);
    }
}

TEST_F(ChannelTest, ShortOrMissingRepliesAreNoReply)
{
    Attach(false);
    device_->SetResponder([](const Report& request, size_t) {
        return std::vector<Report>{Report(request.begin(), request.begin() + 10)};
    });
    uint8_t block[kInfoBlockSize];
    EXPECT_EQ(channel_.ReadInfoBlock(block), kResultNoReply);

    device_->SetResponder([](const Report&, size_t) { return std::vector<Report>{}; });
    EXPECT_EQ(channel_.BeginConfig(), kResultNoReply);
    EXPECT_FALSE(channel_.IsBusy());
}

TEST_F(ChannelTest, PulledDeviceFailsTheWriteAndKeepsEarlierChunks)
{
    Attach(false);
    std::vector<uint8_t> data(56, 0x5A);
    ASSERT_EQ(channel_.WriteMemory(data.data(), 56, 0), kResultSuccess);
    device_->Unplug();
    EXPECT_EQ(channel_.WriteMemory(data.data(), 56, 56), kResultWriteFailed);
    EXPECT_EQ(memory_[0], 0x5A);
}

TEST_F(ChannelTest, SuspendedChannelWritesSucceedAndReadsFailWithoutTraffic)
{
    Attach(false);
    channel_.SetSuspended(true);
    uint8_t data[kInfoBlockSize] = {};
    EXPECT_EQ(channel_.WriteInfoBlock(data), kResultSuccess);
    EXPECT_EQ(channel_.BeginConfig(), kResultSuccess);
    EXPECT_EQ(channel_.ReadInfoBlock(data), kResultNoReply);
    EXPECT_EQ(channel_.ReadStatus(data, 2, 0), kResultNoReply);
    // The light stream too: nothing may reach a device being updated.
    EXPECT_EQ(channel_.StreamLightFrame(data, sizeof data), kResultSuccess);
    EXPECT_TRUE(device_->Requests().empty());
}

TEST_F(ChannelTest, ReadInfoBlockLeavesTheDestinationAloneOnFailure)
{
    Attach(true);
    device_->SetResponder([this](const Report& request, size_t index) {
        const Report answer = Answer(request, memory_);
        return std::vector<Report>{index == 1 ? WithStatus(answer, kStatusFailed) : answer};
    });
    uint8_t block[kInfoBlockSize];
    std::fill(std::begin(block), std::end(block), 0xEE);
    EXPECT_EQ(channel_.ReadInfoBlock(block), kResultStatusFailed);
    EXPECT_TRUE(std::all_of(std::begin(block), std::end(block), [](uint8_t b) { return b == 0xEE; }));
}

TEST_F(ChannelTest, OversizedStatusReadIsRefusedWithoutTraffic)
{
    Attach(false);
    uint8_t data[64];
    EXPECT_EQ(channel_.ReadStatus(data, 57, 0), kResultNoReply);
    EXPECT_TRUE(device_->Requests().empty());
}

TEST_F(ChannelTest, CheckLinkOnTheCableSendsNothing)
{
    Attach(false);
    EXPECT_TRUE(channel_.CheckLink());
    EXPECT_TRUE(device_->Requests().empty());
}

// "Not linked" is the receiver's answer; a receiver that answers nothing
// usable is another fault, and the log tells them apart.
TEST_F(ChannelTest, LinkCheckTellsNotLinkedFromNoAnswerAndLogsEach)
{
    const std::string dataHome = bus_.Directory() + "/data";
    std::filesystem::create_directories(dataHome + "/R214QX-LIT");
    ::setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
    Attach(true);
    EXPECT_TRUE(channel_.CheckLink());
    EXPECT_EQ(channel_.LinkState(), kResultSuccess);
    struct Case {
        const char* name;
        std::function<Report(Report)> answer;
        int expected;
        const char* logLine;
    };
    const Case cases[] = {
        {"not linked", [](Report answer) { answer[kFrameLinkState] = 0; return answer; }, kResultNotLinked,
         ":Hid2_4GDeviceIsLink>0xAA    false"},
        {"cut short", [](Report answer) { answer.resize(10); return answer; }, kResultNoReply,
         ":Hid2_4GDeviceIsLink>0xAA    no answer, result 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        device_->SetResponder([this, c](const Report& request, size_t) {
            return std::vector<Report>{c.answer(Answer(request, memory_))};
        });
        EXPECT_EQ(channel_.LinkState(), c.expected);
        EXPECT_FALSE(channel_.CheckLink());
    }
    std::ifstream log(dataHome + "/R214QX-LIT/Tarvex.log");
    const std::string written((std::istreambuf_iterator<char>(log)), {});
    for (const Case& c : cases)
        EXPECT_NE(written.find(c.logLine), std::string::npos) << c.name << ": " << written;
    ::unsetenv("XDG_DATA_HOME");
}

TEST_F(ChannelTest, QuietTransferWithoutAnEchoIsNoReply)
{
    Attach(false);
    device_->SetResponder([this](const Report& request, size_t) {
        const Report other = WithCommand(Answer(request, memory_), 0x55);
        return std::vector<Report>{other, other};
    });
    CommandFrame request{};
    request[kFrameReportId] = kCommandReportId;
    request[kFrameCommand] = kCmdStreamLightFrame;
    CommandFrame reply{};
    EXPECT_EQ(channel_.TransferQuiet(request.data(), request.size(), reply.data(), reply.size(), nullptr),
              kResultNoReply);
    EXPECT_EQ(device_->Requests().size(), 1u) << "the quiet variant never writes again";
}

TEST_F(ChannelTest, LightFramesAreDroppedWhileAnotherExchangeRuns)
{
    Attach(false);
    std::promise<void> requestArrived;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    device_->SetResponder([&, released](const Report& request, size_t index) {
        if (index == 0) {
            requestArrived.set_value();
            released.wait();
        }
        return std::vector<Report>{Answer(request, memory_)};
    });
    std::future<int> slowRead = std::async(std::launch::async, [this] {
        uint8_t block[kInfoBlockSize];
        return channel_.ReadInfoBlock(block);
    });
    requestArrived.get_future().wait();
    std::vector<uint8_t> colours(100, 0x7F);
    EXPECT_EQ(channel_.StreamLightFrame(colours.data(), 100), kResultSuccess);
    release.set_value();
    EXPECT_EQ(slowRead.get(), kResultSuccess);
    for (const Report& frame : device_->Requests())
        EXPECT_NE(frame[kFrameCommand], kCmdStreamLightFrame);

    ASSERT_EQ(channel_.StreamLightFrame(colours.data(), 100), kResultSuccess);
    EXPECT_EQ(device_->Requests().back()[kFrameCommand], kCmdStreamLightFrame);
}

}  // namespace
