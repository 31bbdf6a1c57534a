// CHidDevice on the virtual HID bus, against small device stubs.

#include "transport/hid_device.h"
#include "transport/vhid_device_stub.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

namespace {

using namespace std::chrono_literals;

const std::string kVendorName = "hid#vid_320f&pid_22a9&mi_01&col02#stub-1";
const std::string kVendorPath = "vhid:" + kVendorName;

std::vector<uint8_t> CommandReport(uint8_t marker)
{
    std::vector<uint8_t> report(64, 0);
    report[0] = 4;
    report[3] = marker;
    return report;
}

class VirtualBusTest : public testing::Test {
protected:
    VhidDeviceStub& AddDevice(const std::string& name, VhidDeviceStub::Mode mode = VhidDeviceStub::Mode::kEcho)
    {
        devices_.push_back(std::make_unique<VhidDeviceStub>(bus_.Path(), name, VhidDeviceStub::VendorHello(), mode));
        return *devices_.back();
    }
    // Waits until the stub has seen the frames the host sent.
    std::vector<vhid::Frame> ReceivedBy(VhidDeviceStub& device, size_t atLeast)
    {
        for (int i = 0; i < 200 && device.Received().size() < atLeast; ++i)
            std::this_thread::sleep_for(5ms);
        return device.Received();
    }

    TempBusDirectory bus_;
    std::vector<std::unique_ptr<VhidDeviceStub>> devices_;
    CHidDevice hid_;
};

TEST(VirtualBusNames, SocketNamesFollowTheWindowsInterfacePathForm)
{
    const std::pair<const char*, bool> cases[] = {
        {"hid#vid_320f&pid_22a9&mi_01&col02#sim-mouse-1", true},
        {"hid#vid_320f&pid_22a9&mi_01#a_b.c-9", true},
        {"hid#vid_320f&pid_22a9&col0a#x", true},
        {"hid#vid_0c76&pid_1630#", true},  // any text of the instance charset, none included
        {"HID#VID_320F&PID_22A9#sim", false},
        {"hid#vid_320f&pid_22a9#Sim", false},
        {"hid#vid_320f&pid_22a9&col02&mi_01#sim", false},
        {"hid#vid_320&pid_22a9#sim", false},
        {"hid#vid_320f&pid_22a9&mi_1#sim", false},
        {"hid#vid_320f&pid_22a9&col002#sim", false},
        {"hid#vid_320f&pid_22a9#sim#1", false},
        {"hid#vid_320f&pid_22a9#sim&1", false},
        {"hid#vid_320f&pid_22a9#sim 1", false},
        {"hid#vid_320f&pid_22a9", false},
        {"x-hid#vid_320f&pid_22a9#sim", false},
    };
    for (const auto& [name, valid] : cases)
        EXPECT_EQ(vhid::IsInterfaceName(name), valid) << name;
    EXPECT_EQ(vhid::InterfaceName(0x0C76, 0x1630, 3, -1, "sim-headset-1"), "hid#vid_0c76&pid_1630&mi_03#sim-headset-1");
    EXPECT_EQ(vhid::InterfaceName(0x320F, 0x22AA, -1, 10, "r"), "hid#vid_320f&pid_22aa&col0a#r");
}

TEST(VirtualBusEnumerate, NoBusDirectoryMeansNoInterface)
{
    ::setenv("KESTROVA_VHID_DIR", "/nonexistent/kestrova-vhid", 1);
    CHidDevice hid;
    EXPECT_TRUE(hid.Enumerate());
    EXPECT_EQ(hid.NextPath(), nullptr);
    EXPECT_FALSE(hid.Open("vhid:hid#vid_320f&pid_22a9#gone", true, false, true, false));
    EXPECT_FALSE(hid.IsOpen());
    ::unsetenv("KESTROVA_VHID_DIR");
}

TEST_F(VirtualBusTest, EnumerateListsEverySocketInNameOrderAndSkipsOtherFiles)
{
    std::vector<std::string> expected;
    for (int i = 11; i >= 0; --i)
        AddDevice(vhid::InterfaceName(0x320F, 0x22A9, 1, i, "stub"), VhidDeviceStub::Mode::kSilent);
    for (int i = 0; i < 12; ++i)
        expected.push_back("vhid:" + vhid::InterfaceName(0x320F, 0x22A9, 1, i, "stub"));
    FILE* plain = std::fopen((bus_.Path() + "/hid#vid_1111&pid_2222#plain-file").c_str(), "w");
    std::fclose(plain);
    AddDevice("not-an-interface", VhidDeviceStub::Mode::kSilent);

    ASSERT_TRUE(hid_.Enumerate());
    EXPECT_EQ(hid_.PathCount(), expected.size());
    for (const std::string& path : expected) {
        const char* next = hid_.NextPath();
        ASSERT_NE(next, nullptr);
        EXPECT_EQ(next, path);
    }
    EXPECT_EQ(hid_.NextPath(), nullptr);
    hid_.ClearPaths();
    EXPECT_EQ(hid_.NextPath(), nullptr);
}

TEST_F(VirtualBusTest, OpenTakesAttributesCapabilitiesAndPathNumbersFromHello)
{
    AddDevice(kVendorName);
    ASSERT_TRUE(hid_.Open(kVendorPath.c_str(), true, true, true, false));
    EXPECT_EQ(hid_.Attributes().vendorId, 0x320F);
    EXPECT_EQ(hid_.Attributes().productId, 0x22A9);
    EXPECT_EQ(hid_.Attributes().versionNumber, 0x0105);
    EXPECT_EQ(hid_.Caps().usagePage, 0xFF00);
    EXPECT_EQ(hid_.Caps().usage, 0x0001);
    EXPECT_EQ(hid_.Caps().inputReportByteLength, 64);
    EXPECT_EQ(hid_.Caps().outputReportByteLength, 64);
    EXPECT_EQ(hid_.Caps().featureReportByteLength, 0);
    EXPECT_EQ(hid_.InterfaceNumber(), 1u);
    EXPECT_EQ(hid_.CollectionNumber(), 2u);
    EXPECT_EQ(hid_.OpenPath(), kVendorPath);
    ASSERT_NE(hid_.ReportBuffer(HidP_Input), nullptr);
    EXPECT_EQ(hid_.ReportBuffer(HidP_Feature), nullptr);
    EXPECT_EQ(hid_.DataItemCount(HidP_Input), 1u);  // one usage over 63 bytes
}

TEST_F(VirtualBusTest, WriteThenReadEchoesTheReport)
{
    AddDevice(kVendorName);
    ASSERT_TRUE(hid_.Open(kVendorPath.c_str(), true, true, true, false));
    const std::vector<uint8_t> request = CommandReport(0x42);
    uint32_t written = 99;
    ASSERT_TRUE(hid_.Write(request.data(), 64, &written, 1000));
    EXPECT_EQ(written, 64u);
    std::vector<uint8_t> reply(64, 0);
    uint32_t read = 0;
    ASSERT_TRUE(hid_.Read(reply.data(), 64, &read, 1000));
    EXPECT_EQ(read, 64u);
    EXPECT_EQ(reply, request);
}

TEST_F(VirtualBusTest, ShortReadTakesTheFirstBytesAndDropsTheRestOfTheReport)
{
    VhidDeviceStub& device = AddDevice(kVendorName, VhidDeviceStub::Mode::kSilent);
    ASSERT_TRUE(hid_.Open(kVendorPath.c_str(), true, false, true, false));
    device.SendInputToAll(CommandReport(1));
    device.SendInputToAll(CommandReport(2));
    uint8_t head[4] = {};
    uint32_t read = 0;
    ASSERT_TRUE(hid_.Read(head, sizeof head, &read, 1000));
    EXPECT_EQ(read, 4u);
    EXPECT_EQ(head[3], 1);
    ASSERT_TRUE(hid_.Read(head, sizeof head, &read, 1000));
    EXPECT_EQ(head[3], 2);
}

TEST_F(VirtualBusTest, ReadOnlyHandleRefusesWriteWithoutSendingAnything)
{
    VhidDeviceStub& device = AddDevice(kVendorName);
    ASSERT_TRUE(hid_.Open(kVendorPath.c_str(), true, false, true, false));
    const std::vector<uint8_t> request = CommandReport(1);
    uint32_t written = 7;
    EXPECT_FALSE(hid_.Write(request.data(), 64, &written, 100));
    EXPECT_EQ(written, 0u);
    EXPECT_FALSE(hid_.SetOutputReport(request.data(), 64));
    hid_.Close();
    EXPECT_TRUE(device.Received().empty());
}

TEST_F(VirtualBusTest, WriteShorterThanTheOutputReportFails)
{
    AddDevice(kVendorName);
    ASSERT_TRUE(hid_.Open(kVendorPath.c_str(), true, true, true, false));
    const std::vector<uint8_t> request = CommandReport(1);
    EXPECT_FALSE(hid_.Write(request.data(), 63, nullptr, 100));
}

TEST_F(VirtualBusTest, TimeOutThenAFreshReadGetsTheNextReport)
{
    VhidDeviceStub& device = AddDevice(kVendorName, VhidDeviceStub::Mode::kSilent);
    ASSERT_TRUE(hid_.Open(kVendorPath.c_str(), true, true, true, false));
    std::vector<uint8_t> reply(64, 0);
    uint32_t read = 5;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(hid_.Read(reply.data(), 64, &read, 50));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 50ms);
    EXPECT_EQ(read, 0u);
    device.SendInputToAll(CommandReport(9));
    ASSERT_TRUE(hid_.Read(reply.data(), 64, &read, 1000));
    EXPECT_EQ(reply[3], 9);
}

// Close, Open and the destructor from another thread end a read without time-out.
enum class Interruption { kClose, kOpen, kDestroy };

class ReadInterruptionTest : public VirtualBusTest, public testing::WithParamInterface<Interruption> {};

TEST_P(ReadInterruptionTest, BlockedReadWakesAndFailsWithCountZero)
{
    AddDevice(kVendorName, VhidDeviceStub::Mode::kSilent);
    auto hid = std::make_unique<CHidDevice>();
    ASSERT_TRUE(hid->Open(kVendorPath.c_str(), true, true, true, false));
    uint8_t* buffer = hid->ReportBuffer(HidP_Input);
    CHidDevice* device = hid.get();
    std::promise<void> started;
    auto reader = std::async(std::launch::async, [&] {
        uint32_t read = 77;
        started.set_value();
        const int result = device->Read(buffer, 64, &read, -1);
        return std::make_pair(result, read);
    });
    started.get_future().wait();
    std::this_thread::sleep_for(20ms);  // let the read block
    switch (GetParam()) {
    case Interruption::kClose:
        hid->Close();
        EXPECT_FALSE(hid->IsOpen());
        break;
    case Interruption::kOpen:
        EXPECT_TRUE(hid->Open(kVendorPath.c_str(), true, true, true, false));
        break;
    case Interruption::kDestroy:
        hid.reset();
        break;
    }
    ASSERT_EQ(reader.wait_for(2s), std::future_status::ready);
    const auto [result, read] = reader.get();
    EXPECT_EQ(result, 0);
    EXPECT_EQ(read, 0u);
}

INSTANTIATE_TEST_SUITE_P(Interruptions, ReadInterruptionTest,
                         testing::Values(Interruption::kClose, Interruption::kOpen, Interruption::kDestroy));

TEST_F(VirtualBusTest, WriteToADeviceThatReadsNothingTimesOutAndCloseWakesABlockedWrite)
{
    AddDevice(kVendorName, VhidDeviceStub::Mode::kDeaf);
    ASSERT_TRUE(hid_.Open(kVendorPath.c_str(), true, true, true, false));
    const std::vector<uint8_t> request = CommandReport(1);
    int accepted = 0;
    while (accepted < 100000 && hid_.Write(request.data(), 64, nullptr, 10))
        ++accepted;
    ASSERT_LT(accepted, 100000);
    auto writer = std::async(std::launch::async, [&] {
        uint32_t written = 5;
        const int result = hid_.Write(request.data(), 64, &written, -1);
        return std::make_pair(result, written);
    });
    std::this_thread::sleep_for(20ms);
    hid_.Close();
    ASSERT_EQ(writer.wait_for(2s), std::future_status::ready);
    const auto [result, written] = writer.get();
    EXPECT_EQ(result, 0);
    EXPECT_EQ(written, 0u);
}

TEST_F(VirtualBusTest, DeviceLeavingEndsABlockedReadAndLaterOpensFail)
{
    VhidDeviceStub& device = AddDevice(kVendorName, VhidDeviceStub::Mode::kSilent);
    ASSERT_TRUE(hid_.Open(kVendorPath.c_str(), true, true, true, false));
    auto reader = std::async(std::launch::async, [&] {
        uint8_t buffer[64];
        return hid_.Read(buffer, 64, nullptr, -1);
    });
    std::this_thread::sleep_for(20ms);
    device.DropConnections();
    ASSERT_EQ(reader.wait_for(2s), std::future_status::ready);
    EXPECT_EQ(reader.get(), 0);
    const std::vector<uint8_t> request = CommandReport(1);
    EXPECT_FALSE(hid_.Write(request.data(), 64, nullptr, 100));
    devices_.clear();
    EXPECT_FALSE(hid_.Open(kVendorPath.c_str(), true, true, true, false));
}

TEST_F(VirtualBusTest, ReportsKeptBeforeTheDeviceLeftAreStillRead)
{
    VhidDeviceStub& device = AddDevice(kVendorName, VhidDeviceStub::Mode::kSilent);
    ASSERT_TRUE(hid_.Open(kVendorPath.c_str(), true, false, true, false));
    device.SendInputToAll(CommandReport(3));
    device.DropConnections();
    uint8_t buffer[64];
    ASSERT_TRUE(hid_.Read(buffer, 64, nullptr, 1000));
    EXPECT_EQ(buffer[3], 3);
    EXPECT_FALSE(hid_.Read(buffer, 64, nullptr, 1000));
}

TEST_F(VirtualBusTest, ReadTellsATimeOutFromADeviceThatLeft)
{
    VhidDeviceStub& device = AddDevice(kVendorName, VhidDeviceStub::Mode::kSilent);
    ASSERT_TRUE(hid_.Open(kVendorPath.c_str(), true, false, true, false));
    uint8_t buffer[64];
    EXPECT_EQ(hid_.ReadInput(buffer, 64, nullptr, 20), HidReadOutcome::kTimedOut);
    device.DropConnections();
    EXPECT_EQ(hid_.ReadInput(buffer, 64, nullptr, 1000), HidReadOutcome::kGone);
    hid_.Close();
    EXPECT_EQ(hid_.ReadInput(buffer, 64, nullptr, 20), HidReadOutcome::kGone);
}

// Greetings a host must not accept as an interface.
TEST_F(VirtualBusTest, BrokenGreetingFailsOpen)
{
    const std::vector<std::vector<uint8_t>> greetings = {
        {},                                                            // never answers
        vhid::EncodeFrame(vhid::kHello, std::vector<uint8_t>(15, 0)),  // HELLO short of 16 bytes
        vhid::EncodeFrame(vhid::kInput, CommandReport(1)),             // no HELLO first
        {vhid::kHello, 0x01, 0x10},                                    // announces 4097 bytes
    };
    for (size_t i = 0; i < greetings.size(); ++i) {
        const std::string name = vhid::InterfaceName(0x320F, 0x22A9, -1, -1, "broken" + std::to_string(i));
        AddDevice(name).SetGreeting(greetings[i]);
        EXPECT_FALSE(hid_.Open(("vhid:" + name).c_str(), true, true, true, false)) << "greeting " << i;
        EXPECT_FALSE(hid_.IsOpen());
    }
}

TEST_F(VirtualBusTest, UnknownFramesAreIgnoredAndOversizedFramesCloseTheConnection)
{
    VhidDeviceStub& device = AddDevice(kVendorName, VhidDeviceStub::Mode::kSilent);
    ASSERT_TRUE(hid_.Open(kVendorPath.c_str(), true, true, true, false));
    device.SendToAll(vhid::EncodeFrame(0x7E, std::vector<uint8_t>{1, 2, 3}));
    device.SendToAll(vhid::EncodeFrame(vhid::kAck, std::vector<uint8_t>{1}));
    device.SendInputToAll(CommandReport(5));
    uint8_t buffer[64];
    ASSERT_TRUE(hid_.Read(buffer, 64, nullptr, 1000));
    EXPECT_EQ(buffer[3], 5);

    device.SendToAll({vhid::kInput, 0xFF, 0xFF});
    EXPECT_FALSE(hid_.Read(buffer, 64, nullptr, 1000));
    const std::vector<uint8_t> request = CommandReport(1);
    EXPECT_FALSE(hid_.Write(request.data(), 64, nullptr, 100));
}

TEST_F(VirtualBusTest, SetOutputReportWaitsForTheAcknowledgement)
{
    VhidDeviceStub& device = AddDevice(kVendorName);
    ASSERT_TRUE(hid_.Open(kVendorPath.c_str(), true, true, true, false));
    const std::vector<uint8_t> report = CommandReport(0x22);
    EXPECT_TRUE(hid_.SetOutputReport(report.data(), 64));
    const auto received = ReceivedBy(device, 1);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].type, vhid::kSetOutput);
    EXPECT_EQ(received[0].payload, report);
}

// A report shorter than the longest output report (the headset's 17-byte light
// report) goes as it is; a longer buffer is cut to the output report length.
TEST_F(VirtualBusTest, SetOutputReportSendsTheReportItIsGiven)
{
    VhidDeviceStub& device = AddDevice(kVendorName);
    ASSERT_TRUE(hid_.Open(kVendorPath.c_str(), true, true, true, false));
    std::vector<uint8_t> buffer = CommandReport(0x22);
    buffer.resize(80, 0xEE);
    const std::pair<uint32_t, size_t> cases[] = {{17, 17}, {64, 64}, {80, 64}, {1, 1}};
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto [given, sent] = cases[i];
        ASSERT_TRUE(hid_.SetOutputReport(buffer.data(), given)) << given;
        const auto received = ReceivedBy(device, i + 1);
        ASSERT_EQ(received.size(), i + 1);
        EXPECT_EQ(received[i].payload, std::vector<uint8_t>(buffer.begin(), buffer.begin() + sent)) << given;
    }
    EXPECT_FALSE(hid_.SetOutputReport(buffer.data(), 0));
}

TEST_F(VirtualBusTest, SetOutputReportFailsWhenTheDeviceRefusesOrIsSilent)
{
    VhidDeviceStub& device = AddDevice(kVendorName, VhidDeviceStub::Mode::kSilent);
    ASSERT_TRUE(hid_.Open(kVendorPath.c_str(), true, true, true, false));
    const std::vector<uint8_t> report = CommandReport(0x22);
    EXPECT_FALSE(hid_.SetOutputReport(report.data(), 64));
    device.SendToAll(vhid::EncodeFrame(vhid::kAck, std::vector<uint8_t>{0}));
    ReceivedBy(device, 1);
    // The late refusal answers the first request, not the next one.
    std::thread refuser([&] {
        ReceivedBy(device, 2);
        device.SendToAll(vhid::EncodeFrame(vhid::kAck, std::vector<uint8_t>{0}));
    });
    EXPECT_FALSE(hid_.SetOutputReport(report.data(), 64));
    refuser.join();
}

TEST_F(VirtualBusTest, LateAcknowledgementWaitingUnreadIsNotTakenForTheNextRequest)
{
    VhidDeviceStub& device = AddDevice(kVendorName, VhidDeviceStub::Mode::kSilent);
    ASSERT_TRUE(hid_.Open(kVendorPath.c_str(), true, true, true, false));
    const std::vector<uint8_t> report = CommandReport(0x22);
    EXPECT_FALSE(hid_.SetOutputReport(report.data(), 64));
    // Arrives after the time-out and waits on the connection, unread.
    device.SendToAll(vhid::EncodeFrame(vhid::kAck, std::vector<uint8_t>{0}));
    std::thread acceptor([&] {
        ReceivedBy(device, 2);
        device.SendToAll(vhid::EncodeFrame(vhid::kAck, std::vector<uint8_t>{1}));
    });
    EXPECT_TRUE(hid_.SetOutputReport(report.data(), 64));
    acceptor.join();
}

TEST_F(VirtualBusTest, MalformedAcknowledgementsAreIgnored)
{
    VhidDeviceStub& device = AddDevice(kVendorName, VhidDeviceStub::Mode::kSilent);
    ASSERT_TRUE(hid_.Open(kVendorPath.c_str(), true, true, true, false));
    std::thread answerer([&] {
        ReceivedBy(device, 1);
        device.SendToAll(vhid::EncodeFrame(vhid::kAck, std::vector<uint8_t>{}));
        device.SendToAll(vhid::EncodeFrame(vhid::kAck, std::vector<uint8_t>{0, 0}));
        device.SendInputToAll({});
        device.SendToAll(vhid::EncodeFrame(vhid::kAck, std::vector<uint8_t>{1}));
    });
    const std::vector<uint8_t> report = CommandReport(0x22);
    EXPECT_TRUE(hid_.SetOutputReport(report.data(), 64));
    answerer.join();
}

TEST_F(VirtualBusTest, FlushQueueDropsKeptReports)
{
    VhidDeviceStub& device = AddDevice(kVendorName, VhidDeviceStub::Mode::kSilent);
    ASSERT_TRUE(hid_.Open(kVendorPath.c_str(), true, true, true, false));
    device.SendInputToAll(CommandReport(1));
    device.SendInputToAll(CommandReport(2));
    std::this_thread::sleep_for(20ms);
    ASSERT_TRUE(hid_.FlushQueue());
    uint8_t buffer[64];
    EXPECT_FALSE(hid_.Read(buffer, 64, nullptr, 30));
}

TEST_F(VirtualBusTest, EveryHandleGetsItsOwnCopyOfAReport)
{
    VhidDeviceStub& device = AddDevice(kVendorName, VhidDeviceStub::Mode::kSilent);
    CHidDevice other;
    ASSERT_TRUE(hid_.Open(kVendorPath.c_str(), true, false, true, false));
    ASSERT_TRUE(other.Open(kVendorPath.c_str(), true, true, true, false));
    device.SendInputToAll(CommandReport(6));
    uint8_t buffer[64];
    ASSERT_TRUE(hid_.Read(buffer, 64, nullptr, 1000));
    EXPECT_EQ(buffer[3], 6);
    ASSERT_TRUE(other.Read(buffer, 64, nullptr, 1000));
    EXPECT_EQ(buffer[3], 6);
}

TEST_F(VirtualBusTest, ExclusiveHandleSharesReadingOnly)
{
    AddDevice(kVendorName);
    CHidDevice other;
    ASSERT_TRUE(hid_.Open(kVendorPath.c_str(), true, true, true, true));
    EXPECT_FALSE(other.Open(kVendorPath.c_str(), true, true, true, false));
    EXPECT_TRUE(other.Open(kVendorPath.c_str(), true, false, true, false));
    hid_.Close();
    EXPECT_TRUE(other.Open(kVendorPath.c_str(), true, true, true, false));
    EXPECT_FALSE(hid_.Open(kVendorPath.c_str(), true, false, true, true));
}

TEST_F(VirtualBusTest, OperationsOnAClosedObjectFail)
{
    uint8_t buffer[64] = {};
    uint32_t count = 3;
    EXPECT_EQ(hid_.Read(buffer, 64, &count, 10), 0);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(hid_.Write(buffer, 64, &count, 10), 0);
    EXPECT_FALSE(hid_.SetOutputReport(buffer, 64));
    EXPECT_FALSE(hid_.FlushQueue());
    EXPECT_EQ(hid_.DataItems(HidP_Input), nullptr);
}

}  // namespace
