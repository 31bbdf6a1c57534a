#pragma once
// The mouse as its page drives it, without widgets: the information block,
// the key table and the settings block of the current device profile, read
// and written over the page's command channel. Every operation returns a
// CommandResult code (1 success, 0 device not ready or no reply, negative
// channel codes) and changes nothing it holds when an exchange fails.

#include "devices/mouse/mouse_dpi.h"
#include "devices/mouse/mouse_key_table.h"
#include "devices/mouse/mouse_settings_block.h"
#include "profiles/mouse_profiledata.h"
#include "transport/command_channel.h"

#include <array>

// How far ReadDeviceData got.
enum class DeviceDataOutcome {
    kNotReady,         // channel closed, or the receiver has no linked mouse
    kInfoReadFailed,   // the information block could not be read or set up
    kNotSetUp,         // no magic, or a set-up marker other than 0 and 0x13
    kKeyTableSkipped,  // set up, but the key table was too long or could not be read
    kComplete,
};

// What the profile holds for the settings block.
MouseBlockValues ProfileBlockValues(CMouseProfiledata& profile);
// A block read from the mouse taken into the profile's sections (in memory;
// the caller saves).
void TakeSettingsBlockInto(const MouseSettingsBlock& block, const DefaultLightNames& lightNames, BlockFields fields,
                           CMouseProfiledata& profile);

class CMouseDeviceCore {
public:
    explicit CMouseDeviceCore(CCommandChannel& channel) : channel_(channel) {}

    // Reads the information block (setting a new mouse up) and the key table.
    DeviceDataOutcome ReadDeviceData();
    // After a complete ReadDeviceData on the cable: the firmware is older than
    // the current one.
    bool FirmwareOutdated() const { return firmwareOutdated_; }
    uint16_t FirmwareVersion() const { return firmwareVersion_; }

    // Reads the current device profile number and its settings block. A failed
    // read returns its result and leaves both as they were.
    int ReadBlock();
    // ReadBlock, then the block taken into `profile` (saved). A failed read
    // leaves the profile untouched.
    int ReadSettings(CMouseProfiledata& profile, const DefaultLightNames& lightNames);
    // Builds the block from `profile` and writes it at slot x 128; 1 only when
    // every exchange succeeded.
    int WriteSettings(CMouseProfiledata& profile, uint8_t slot, uint8_t firstByte);
    int WriteValues(const MouseBlockValues& values, uint8_t slot, uint8_t firstByte);
    // Writes `keys` into the key table read by ReadDeviceData; 0 and nothing
    // written when no key table was read.
    int WriteKeyAssignments(const std::vector<KeyListEntry>& keys, const MacroPlace& macroPlace = {});

    // A profile or DPI-stage notification (high byte 0x10 or 0x11) taken into
    // the copies; true when the settings should be shown again.
    bool TakeNotification(uint16_t code);

    const std::array<uint8_t, kInfoBlockSize>& InfoBlock() const { return info_; }
    CDpiMapping Dpi(std::optional<DpiRange> layoutRange = std::nullopt) const
    {
        return CDpiMapping(info_.data(), layoutRange);
    }
    const CMouseKeyTable& KeyTable() const { return keyTable_; }
    uint8_t CurrentProfile() const { return currentProfile_; }
    // The settings block as last read (byte 0: the current profile number).
    const MouseSettingsBlock& Block() const { return block_; }
    // The block as last read taken into `values`, or into the profile's
    // sections (in memory; the caller saves).
    void TakeBlockInto(MouseBlockValues& values, const DefaultLightNames& lightNames, BlockFields fields) const;
    void TakeBlockInto(CMouseProfiledata& profile, const DefaultLightNames& lightNames, BlockFields fields) const;

private:
    bool Ready();
    int ReadKeys();
    void CheckFirmware();

    CCommandChannel& channel_;
    std::array<uint8_t, kInfoBlockSize> info_{};
    CMouseKeyTable keyTable_;
    uint8_t currentProfile_ = 0;
    MouseSettingsBlock block_{};
    bool firmwareOutdated_ = false;
    uint16_t firmwareVersion_ = 0;
};
