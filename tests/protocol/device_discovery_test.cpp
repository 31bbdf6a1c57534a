// Discovery against devices on a bus of the test's own.

#include "protocol/fake_device.h"
#include "protocol/recording_sink.h"
#include "protocol/temp_bus.h"
#include "transport/device_discovery.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr uint16_t kVendor = 0x320F;

class DiscoveryTest : public ::testing::Test {
protected:
    FakeDevice& Plug(uint16_t product, int interfaceNumber, int collection, const vhid::Hello& hello,
                     const std::string& instance = "test")
    {
        const std::string name = vhid::InterfaceName(kVendor, product, interfaceNumber, collection, instance);
        devices_.push_back(std::make_unique<FakeDevice>(bus_.Directory(), name, hello));
        return *devices_.back();
    }

    // A device's control and notification interfaces.
    void PlugPair(uint16_t product, int controlInterface, int controlCollection, int notifyInterface,
                  int notifyCollection)
    {
        Plug(product, controlInterface, controlCollection, ControlHello(kVendor, product));
        Plug(product, notifyInterface, notifyCollection, NotificationHello(kVendor, product, 3));
    }

    void UnplugAll() { devices_.clear(); }

    TempBus bus_;
    std::vector<std::unique_ptr<FakeDevice>> devices_;
    CSlotList slots_;
    RecordingSink sink_;
    CDeviceDiscovery discovery_{slots_, sink_};
};

TEST_F(DiscoveryTest, FirstPassIsReportedOnceEvenWithNothingAttached)
{
    discovery_.RunPass();
    discovery_.RunPass();
    EXPECT_EQ(sink_.Take(), (std::vector<Event>{{'F', -1}}));
}

TEST_F(DiscoveryTest, MouseOnItsCableAndReceiverClaimTheirSlots)
{
    PlugPair(0x22A9, 1, 2, 0, 3);
    PlugPair(0x22AA, 1, 4, 1, 3);
    discovery_.RunPass();
    EXPECT_EQ(Sorted(sink_.Take()), (std::vector<Event>{{'A', 4}, {'A', 5}, {'A', 6}, {'A', 7}, {'F', -1}}));
    EXPECT_TRUE(slots_.IsPartnerConnected(4));
    EXPECT_TRUE(slots_.IsPartnerConnected(7));
    EXPECT_EQ(slots_.Slot(4).path, devices_[0]->HidPath());
}

TEST_F(DiscoveryTest, UnknownNumbersAreNeverOpened)
{
    FakeDevice& stranger = Plug(0x22A9, 0, 2, ControlHello(kVendor, 0x22A9));
    discovery_.RunPass();
    EXPECT_EQ(stranger.AcceptedCount(), 0u);
    EXPECT_EQ(sink_.Take(), (std::vector<Event>{{'F', -1}}));
}

TEST_F(DiscoveryTest, WrongUsageIsProbedNotClaimedAndClosed)
{
    vhid::Hello mouseCollection = ControlHello(kVendor, 0x22AA);
    mouseCollection.usagePage = 0x0001;
    mouseCollection.usage = 0x0002;
    FakeDevice& probed = Plug(0x22AA, 1, 4, mouseCollection);
    discovery_.RunPass();
    EXPECT_EQ(probed.AcceptedCount(), 1u);
    EXPECT_TRUE(probed.WaitForOpenCount(0));
    EXPECT_EQ(sink_.Take(), (std::vector<Event>{{'F', -1}}));
    EXPECT_EQ(slots_.Slot(6).connected, 0);
}

TEST_F(DiscoveryTest, PulledDeviceReleasesEachSlotInOrderWithinOnePass)
{
    PlugPair(0x22A9, 1, 2, 0, 3);
    discovery_.RunPass();
    sink_.Take();
    UnplugAll();
    discovery_.RunPass();
    EXPECT_EQ(sink_.Take(), (std::vector<Event>{{'R', 4}, {'R', 5}}));
    EXPECT_TRUE(slots_.Slot(4).path.empty());
    discovery_.RunPass();
    EXPECT_TRUE(sink_.Take().empty());
}

// A socket that takes connections but never greets: a device too slow to
// say HELLO within the open's time-out.
class SilentInterface {
public:
    explicit SilentInterface(const std::string& socketPath) : path_(socketPath)
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path_.copy(address.sun_path, sizeof address.sun_path - 1);
        fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        listening_ = fd_ >= 0 && ::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
                     ::listen(fd_, 4) == 0;
    }
    ~SilentInterface()
    {
        ::close(fd_);
        ::unlink(path_.c_str());
    }
    bool Listening() const { return listening_; }

private:
    std::string path_;
    int fd_ = -1;
    bool listening_ = false;
};

TEST_F(DiscoveryTest, SlowDeviceKeepsItsSlotUntilItsSocketGoes)
{
    const std::string name = vhid::InterfaceName(kVendor, 0x22A9, 1, 2, "slow");
    auto slow = std::make_unique<SilentInterface>(bus_.Directory() + "/" + name);
    ASSERT_TRUE(slow->Listening());
    DeviceRecord probe = ProbeFromPath(("vhid:" + name).c_str());
    probe.usagePage = 0xFF1C;
    probe.usage = 0x0092;
    int slot = -1;
    ASSERT_TRUE(slots_.ClaimSlot(probe, &slot));
    discovery_.RunPass();
    EXPECT_EQ(sink_.Take(), (std::vector<Event>{{'F', -1}}));
    slow.reset();
    discovery_.RunPass();
    EXPECT_EQ(sink_.Take(), (std::vector<Event>{{'R', slot}}));
}

TEST_F(DiscoveryTest, OneKeyboardTakesItsSecondSlotsOnTheSecondPass)
{
    PlugPair(0x0000, 1, 4, 0, 3);
    discovery_.RunPass();
    EXPECT_EQ(Sorted(sink_.Take()), (std::vector<Event>{{'A', 0}, {'A', 1}, {'F', -1}}));
    discovery_.RunPass();
    EXPECT_EQ(Sorted(sink_.Take()), (std::vector<Event>{{'A', 2}, {'A', 3}}));
    discovery_.RunPass();
    EXPECT_TRUE(sink_.Take().empty());
    UnplugAll();
    discovery_.RunPass();
    EXPECT_EQ(sink_.Take(), (std::vector<Event>{{'R', 0}, {'R', 1}, {'R', 2}, {'R', 3}}));
}

TEST_F(DiscoveryTest, ThreadReportsAndEndsWhenItsStopEventIsSet)
{
    PlugPair(0x1004, 1, 4, 0, 3);
    CStopEvent stop;
    int exitCode = -1;
    std::thread thread([&] { exitCode = DeviceDiscoveryThread(slots_, sink_, stop); });
    // The first pass is reported after its arrivals.
    EXPECT_TRUE(sink_.WaitFor({'F', -1}));
    stop.Set();
    thread.join();
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(Sorted(sink_.Take()), (std::vector<Event>{{'A', 8}, {'A', 9}, {'F', -1}}));
}

}  // namespace
