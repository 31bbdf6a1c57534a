// The report-descriptor parser, the data items built from it and report
// unpacking, on any bytes: the first two bytes give the descriptor length,
// the descriptor follows, the rest is a report.

#include "transport/hid_capabilities.h"
#include "transport/hid_report_descriptor.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const size_t descriptorLength = std::min<size_t>(size - 2, data[0] | (data[1] << 8));
    const uint8_t* descriptor = data + 2;
    const uint8_t* report = descriptor + descriptorLength;
    const uint32_t reportLength = static_cast<uint32_t>(size - 2 - descriptorLength);

    auto collections = ParseReportDescriptor(descriptor, descriptorLength);
    if (!collections)
        return 0;
    for (size_t index = 0; index < collections->size(); ++index) {
        HidInterfaceInfo info;
        info.reportDescriptor.assign(descriptor, descriptor + descriptorLength);
        info.collectionIndex = static_cast<int>(index);
        for (HidReportKind kind : {HidP_Input, HidP_Output, HidP_Feature})
            info.reportByteLength[kind] = (*collections)[index].ReportByteLength(kind);
        HidCapabilitySet set = BuildCapabilities(info);
        if (set.kinds[HidP_Input].items.size() > kMaxDataItemsPerKind)
            std::abort();
        for (HidReportKind kind : {HidP_Input, HidP_Output, HidP_Feature}) {
            std::vector<HidDataItem>& items = set.kinds[kind].items;
            UnpackReportItems(report, reportLength, kind, items.data(), static_cast<uint32_t>(items.size()),
                              set.preparsed.get());
        }
    }
    return 0;
}
