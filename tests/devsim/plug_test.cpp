// Plugging, unplugging and the receiver.

#include "devsim_fixture.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <ostream>
#include <set>
#include <thread>

using devsim::Device;
using devsim::MemoryArea;
using devsim::Port;

namespace {

std::set<std::string> SocketsIn(const std::string& directory)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        if (entry.is_socket())
            names.insert(entry.path().filename().string());
    return names;
}

uint16_t NotificationCode(const vhid::Frame& frame)
{
    return static_cast<uint16_t>(frame.payload.at(1) | (frame.payload.at(2) << 8));
}

// A traffic log that holds the bus thread on its next line while armed, so a
// test can line up what the thread finds when it polls again.
class HoldingLog : public std::streambuf {
public:
    void Arm()
    {
        std::lock_guard lock(mutex_);
        armed_ = true;
        holding_ = false;
    }
    bool WaitUntilHolding()
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(2), [this] { return holding_; });
    }
    void Release()
    {
        std::lock_guard lock(mutex_);
        armed_ = false;
        changed_.notify_all();
    }

protected:
    int overflow(int c) override
    {
        Hold();
        return c;
    }
    std::streamsize xsputn(const char*, std::streamsize count) override
    {
        Hold();
        return count;
    }

private:
    void Hold()
    {
        std::unique_lock lock(mutex_);
        holding_ = armed_;
        changed_.notify_all();
        changed_.wait(lock, [this] { return !armed_; });
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    bool armed_ = false;
    bool holding_ = false;
};

}  // namespace

TEST_F(DevsimTest, EachPortShowsItsInterfacesAndLeavesWithoutTrace)
{
    const std::string directory = Sim().BusDirectory();
    struct PortCase {
        Port port;
        std::set<std::string> sockets;
    };
    const std::vector<PortCase> cases = {
        {Port::MouseCable,
         {"hid#vid_320f&pid_22a9&mi_00&col01#sim-mouse-1", "hid#vid_320f&pid_22a9&mi_00&col02#sim-mouse-1",
          kMouseNotify, "hid#vid_320f&pid_22a9&mi_01&col01#sim-mouse-1", kMouseCommand}},
        {Port::MouseReceiver,
         {"hid#vid_320f&pid_22aa&mi_00#sim-receiver-1", "hid#vid_320f&pid_22aa&mi_01&col01#sim-receiver-1",
          "hid#vid_320f&pid_22aa&mi_01&col02#sim-receiver-1", kReceiverNotify, kReceiverCommand}},
        {Port::Headset, {kHeadset}},
    };
    for (const PortCase& c : cases) {
        SCOPED_TRACE(devsim::PortName(c.port));
        ASSERT_TRUE(Sim().Plug(c.port));
        EXPECT_EQ(SocketsIn(directory), c.sockets);
        for (const std::string& name : c.sockets)
            EXPECT_TRUE(vhid::IsInterfaceName(name)) << name;
        auto held = Connect(*c.sockets.begin());
        ASSERT_TRUE(held->Hello());
        Sim().Unplug(c.port);
        EXPECT_TRUE(SocketsIn(directory).empty());
        EXPECT_TRUE(held->ClosedByDevice());
    }
}

TEST_F(DevsimTest, HelloDescribesTheControlInterface)
{
    ASSERT_TRUE(Sim().Plug(Port::MouseCable));
    Sim().SetFirmwareVersion(Device::Mouse, 0x0105);
    auto client = Connect(kMouseCommand);
    ASSERT_TRUE(client->Hello());
    const vhid::Hello& hello = *client->Hello();
    EXPECT_EQ(hello.vendorId, 0x320F);
    EXPECT_EQ(hello.productId, 0x22A9);
    EXPECT_EQ(hello.version, 0x0105);
    EXPECT_EQ(hello.usagePage, 0xFF1C);
    EXPECT_EQ(hello.usage, 0x0092);
    EXPECT_EQ(hello.inputLength, 64);
    EXPECT_EQ(hello.outputLength, 64);
    EXPECT_FALSE(hello.reportDescriptor.empty());

    auto notify = Connect(kMouseNotify);
    ASSERT_TRUE(notify->Hello());
    EXPECT_EQ(notify->Hello()->usagePage, 0x000C);
    EXPECT_EQ(notify->Hello()->usage, 0x0001);
}

TEST_F(DevsimTest, RepliesReachEveryOpenHandleOfTheInterface)
{
    ASSERT_TRUE(Sim().Plug(Port::MouseCable));
    auto asking = Connect(kMouseCommand);
    auto listening = Connect(kMouseCommand);
    ASSERT_TRUE(asking->Exchange(MakeRequest(kCmdReadStatus, 2, 0)));
    const auto copy = listening->Next();
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->type, vhid::kInput);
    EXPECT_EQ(copy->payload.at(kFrameCommand), kCmdReadStatus);
}

TEST_F(DevsimTest, MalformedFrameClosesTheConnection)
{
    ASSERT_TRUE(Sim().Plug(Port::MouseCable));
    auto client = Connect(kMouseCommand);
    ASSERT_TRUE(client->SendRaw({vhid::kOutput, 0x01, 0x10}));  // 4097 bytes announced
    EXPECT_TRUE(client->ClosedByDevice());
}

// Each malformed request is ignored, so the first answer is the valid request's.
TEST_F(DevsimTest, MalformedFeatureRequestsGetNoAnswer)
{
    ASSERT_TRUE(Sim().Plug(Port::MouseCable));
    auto client = Connect(kMouseCommand);
    ASSERT_TRUE(client->Hello());
    struct Case {
        vhid::Frame malformed;
        vhid::Frame valid;
        uint8_t answer;
    };
    const Case cases[] = {
        {{vhid::kSetFeature, {}}, {vhid::kGetFeature, {5}}, vhid::kFeature},
        {{vhid::kGetFeature, {}}, {vhid::kSetFeature, {5, 1}}, vhid::kAck},
        {{vhid::kGetFeature, {5, 1}}, {vhid::kSetFeature, {5, 1}}, vhid::kAck},
        {{vhid::kSetOutput, {}}, {vhid::kGetFeature, {5}}, vhid::kFeature},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int{c.malformed.type});
        ASSERT_TRUE(client->Send(c.malformed.type, c.malformed.payload));
        ASSERT_TRUE(client->Send(c.valid.type, c.valid.payload));
        const auto answer = client->Next();
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->type, c.answer);
    }
}

TEST_F(DevsimTest, FrameSentJustBeforeTheHostClosesIsStillTaken)
{
    ASSERT_TRUE(Sim().Plug(Port::MouseCable));
    auto client = Connect(kMouseCommand);
    ASSERT_TRUE(client->Hello());
    HoldingLog holding;
    std::ostream log(&holding);
    Sim().SetTrafficLogStream(&log);
    holding.Arm();
    EXPECT_TRUE(client->Send(0x7E, {}));  // logged on arrival: the bus thread stops there
    EXPECT_TRUE(holding.WaitUntilHolding());
    const CommandFrame write = MakeRequest(kCmdWriteMemory, 1, 100, {0x3C});
    EXPECT_TRUE(client->Send(vhid::kOutput, std::vector<uint8_t>(write.begin(), write.end())));
    client.reset();  // the write and the end of the stream now wait together
    holding.Release();
    std::vector<uint8_t> stored;
    for (int i = 0; i < 200 && stored != std::vector<uint8_t>{0x3C}; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        stored = *Sim().ReadArea(Device::Mouse, MemoryArea::Settings, 100, 1);
    }
    Sim().SetTrafficLogStream(nullptr);
    EXPECT_EQ(stored, std::vector<uint8_t>{0x3C});
}

TEST_F(DevsimTest, ReceiverAnswersForAMouseOutOfReach)
{
    ASSERT_TRUE(Sim().Plug(Port::MouseReceiver));
    auto client = Connect(kReceiverCommand);
    for (bool linked : {false, true}) {
        SCOPED_TRACE(linked);
        Sim().SetLinked(linked);
        const auto link = client->Exchange(MakeRequest(kCmdCheckLink));
        ASSERT_TRUE(link);
        EXPECT_EQ((*link)[kFrameCommand], kCmdCheckLink);
        EXPECT_EQ((*link)[kFrameLinkState], linked ? kLinkedValue : 0);
        const auto read = client->Exchange(MakeRequest(kCmdReadMemory, 1, 0));
        ASSERT_TRUE(read);
        EXPECT_EQ((*read)[kFrameCommand], linked ? kCmdReadMemory : kCmdCheckLink);
    }
}

TEST_F(DevsimTest, ReceiverRestoresTheByteUnderItsMarker)
{
    ASSERT_TRUE(Sim().Plug(Port::MouseReceiver));
    auto client = Connect(kReceiverCommand);
    std::vector<uint8_t> info = *Sim().ReadArea(Device::Mouse, MemoryArea::Info, 0, 34);
    info[kInfoSetUpMarker] = kInfoSetUpDone;
    info[24] = 0x5A;  // lands on frame byte 32
    CommandFrame request = MakeRequest(kCmdWriteInfoBlock, 34, 0, info);
    request[kFrameReceiverMarker] = kReceiverMarkerValue;  // as the program marks it, checksum unchanged
    const auto reply = client->Exchange(request);
    ASSERT_TRUE(reply);
    EXPECT_EQ((*reply)[kFrameStatus], 0);
    EXPECT_EQ(Sim().ReadArea(Device::Mouse, MemoryArea::Info, 0, 34), info);
}

TEST_F(DevsimTest, MovingTheMouseKeepsItsMemoryAndSwitchesItsStatus)
{
    ASSERT_TRUE(Sim().Plug(Port::MouseCable));
    ASSERT_TRUE(Connect(kMouseCommand)->Exchange(MakeRequest(kCmdWriteMemory, 1, 500, {0x77})));
    ASSERT_TRUE(Sim().MoveMouse(Port::MouseReceiver));
    EXPECT_FALSE(Sim().IsPlugged(Port::MouseCable));
    auto client = Connect(kReceiverCommand);
    const auto memory = client->Exchange(MakeRequest(kCmdReadMemory, 1, 500));
    ASSERT_TRUE(memory);
    EXPECT_EQ(ReplyData(*memory), std::vector<uint8_t>{0x77});
    const auto status = client->Exchange(MakeRequest(kCmdReadStatus, 4, 0));
    ASSERT_TRUE(status);
    EXPECT_EQ(ReplyData(*status), (std::vector<uint8_t>{80, kOnBattery, 0, 1}));

    ASSERT_TRUE(Sim().MoveMouse(Port::MouseCable));
    EXPECT_TRUE(Sim().IsPlugged(Port::MouseReceiver));
    EXPECT_FALSE(Sim().IsLinked());
}

TEST_F(DevsimTest, ButtonsChangeMemoryAndNotify)
{
    ASSERT_TRUE(Sim().Plug(Port::MouseCable));
    auto listener = Connect(kMouseNotify);
    ASSERT_TRUE(Sim().PressProfileButton(Device::Mouse, 5));
    ASSERT_TRUE(Sim().PressDpiButton(2));
    const auto profile = listener->Next();
    const auto dpi = listener->Next();
    ASSERT_TRUE(profile && dpi);
    EXPECT_EQ(profile->payload.size(), 3u);
    EXPECT_EQ(NotificationCode(*profile), 0x1005);
    EXPECT_EQ(NotificationCode(*dpi), 0x1125);
    EXPECT_EQ(Sim().ReadArea(Device::Mouse, MemoryArea::Settings, 0, 1), std::vector<uint8_t>{5});
    EXPECT_EQ(Sim().ReadArea(Device::Mouse, MemoryArea::Settings, 5 * 128 + 12, 1), std::vector<uint8_t>{2});
    EXPECT_FALSE(Sim().PressProfileButton(Device::Mouse, 16));
}

TEST_F(DevsimTest, NotificationsBackedUpBehindAHostThatPausedReachItWhenItReadsAgain)
{
    ASSERT_TRUE(Sim().Plug(Port::MouseCable));
    auto listener = Connect(kMouseNotify);
    ASSERT_TRUE(listener->Hello());
    // Far more than the socket holds: the rest waits in the simulator.
    constexpr int kNotifications = 3000;
    for (int i = 0; i < kNotifications; ++i)
        ASSERT_TRUE(Sim().Notify(Device::Mouse, static_cast<uint16_t>(i == kNotifications - 1 ? 0x0401 : 0x0403)));
    int received = 0;
    std::optional<vhid::Frame> frame;
    while ((frame = listener->Next(500)) && NotificationCode(*frame) != 0x0401)
        ++received;
    ASSERT_TRUE(frame) << "after " << received << " notifications";
    EXPECT_EQ(received, kNotifications - 1);
}

TEST_F(DevsimTest, HeadsetNotificationsShareItsOnlyCollection)
{
    ASSERT_TRUE(Sim().Plug(Port::Headset));
    auto client = Connect(kHeadset);
    ASSERT_TRUE(Sim().Notify(Device::Headset, 0x0401));
    const auto frame = client->Next();
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->payload.size(), 64u);  // padded to the interface's input length
    EXPECT_EQ(NotificationCode(*frame), 0x0401);
    EXPECT_FALSE(Sim().Notify(Device::Keyboard, 0x0401));  // not plugged
}

TEST_F(DevsimTest, SecondSimulatorCannotTakeAPluggedDevice)
{
    ASSERT_TRUE(Sim().Plug(Port::MouseCable));
    devsim::CDeviceSimulator intruder(Sim().BusDirectory());
    ASSERT_TRUE(intruder.Start());
    EXPECT_FALSE(intruder.Plug(Port::MouseCable));
    intruder.Stop();
    auto client = Connect(kMouseCommand);
    EXPECT_TRUE(client->Exchange(MakeRequest(kCmdReadStatus, 2, 0)));
}
