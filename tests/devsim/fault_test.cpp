// Faults the simulator shows on request.

#include "devsim_fixture.h"

#include <filesystem>

using devsim::Device;
using devsim::MemoryArea;
using devsim::Port;

namespace {

constexpr int kSilenceMs = 150;  // long enough to tell "no reply" from a late one

}  // namespace

// Offsets 100..127 lie in the unused tail of profile block 0.
class DevsimFaultTest : public DevsimTest {
protected:
    void SetUp() override
    {
        DevsimTest::SetUp();
        ASSERT_TRUE(Sim().Plug(Port::MouseCable));
        client_ = Connect(kMouseCommand);
        ASSERT_TRUE(client_->Hello());
    }

    std::optional<CommandFrame> WriteByte(uint16_t offset, uint8_t value, int timeoutMs = 2000)
    {
        return client_->Exchange(MakeRequest(kCmdWriteMemory, 1, offset, {value}), timeoutMs);
    }
    uint8_t Stored(uint16_t offset)
    {
        return Sim().ReadArea(Device::Mouse, MemoryArea::Settings, offset, 1)->at(0);
    }

    std::unique_ptr<CRawBusClient> client_;
};

TEST_F(DevsimFaultTest, StatusFaultHitsOnlyTheNthFrameOfItsCommand)
{
    for (uint8_t status : {kStatusRefused, kStatusFailed}) {
        SCOPED_TRACE(status);
        Sim().FailNth(Device::Mouse, kCmdWriteMemory, 2, status);
        ASSERT_TRUE(client_->Exchange(MakeRequest(kCmdReadMemory, 1, 0)));  // other commands don't count
        EXPECT_EQ((*WriteByte(100, 1))[kFrameStatus], 0);
        EXPECT_EQ((*WriteByte(101, 2))[kFrameStatus], status);
        EXPECT_EQ((*WriteByte(102, 3))[kFrameStatus], 0);
        EXPECT_EQ(Stored(100), 1);
        EXPECT_EQ(Stored(101), 0);  // the failed frame is not applied
        EXPECT_EQ(Stored(102), 3);
        Sim().WriteArea(Device::Mouse, MemoryArea::Settings, 100, {0, 0, 0});
    }
}

TEST_F(DevsimFaultTest, WrongCommandByteComesOnce)
{
    Sim().WrongCommandOnce(Device::Mouse);
    const auto first = WriteByte(110, 5);
    ASSERT_TRUE(first);
    EXPECT_NE((*first)[kFrameCommand], kCmdWriteMemory);
    EXPECT_EQ(StoredChecksum(*first), FrameChecksum(*first));
    const auto second = WriteByte(110, 5);
    ASSERT_TRUE(second);
    EXPECT_EQ((*second)[kFrameCommand], kCmdWriteMemory);
}

TEST_F(DevsimFaultTest, DroppedRequestsGetNoReplyAndChangeNothing)
{
    Sim().DropRequests(Device::Mouse, 2);
    EXPECT_FALSE(WriteByte(120, 7, kSilenceMs));
    EXPECT_FALSE(WriteByte(121, 7, kSilenceMs));
    EXPECT_TRUE(WriteByte(122, 7));
    EXPECT_EQ(Stored(120), 0);
    EXPECT_EQ(Stored(122), 7);

    Sim().DropRequests(Device::Mouse, devsim::CFaultInjector::kForever);
    EXPECT_FALSE(WriteByte(123, 7, kSilenceMs));
    Sim().ClearFaults(Device::Mouse);
    EXPECT_TRUE(WriteByte(123, 7));
}

TEST_F(DevsimFaultTest, ClosingMidExchangeDropsOnlyThatConnection)
{
    Sim().CloseOnNth(Device::Mouse, 2);
    ASSERT_TRUE(WriteByte(105, 1));
    ASSERT_TRUE(client_->Send(vhid::kOutput, [] {
        const CommandFrame f = MakeRequest(kCmdReadMemory, 1, 0);
        return std::vector<uint8_t>(f.begin(), f.end());
    }()));
    EXPECT_TRUE(client_->ClosedByDevice());
    // The device is still there: a new handle works.
    auto again = Connect(kMouseCommand);
    EXPECT_TRUE(again->Exchange(MakeRequest(kCmdReadMemory, 1, 0)));
}

TEST_F(DevsimFaultTest, DoubledReplyComesOnceMore)
{
    Sim().AnswerTwiceOnce(Device::Mouse);
    const auto first = WriteByte(106, 4);
    const auto echo = client_->Next();
    ASSERT_TRUE(first && echo);
    EXPECT_EQ(echo->payload, std::vector<uint8_t>(first->begin(), first->end()));
    ASSERT_TRUE(WriteByte(107, 4));
    EXPECT_FALSE(client_->Next(kSilenceMs));
}
