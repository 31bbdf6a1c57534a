#pragma once
// Report descriptors and report sizes of the top-level collections the
// simulated devices expose. Sizes count the report id byte.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace devsim {

enum class CollectionKind : uint8_t {
    VendorCommand,  // FF1C/0092: 64-byte command frames, report id 4
    Consumer,       // 000C/0001: notifications, 16-bit consumer usage, report id 3
    Mouse,          // 0001/0002: buttons, X, Y, wheel, report id 1
    BootMouse,      // 0001/0002 without report ids
    Keyboard,       // 0001/0006: modifiers, six keys, LED output, report id 2
    SystemControl,  // 0001/0080: power keys, report id 5
    HeadsetControl, // 000C/0001: volume keys, command frames and light reports
};

struct CollectionShape {
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    uint16_t inputLength = 0;
    uint16_t outputLength = 0;
    uint16_t featureLength = 0;
    std::vector<uint8_t> descriptor;
};

CollectionShape ShapeOf(CollectionKind kind);

// Report ids that the device side relies on.
constexpr uint8_t kNotificationReportId = 3;
constexpr uint8_t kHeadsetLightReportId = 0xFF;
constexpr size_t kHeadsetLightReportSize = 17;

}  // namespace devsim
