#pragma once
// The capabilities of an open interface and the data items built from them,
// and the unpacking of a report into those items.

#include "transport/hid_backend.h"
#include "transport/hid_device.h"
#include "transport/hid_report_descriptor.h"

#include <memory>
#include <vector>

// Bounds that keep a hostile descriptor from taking unbounded memory.
constexpr uint32_t kMaxDataItemsPerKind = 1024;
constexpr uint32_t kMaxUsageListLength = 1024;

struct HidReportKindData {
    std::vector<uint8_t> reportBuffer;  // zero-filled, report byte length
    std::vector<HidDataItem> items;
};

struct HidCapabilitySet {
    HidCaps caps;
    std::unique_ptr<HidPreparsedData> preparsed;  // null when the descriptor says nothing usable
    HidReportKindData kinds[3];
};

HidCapabilitySet BuildCapabilities(const HidInterfaceInfo& info);

bool UnpackReportItems(const uint8_t* report, uint32_t reportLength, HidReportKind kind, HidDataItem* items,
                       uint32_t itemCount, const HidPreparsedData* preparsed);
