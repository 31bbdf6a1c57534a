// The mouse's device logic against the simulated mouse, on its cable and
// through its receiver.

#include "devices/mouse/mouse_device_core.h"
#include "profiles/profile_paths.h"
#include "protocol/recording_sink.h"
#include "protocol/simulated_mouse.h"
#include "protocol/temp_bus.h"
#include "tools/devsim/simulator.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>
#include <iterator>

namespace {

using devsim::Device;
using devsim::MemoryArea;

class MouseCoreTest : public ::testing::TestWithParam<MouseConnection> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim_.Start());
        ASSERT_TRUE(folder_.isValid());
        profilePath_ = folder_.path().toStdString() + "/p.Json";
        profile_.SetDefaultProfilePath(DefaultProfilePath(kMouseFamilyName));
        profile_.SetProfilePath(profilePath_);
        profile_.LoadProfile(profilePath_);
    }

    void Open() { OpenSimulatedMouse(sim_, discovery_, slots_, channel_, GetParam().receiver); }

    std::vector<uint8_t> Area(MemoryArea area, size_t offset, size_t length) const
    {
        return sim_.ReadArea(Device::Mouse, area, offset, length).value_or(std::vector<uint8_t>{});
    }
    void Put(MemoryArea area, size_t offset, std::vector<uint8_t> bytes)
    {
        ASSERT_TRUE(sim_.WriteArea(Device::Mouse, area, offset, bytes));
    }
    std::string ProfileFile() const
    {
        std::ifstream in(profilePath_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    TempBus bus_;
    devsim::CDeviceSimulator sim_{bus_.Directory()};
    CSlotList slots_;
    RecordingSink sink_;
    CDeviceDiscovery discovery_{slots_, sink_};
    CCommandChannel channel_;
    CMouseDeviceCore core_{channel_};
    QTemporaryDir folder_;
    std::string profilePath_;
    CMouseProfiledata profile_;
    DefaultLightNames lightNames_ = ReadDefaultLightNames(DefaultLightNamesPath(), kMouseSlot);
};

TEST_P(MouseCoreTest, FreshMouseIsSetUpAndItsKeysFound)
{
    Open();
    ASSERT_EQ(Area(MemoryArea::Info, kInfoSetUpMarker, 1), std::vector<uint8_t>{kInfoSetUpNew});
    ASSERT_EQ(core_.ReadDeviceData(), DeviceDataOutcome::kComplete);
    EXPECT_EQ(Area(MemoryArea::Info, kInfoSetUpMarker, 1), std::vector<uint8_t>{kInfoSetUpDone});
    const std::array<uint8_t, kMouseKeyCount> positions = {0, 1, 2, 4, 3, 5, 6, 7, 8, 9, 10};
    for (size_t key = 0; key < kMouseKeyCount; ++key)
        EXPECT_EQ(core_.KeyTable().Position(key), positions[key]) << "key " << key;
    EXPECT_EQ(core_.Dpi().SliderRange(), (DpiRange{0, 519}));
}

TEST_P(MouseCoreTest, InformationBlocksThatStopTheRead)
{
    struct Case {
        const char* what;
        std::vector<uint8_t> info;  // put at offset 0
        DeviceDataOutcome outcome;
    };
    const Case cases[] = {
        {"set-up marker 0x42", {0xAA, 0x55, 0, 0, 0, 11, 32, 0x42}, DeviceDataOutcome::kNotSetUp},
        {"no magic", {0x00, 0x55, 0, 0, 0, 11, 32, 0x00}, DeviceDataOutcome::kNotSetUp},
        {"200 keys: a key table longer than 512 bytes", {0xAA, 0x55, 0, 0, 0, 200, 32, 0x13},
         DeviceDataOutcome::kKeyTableSkipped},
    };
    Open();
    ASSERT_EQ(core_.ReadDeviceData(), DeviceDataOutcome::kComplete);
    Put(MemoryArea::KeyTable, 0, std::vector<uint8_t>(33, 0));  // a read would lose every key
    for (const Case& c : cases) {
        Put(MemoryArea::Info, 0, c.info);
        EXPECT_EQ(core_.ReadDeviceData(), c.outcome) << c.what;
        EXPECT_EQ(core_.KeyTable().Position(3), 4) << c.what << ": the key map keeps what it held";
        EXPECT_EQ(Area(MemoryArea::Info, 0, c.info.size()), c.info) << c.what << ": nothing set up";
    }
}

TEST_P(MouseCoreTest, KeysAreWrittenWhereTheirDefaultCodesWere)
{
    Open();
    Put(MemoryArea::KeyTable, 9 * kKeyCodeSize, {0x20, 0x00, 0x04});  // key 9's default is nowhere
    ASSERT_EQ(core_.ReadDeviceData(), DeviceDataOutcome::kComplete);
    EXPECT_EQ(core_.KeyTable().Position(9), kKeyNotFound);

    std::vector<KeyListEntry> keys(kMouseKeyCount);
    for (size_t key = 0; key < kMouseKeyCount; ++key) {
        const KeyFunctionCode code{kMouseDefaultKeyCodes[key][0], kMouseDefaultKeyCodes[key][1],
                                   kMouseDefaultKeyCodes[key][2]};
        keys[key] = {static_cast<uint16_t>(key), code, static_cast<uint16_t>(key), code};
    }
    keys[3].assigned = {0x20, 0x00, 0x05};  // key 3 lies at position 4
    keys[9].assigned = {0x20, 0x00, 0x06};
    keys[1].assigned = {kKeyTypeMacroRepeatMode, 5, 2};   // macro 5 is the first used one
    keys[2].assigned = {kKeyTypeMacroRepeatCount, 9, 3};  // there is no macro 9
    const MacroPlace place = [](uint8_t macro) { return macro == 5 ? std::optional<uint8_t>(0) : std::nullopt; };
    ASSERT_EQ(core_.WriteKeyAssignments(keys, place), kResultSuccess);

    const std::vector<uint8_t> table = Area(MemoryArea::KeyTable, 0, 11 * kKeyCodeSize);
    const auto at = [&table](size_t position) {
        return std::vector<uint8_t>(table.begin() + position * 3, table.begin() + position * 3 + 3);
    };
    EXPECT_EQ(at(4), (std::vector<uint8_t>{0x20, 0x00, 0x05}));
    EXPECT_EQ(at(9), (std::vector<uint8_t>{0x20, 0x00, 0x04})) << "a key without a place is not written";
    EXPECT_EQ(at(1), (std::vector<uint8_t>{kKeyTypeMacroRepeatMode, 0, 2}));
    EXPECT_EQ(at(2), (std::vector<uint8_t>{0x10, 0x04, 0x00}));
    EXPECT_EQ(at(3), (std::vector<uint8_t>{0x10, 0x08, 0x00}));
}

TEST_P(MouseCoreTest, KeysAreNotWrittenBeforeTheKeyTableWasRead)
{
    Open();
    const std::vector<uint8_t> before = Area(MemoryArea::KeyTable, 0, 512);
    std::vector<KeyListEntry> keys(kMouseKeyCount);
    EXPECT_EQ(core_.WriteKeyAssignments(keys), kResultNoReply);
    EXPECT_EQ(Area(MemoryArea::KeyTable, 0, 512), before);
    for (size_t key = 0; key < kMouseKeyCount; ++key)
        EXPECT_EQ(core_.KeyTable().Position(key), kKeyNotFound);
}

TEST_P(MouseCoreTest, ReadSettingsTakesTheCurrentProfilesBlockIntoTheProfile)
{
    Open();
    Put(MemoryArea::Settings, kMouseCurrentProfile, {3});
    Put(MemoryArea::Settings, 3 * kMouseProfileSpan + kBlockSpeed, {0});
    Put(MemoryArea::Settings, 3 * kMouseProfileSpan + kBlockActiveDpiStage, {9});
    ASSERT_EQ(core_.ReadSettings(profile_, lightNames_), kResultSuccess);
    EXPECT_EQ(core_.CurrentProfile(), 3);

    CMouseProfiledata saved;
    saved.LoadProfile(profilePath_);
    const LightInfoRecord light = saved.ReadLightInfo();
    EXPECT_EQ(light.selectItem, 3);  // the factory block of profile 3
    EXPECT_EQ(light.speed, 4);
    EXPECT_EQ(light.red, 255);
    saved.ReadDpiStages();
    EXPECT_EQ(saved.GetActiveDpiStage(), 0) << "stage 9 is out of range";
    const MouseSettings settings = saved.ReadMouseSettings();
    EXPECT_EQ(settings[kReportRate], 3);
    EXPECT_EQ(settings[kDeviceSleep2], 10);
    EXPECT_EQ(settings[kLogoLedMode], 1);
}

TEST_P(MouseCoreTest, FailedSettingsReadLeavesBlockAndProfileAlone)
{
    Open();
    ASSERT_EQ(core_.ReadSettings(profile_, lightNames_), kResultSuccess);
    const MouseSettingsBlock block = core_.Block();
    Put(MemoryArea::Settings, kMouseCurrentProfile, {1});
    Put(MemoryArea::Settings, kMouseProfileSpan + kBlockReportRate, {0});
    const std::string file = ProfileFile();
    for (const int failing : {1, 2}) {
        sim_.FailNth(Device::Mouse, kCmdReadMemory, failing, kStatusRefused);
        EXPECT_EQ(core_.ReadSettings(profile_, lightNames_), kResultStatusRefused) << "read " << failing;
        sim_.ClearFaults(Device::Mouse);
        EXPECT_EQ(core_.Block(), block);
        EXPECT_EQ(core_.CurrentProfile(), 0);
        EXPECT_EQ(ProfileFile(), file);
        EXPECT_EQ(profile_.ReadMouseSettings()[kReportRate], 3);
    }
}

TEST_P(MouseCoreTest, WriteSettingsPutsTheProfileWhereTheLayoutSaysAndReportsFailures)
{
    Open();
    ASSERT_EQ(core_.ReadSettings(profile_, lightNames_), kResultSuccess);
    LightInfoRecord light = profile_.ReadLightInfo();
    light.selectItem = 13;
    light.speed = 1;
    profile_.WriteLightInfo(light);
    profile_.WriteActiveDpiStage(4);
    MouseSettings settings = profile_.ReadMouseSettings();
    settings[kSilentAltitude] = 1;
    settings[kBleSleep2] = 42;
    profile_.WriteMouseSettings(settings);
    std::vector<DpiStage> stages = profile_.ReadDpiStages();
    ASSERT_FALSE(stages.empty());
    stages[0].dpiX = 31;
    profile_.WriteDpiStages(stages);

    ASSERT_EQ(core_.WriteSettings(profile_, 0, 0), kResultSuccess);
    const std::vector<uint8_t> block = Area(MemoryArea::Settings, 0, kMouseSettingsSize);
    EXPECT_EQ(block[kBlockLightEffect], 0) << "custom effect 13";
    EXPECT_EQ(block[kBlockSpeed], 3);
    EXPECT_EQ(block[kBlockActiveDpiStage], 4);
    EXPECT_EQ(block[kBlockLiftOff], 1);
    EXPECT_EQ(block[kBlockBleSleep2], 42);
    EXPECT_EQ(GetU16(block.data(), DpiStageOffset(0) + kStageCodeX), 31);

    sim_.FailNth(Device::Mouse, kCmdWriteMemory, 1, kStatusRefused);
    EXPECT_EQ(core_.WriteSettings(profile_, 0, 0), kResultStatusRefused);
    sim_.FailNth(Device::Mouse, kCmdEndConfig, 1, kStatusFailed);
    EXPECT_EQ(core_.WriteSettings(profile_, 0, 0), kResultStatusFailed);
    channel_.SetOpen(false);
    EXPECT_EQ(core_.WriteSettings(profile_, 0, 0), kResultNoReply);
}

TEST_P(MouseCoreTest, ProfileAndDpiNotificationsUpdateTheCopies)
{
    Open();
    ASSERT_EQ(core_.ReadSettings(profile_, lightNames_), kResultSuccess);
    EXPECT_TRUE(core_.TakeNotification(0x1125));
    EXPECT_EQ(core_.CurrentProfile(), 5);
    EXPECT_EQ(core_.Block()[kBlockActiveDpiStage], 2);
    EXPECT_TRUE(core_.TakeNotification(0x1173));
    EXPECT_EQ(core_.Block()[kBlockActiveDpiStage], 0) << "stage 7";
    EXPECT_TRUE(core_.TakeNotification(0x1004));
    EXPECT_EQ(core_.CurrentProfile(), 4);
    for (const uint16_t ignored : {uint16_t{0x0401}, uint16_t{0x0403}, uint16_t{0x1225}}) {
        EXPECT_FALSE(core_.TakeNotification(ignored)) << std::hex << ignored;
        EXPECT_EQ(core_.CurrentProfile(), 4);
    }
}

TEST_P(MouseCoreTest, OldFirmwareOnTheCableIsReported)
{
    sim_.SetFirmwareVersion(Device::Mouse, 0x0105);
    Open();
    ASSERT_EQ(core_.ReadDeviceData(), DeviceDataOutcome::kComplete);
    EXPECT_EQ(core_.FirmwareOutdated(), !GetParam().receiver);
}

INSTANTIATE_TEST_SUITE_P(Connections, MouseCoreTest, kMouseConnections, ConnectionName);

TEST(MouseCoreClosedTest, NothingIsReadFromAClosedChannel)
{
    CCommandChannel channel;
    CMouseDeviceCore core(channel);
    CMouseProfiledata profile;
    EXPECT_EQ(core.ReadDeviceData(), DeviceDataOutcome::kNotReady);
    EXPECT_EQ(core.ReadSettings(profile, {}), kResultNoReply);
    EXPECT_FALSE(core.TakeNotification(0x1125));
}

}  // namespace
