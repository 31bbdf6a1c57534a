#pragma once
// The tri-mode mouse: on its cable (320F:22A9) and through its 2.4 GHz
// receiver (320F:22AA), one firmware behind both. Its memory map is
// devices/mouse/mouse_memory_map.h.

#include "devices/mouse/mouse_memory_map.h"
#include "tools/devsim/device_model.h"

namespace devsim {

FirmwareImage MouseFirmware();
PortModel MouseCablePort();
PortModel MouseReceiverPort();

}  // namespace devsim
