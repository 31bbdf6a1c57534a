#pragma once
// The lit mouse pad (320F:1004): lighting only, no keys.

#include "tools/devsim/device_model.h"

namespace devsim {

FirmwareImage MousePadFirmware();
PortModel MousePadPort();

}  // namespace devsim
