#pragma once
// The USB headset (0C76:1630): one HID collection carrying commands,
// notifications and the host-computed light frames.

#include "tools/devsim/device_model.h"

namespace devsim {

FirmwareImage HeadsetFirmware();
PortModel HeadsetPort();

// Stores one light output report (report id 0xFF) into the headset's light
// area. False when the report is not a light report the headset knows.
bool ApplyHeadsetLightReport(CFirmware& firmware, const std::vector<uint8_t>& report);

}  // namespace devsim
