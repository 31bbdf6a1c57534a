#pragma once
// The keyboard (320F:0000): 170 key numbers, per-key colour groups, host
// streamed light frames.

#include "tools/devsim/device_model.h"

namespace devsim {

constexpr size_t kKeyboardProfileCount = 5;
constexpr size_t kKeyboardProfileStride = 25;

FirmwareImage KeyboardFirmware();
PortModel KeyboardPort();

}  // namespace devsim
