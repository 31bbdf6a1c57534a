#pragma once
// The tri-mode mouse: on its cable (320F:22A9) and through its 2.4 GHz
// receiver (320F:22AA), one firmware behind both.

#include "tools/devsim/device_model.h"

namespace devsim {

constexpr size_t kMouseProfileCount = 16;
constexpr size_t kMouseProfileStride = 128;
constexpr size_t kMouseBlockActiveDpi = 12;
constexpr uint16_t kMouseCurrentFirmware = 0x0106;

FirmwareImage MouseFirmware();
PortModel MouseCablePort();
PortModel MouseReceiverPort();

}  // namespace devsim
