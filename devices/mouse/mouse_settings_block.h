#pragma once
// The mouse's 87-byte settings block and the profile values it carries:
// building the block to write from a profile, and taking a block read from
// the mouse into the profile's records. No device traffic here.

#include "devices/mouse/mouse_memory_map.h"
#include "profiles/default_light.h"
#include "profiles/records.h"

#include <array>
#include <vector>

using MouseSettingsBlock = std::array<uint8_t, kMouseSettingsSize>;

// What the block carries, as the profile keeps it.
struct MouseBlockValues {
    MouseSettings settings;
    int activeStage = 0;
    std::vector<DpiStage> stages;
    LightInfoRecord light;
};

// Which fields a read block hands over: the program takes over what the
// mouse may change itself and keeps the profile's direction, lift-off and DPI
// stages; an export takes every field.
enum class BlockFields { kReadBack, kAll };

// The block to write: `base` (the block as last read) with every field the
// values cover put in, byte 0 set to `firstByte`. Custom light effects are
// sent as effect 0; brightness, speed and the active stage are kept in their ranges.
MouseSettingsBlock BuildSettingsBlock(const MouseBlockValues& values, uint8_t firstByte,
                                      const MouseSettingsBlock& base);

// Takes a block read from the mouse into `values`. The light effect's device
// code becomes its built-in mode number; indices the mouse sends out of range
// (active stage, brightness, speed) are clamped.
void TakeSettingsBlock(const MouseSettingsBlock& block, const DefaultLightNames& lightNames, BlockFields fields,
                       MouseBlockValues& values);

// An active DPI stage as the mouse may hold it: stages 7 and above read as 0.
uint8_t KeptDpiStage(int stage);
