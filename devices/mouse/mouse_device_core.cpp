#include "devices/mouse/mouse_device_core.h"

#include "transport/device_table.h"

namespace {

// BeginConfig, the exchange, EndConfig; through the receiver each step only
// after a link check. The first failure ends it with its result.
template <typename Exchange>
int ConfigSession(CCommandChannel& channel, Exchange exchange)
{
    if (!channel.CheckLink())
        return kResultNoReply;
    int result = channel.BeginConfig();
    if (result != kResultSuccess)
        return result;
    if (!channel.CheckLink())
        return kResultNoReply;
    result = exchange();
    if (result != kResultSuccess)
        return result;
    if (!channel.CheckLink())
        return kResultNoReply;
    return channel.EndConfig();
}

}  // namespace

MouseBlockValues ProfileBlockValues(CMouseProfiledata& profile)
{
    MouseBlockValues values;
    values.stages = profile.ReadDpiStages();  // also reads the active stage
    values.activeStage = profile.GetActiveDpiStage();
    values.settings = profile.ReadMouseSettings();
    values.light = profile.ReadLightInfo();
    return values;
}

bool CMouseDeviceCore::Ready()
{
    return channel_.IsOpen() && channel_.CheckLink();
}

DeviceDataOutcome CMouseDeviceCore::ReadDeviceData()
{
    if (!Ready())
        return DeviceDataOutcome::kNotReady;
    channel_.SetSuspended(false);
    std::array<uint8_t, kInfoBlockSize> info{};
    if (ConfigSession(channel_, [&] { return channel_.ReadInfoBlock(info.data()); }) != kResultSuccess)
        return DeviceDataOutcome::kInfoReadFailed;
    info_ = info;
    if (info[kInfoSetUpMarker] != kInfoSetUpDone) {
        if (info[kInfoSetUpMarker] != kInfoSetUpNew || GetU16(info.data(), kInfoMagic) != kInfoMagicValue)
            return DeviceDataOutcome::kNotSetUp;
        info[kInfoSetUpMarker] = kInfoSetUpDone;
        if (ConfigSession(channel_, [&] { return channel_.WriteInfoBlock(info.data()); }) != kResultSuccess)
            return DeviceDataOutcome::kInfoReadFailed;
        info_ = info;
    }
    if (ReadKeys() != kResultSuccess)
        return DeviceDataOutcome::kKeyTableSkipped;
    CheckFirmware();
    return DeviceDataOutcome::kComplete;
}

// A key count the channel refuses (over 512 bytes) skips the table; the key
// map then keeps what it held.
int CMouseDeviceCore::ReadKeys()
{
    const size_t keyCount = info_[kInfoKeyCount];
    std::array<uint8_t, kMaxBlockSize> table{};
    return ConfigSession(channel_, [&] {
        if (!channel_.SetBlockSize(static_cast<uint16_t>(keyCount * kKeyCodeSize)))
            return static_cast<int>(kResultNoReply);
        const int result = channel_.ReadKeyTable(table.data());
        if (result == kResultSuccess)
            keyTable_.Take(table.data(), keyCount);
        return result;
    });
}

void CMouseDeviceCore::CheckFirmware()
{
    const HidAttributes& cable = channel_.CableInterface().Attributes();
    firmwareVersion_ = cable.versionNumber;
    firmwareOutdated_ = cable.vendorId == kMakerVendor && cable.productId == kMouseCableProduct &&
                        cable.versionNumber < kMouseCurrentFirmware;
}

int CMouseDeviceCore::ReadBlock()
{
    if (!Ready())
        return kResultNoReply;
    uint8_t number = 0;
    int result = channel_.ReadMemory(&number, 1, kMouseCurrentProfile);
    if (result != kResultSuccess)
        return result;
    MouseSettingsBlock block{};
    result = channel_.ReadMemory(block.data(), kMouseSettingsSize, static_cast<uint16_t>(number * kMouseProfileSpan));
    if (result != kResultSuccess)
        return result;
    block[kBlockProfile] = number;
    currentProfile_ = number;
    block_ = block;
    return kResultSuccess;
}

int CMouseDeviceCore::ReadSettings(CMouseProfiledata& profile, const DefaultLightNames& lightNames)
{
    const int result = ReadBlock();
    if (result != kResultSuccess)
        return result;
    TakeBlockInto(profile, lightNames, BlockFields::kReadBack);
    profile.Save();
    return kResultSuccess;
}

int CMouseDeviceCore::WriteSettings(CMouseProfiledata& profile, uint8_t slot, uint8_t firstByte)
{
    return WriteValues(ProfileBlockValues(profile), slot, firstByte);
}

int CMouseDeviceCore::WriteValues(const MouseBlockValues& values, uint8_t slot, uint8_t firstByte)
{
    const MouseSettingsBlock block = BuildSettingsBlock(values, firstByte, block_);
    if (!channel_.IsOpen())
        return kResultNoReply;
    return ConfigSession(channel_, [&] {
        return channel_.WriteMemory(block.data(), kMouseSettingsSize, static_cast<uint16_t>(slot * kMouseProfileSpan));
    });
}

int CMouseDeviceCore::WriteKeyAssignments(const std::vector<KeyListEntry>& keys, const MacroPlace& macroPlace)
{
    if (!keyTable_.IsRead() || !Ready())
        return kResultNoReply;
    std::array<uint8_t, kInfoBlockSize> info{};
    const int result = channel_.ReadInfoBlock(info.data());
    if (result != kResultSuccess)
        return result;
    // A mouse that now reports another key count holds another table than the one read.
    if (info[kInfoKeyCount] != keyTable_.KeyCount() || !channel_.SetBlockSize(static_cast<uint16_t>(keyTable_.ByteCount())))
        return kResultNoReply;
    const std::vector<uint8_t> table = keyTable_.WithAssignments(keys, macroPlace);
    return ConfigSession(channel_, [&] { return channel_.WriteKeyTable(table.data(), 0); });
}

bool CMouseDeviceCore::TakeNotification(uint16_t code)
{
    const uint8_t kind = static_cast<uint8_t>(code >> 8);
    if (code <= kNotifySyncRequest || (kind != kNotifyProfileHigh && kind != kNotifyDpiStageHigh) || !channel_.IsOpen())
        return false;
    currentProfile_ = NotifiedProfile(code);
    if (kind == kNotifyDpiStageHigh)
        block_[kBlockActiveDpiStage] = KeptDpiStage(NotifiedDpiStage(code));
    return true;
}

void CMouseDeviceCore::TakeBlockInto(MouseBlockValues& values, const DefaultLightNames& lightNames,
                                     BlockFields fields) const
{
    TakeSettingsBlock(block_, lightNames, fields, values);
}

void CMouseDeviceCore::TakeBlockInto(CMouseProfiledata& profile, const DefaultLightNames& lightNames,
                                     BlockFields fields) const
{
    TakeSettingsBlockInto(block_, lightNames, fields, profile);
}

void TakeSettingsBlockInto(const MouseSettingsBlock& block, const DefaultLightNames& lightNames, BlockFields fields,
                           CMouseProfiledata& profile)
{
    MouseBlockValues values = ProfileBlockValues(profile);
    TakeSettingsBlock(block, lightNames, fields, values);
    profile.WriteMouseSettings(values.settings);
    profile.WriteActiveDpiStage(values.activeStage);
    profile.WriteLightInfo(values.light);
    if (fields == BlockFields::kAll)
        profile.WriteDpiStages(values.stages);
}
