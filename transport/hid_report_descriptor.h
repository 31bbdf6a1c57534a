#pragma once
// Our own HID report-descriptor parser: what the system's HID parser gives
// about a top-level collection (capabilities, button and value capabilities)
// and the extraction of pressed usages and values from a report.

#include "transport/hid_device.h"

#include <cstdint>
#include <optional>
#include <vector>

// Parser status of an extraction, kept in HidDataItem::status.
enum HidParserStatus : int32_t {
    kHidStatusSuccess = 0,
    kHidStatusUsageNotFound = 1,
    kHidStatusIncompatibleReportId = 2,
    kHidStatusInvalidReportLength = 3,
    kHidStatusBufferTooSmall = 4,
    kHidStatusBadLogPhyValues = 5,
    kHidStatusValueOutOfRange = 6,
    kHidStatusNull = 7,
};

// One report field: report count elements of bitSize bits, from bitOffset of
// the report (the report id byte counts: the first data bit is 8).
struct HidReportField {
    uint8_t reportId = 0;
    uint32_t bitOffset = 0;
    uint16_t bitSize = 0;
    uint16_t count = 0;
    bool isArray = false;
    bool isAbsolute = true;
    bool hasNull = false;
    int64_t logicalMin = 0;
    int64_t logicalMax = 0;
    int64_t physicalMin = 0;
    int64_t physicalMax = 0;
    uint32_t unit = 0;
    int32_t unitExponent = 0;
};

// A usage or a usage range of one field, as HidP_GetSpecific*Caps give them.
struct HidUsageCaps {
    uint16_t usagePage = 0;
    uint8_t reportId = 0;
    bool isRange = false;
    uint16_t usageMin = 0;  // the usage itself when not a range
    uint16_t usageMax = 0;
    // Element of a variable field, or index of an array field, that stands for
    // usageMin; the last usage of a field also takes the elements after it.
    uint32_t firstIndex = 0;
    uint32_t lastIndex = 0;
    uint32_t fieldIndex = 0;
};

class HidPreparsedData {
public:
    uint16_t UsagePage() const { return usagePage_; }
    uint16_t Usage() const { return usage_; }
    // Longest report of the kind, report id byte included; 0 when it has none.
    uint16_t ReportByteLength(HidReportKind kind) const { return reportLength_[kind]; }
    const std::vector<HidUsageCaps>& ButtonCaps(HidReportKind kind) const { return buttonCaps_[kind]; }
    const std::vector<HidUsageCaps>& ValueCaps(HidReportKind kind) const { return valueCaps_[kind]; }
    const HidReportField& Field(HidReportKind kind, uint32_t index) const { return fields_[kind][index]; }
    // True when reports of this kind carry the given id.
    bool HasReportId(HidReportKind kind, uint8_t reportId) const;
    bool UsesReportIds() const { return usesReportIds_; }

    // HidP_MaxUsageListLength: the most button usages of the page one report can hold.
    uint32_t MaxUsageListLength(HidReportKind kind, uint16_t usagePage) const;
    // HidP_GetUsages: pressed button usages of the page; count in: room, out: found.
    int32_t GetUsages(HidReportKind kind, uint16_t usagePage, uint16_t* usages, uint32_t* count,
                      const uint8_t* report, uint32_t reportLength) const;
    // HidP_GetUsageValue and HidP_GetScaledUsageValue.
    int32_t GetUsageValue(HidReportKind kind, uint16_t usagePage, uint16_t usage, uint32_t* value,
                          const uint8_t* report, uint32_t reportLength) const;
    int32_t GetScaledUsageValue(HidReportKind kind, uint16_t usagePage, uint16_t usage, int32_t* value,
                                const uint8_t* report, uint32_t reportLength) const;

private:
    friend class HidDescriptorParser;
    const HidUsageCaps* FindValueCaps(HidReportKind kind, uint16_t usagePage, uint16_t usage,
                                      uint8_t reportId, int32_t* status) const;
    void CollectPressed(HidReportKind kind, const HidUsageCaps& caps, const uint8_t* report,
                        std::vector<uint16_t>& pressed) const;

    uint16_t usagePage_ = 0;
    uint16_t usage_ = 0;
    bool usesReportIds_ = false;
    uint16_t reportLength_[3] = {0, 0, 0};
    std::vector<HidReportField> fields_[3];
    std::vector<HidUsageCaps> buttonCaps_[3];
    std::vector<HidUsageCaps> valueCaps_[3];
};

// One entry per top-level collection, in descriptor order; nothing when the
// descriptor is damaged (truncated item, unbalanced collections, reports over
// kMaxHidReportBytes, too many items).
std::optional<std::vector<HidPreparsedData>> ParseReportDescriptor(const uint8_t* descriptor, size_t length);

constexpr uint32_t kMaxHidReportBytes = 4096;
