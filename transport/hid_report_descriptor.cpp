#include "transport/hid_report_descriptor.h"

#include <algorithm>
#include <map>
#include <utility>

namespace {

// Item prefix byte: bits 0-1 data size code, 2-3 type, 4-7 tag.
constexpr uint8_t kLongItemPrefix = 0xFE;
constexpr size_t kDataSizes[4] = {0, 1, 2, 4};

enum ItemType : uint8_t { kMain = 0, kGlobal = 1, kLocal = 2, kReserved = 3 };

enum MainTag : uint8_t { kInputItem = 8, kOutputItem = 9, kCollection = 10, kFeatureItem = 11, kEndCollection = 12 };

enum GlobalTag : uint8_t {
    kUsagePage = 0,
    kLogicalMin = 1,
    kLogicalMax = 2,
    kPhysicalMin = 3,
    kPhysicalMax = 4,
    kUnitExponent = 5,
    kUnit = 6,
    kReportSize = 7,
    kReportId = 8,
    kReportCount = 9,
    kPush = 10,
    kPop = 11,
};

enum LocalTag : uint8_t { kUsage = 0, kUsageMin = 1, kUsageMax = 2 };

// Main item data bits.
constexpr uint32_t kFlagConstant = 0x01;
constexpr uint32_t kFlagVariable = 0x02;
constexpr uint32_t kFlagRelative = 0x04;
constexpr uint32_t kFlagNullState = 0x40;

constexpr uint32_t kFirstDataBit = 8;  // after the report id byte
constexpr uint32_t kMaxReportBits = kMaxHidReportBytes * 8;
constexpr uint16_t kMaxElementBits = 32;
constexpr size_t kMaxPushDepth = 32;

struct Item {
    uint8_t type = 0;
    uint8_t tag = 0;
    size_t size = 0;
    uint32_t unsignedData = 0;
    int32_t signedData = 0;
};

struct Globals {
    uint16_t usagePage = 0;
    int64_t logicalMin = 0;
    int64_t logicalMax = 0;
    int64_t physicalMin = 0;
    int64_t physicalMax = 0;
    int32_t unitExponent = 0;
    uint32_t unit = 0;
    uint32_t reportSize = 0;
    uint32_t reportId = 0;
    uint32_t reportCount = 0;
};

struct UsageRange {
    uint16_t page = 0;
    uint16_t min = 0;
    uint16_t max = 0;
    bool isRange = false;
};

int32_t SignExtend(uint32_t value, size_t bytes)
{
    if (bytes == 1)
        return static_cast<int8_t>(value);
    if (bytes == 2)
        return static_cast<int16_t>(value);
    return static_cast<int32_t>(value);
}

// Reads one item at descriptor[at]; false when it runs past the end.
bool ReadItem(const uint8_t* descriptor, size_t length, size_t& at, Item& item)
{
    const uint8_t prefix = descriptor[at];
    if (prefix == kLongItemPrefix) {
        if (length - at < 3 || length - at - 3 < descriptor[at + 1])
            return false;
        item = Item{kReserved, 0xF, 0, 0, 0};  // long items carry nothing we use
        at += 3 + descriptor[at + 1];
        return true;
    }
    item.size = kDataSizes[prefix & 0x3];
    item.type = (prefix >> 2) & 0x3;
    item.tag = prefix >> 4;
    if (length - at - 1 < item.size)
        return false;
    item.unsignedData = 0;
    for (size_t i = 0; i < item.size; ++i)
        item.unsignedData |= static_cast<uint32_t>(descriptor[at + 1 + i]) << (8 * i);
    item.signedData = SignExtend(item.unsignedData, item.size);
    at += 1 + item.size;
    return true;
}

uint32_t ReadBits(const uint8_t* report, uint32_t bitOffset, uint16_t bitSize)
{
    uint64_t value = 0;
    for (uint16_t bit = 0; bit < bitSize; ++bit) {
        const uint32_t at = bitOffset + bit;
        if ((report[at / 8] >> (at % 8)) & 1)
            value |= uint64_t{1} << bit;
    }
    return static_cast<uint32_t>(value);
}

int64_t SignExtendBits(uint32_t raw, uint16_t bitSize)
{
    if (bitSize == 0 || bitSize >= 32)
        return static_cast<int32_t>(raw);
    const uint32_t sign = 1u << (bitSize - 1);
    return static_cast<int64_t>(raw ^ sign) - static_cast<int64_t>(sign);
}

}  // namespace

class HidDescriptorParser {
public:
    std::optional<std::vector<HidPreparsedData>> Run(const uint8_t* descriptor, size_t length);

private:
    bool Apply(const Item& item);
    bool ApplyMain(const Item& item);
    bool ApplyGlobal(const Item& item);
    void ApplyLocal(const Item& item);
    bool AddField(HidReportKind kind, uint32_t flags);
    void AddCaps(HidPreparsedData& collection, HidReportKind kind, const HidReportField& field, bool isButton);
    void ClearLocals();

    Globals globals_;
    std::vector<Globals> pushed_;
    std::vector<UsageRange> usages_;
    std::optional<UsageRange> pendingMin_;
    int depth_ = 0;
    bool usesReportIds_ = false;
    std::vector<HidPreparsedData> collections_;
    std::map<std::pair<int, uint32_t>, uint32_t> nextBit_;  // (kind, report id) -> bit offset
};

std::optional<std::vector<HidPreparsedData>> HidDescriptorParser::Run(const uint8_t* descriptor, size_t length)
{
    size_t at = 0;
    Item item;
    while (at < length) {
        if (!ReadItem(descriptor, length, at, item) || !Apply(item))
            return std::nullopt;
    }
    if (depth_ != 0)
        return std::nullopt;
    for (HidPreparsedData& collection : collections_)
        collection.usesReportIds_ = usesReportIds_;
    return std::move(collections_);
}

bool HidDescriptorParser::Apply(const Item& item)
{
    switch (item.type) {
    case kMain:
        return ApplyMain(item);
    case kGlobal:
        return ApplyGlobal(item);
    case kLocal:
        ApplyLocal(item);
        return true;
    default:
        return item.tag == 0xF;  // long items are skipped, reserved short items are damage
    }
}

void HidDescriptorParser::ClearLocals()
{
    usages_.clear();
    pendingMin_.reset();
}

bool HidDescriptorParser::ApplyMain(const Item& item)
{
    bool valid = true;
    switch (item.tag) {
    case kCollection:
        if (depth_++ == 0) {
            HidPreparsedData collection;
            collection.usagePage_ = usages_.empty() ? globals_.usagePage : usages_.front().page;
            collection.usage_ = usages_.empty() ? 0 : usages_.front().min;
            collections_.push_back(std::move(collection));
        }
        break;
    case kEndCollection:
        valid = depth_-- > 0;
        break;
    case kInputItem:
        valid = AddField(HidP_Input, item.unsignedData);
        break;
    case kOutputItem:
        valid = AddField(HidP_Output, item.unsignedData);
        break;
    case kFeatureItem:
        valid = AddField(HidP_Feature, item.unsignedData);
        break;
    default:
        break;
    }
    ClearLocals();
    return valid;
}

bool HidDescriptorParser::ApplyGlobal(const Item& item)
{
    // A negative minimum makes the maximum signed too; otherwise byte-sized
    // maxima like 0xFF mean 255, as most devices intend.
    const auto maximum = [&](int64_t minimum) -> int64_t {
        return minimum < 0 ? item.signedData : static_cast<int64_t>(item.unsignedData);
    };
    switch (item.tag) {
    case kUsagePage: globals_.usagePage = static_cast<uint16_t>(item.unsignedData); break;
    case kLogicalMin: globals_.logicalMin = item.signedData; break;
    case kLogicalMax: globals_.logicalMax = maximum(globals_.logicalMin); break;
    case kPhysicalMin: globals_.physicalMin = item.signedData; break;
    case kPhysicalMax: globals_.physicalMax = maximum(globals_.physicalMin); break;
    case kUnitExponent: globals_.unitExponent = item.signedData; break;
    case kUnit: globals_.unit = item.unsignedData; break;
    case kReportSize: globals_.reportSize = item.unsignedData; break;
    case kReportCount: globals_.reportCount = item.unsignedData; break;
    case kReportId:
        if (item.unsignedData == 0 || item.unsignedData > 0xFF)
            return false;
        globals_.reportId = item.unsignedData;
        usesReportIds_ = true;
        break;
    case kPush:
        if (pushed_.size() >= kMaxPushDepth)
            return false;
        pushed_.push_back(globals_);
        break;
    case kPop:
        if (pushed_.empty())
            return false;
        globals_ = pushed_.back();
        pushed_.pop_back();
        break;
    default:
        break;
    }
    return true;
}

void HidDescriptorParser::ApplyLocal(const Item& item)
{
    // A four-byte usage carries its own usage page in the high half.
    UsageRange usage;
    usage.page = item.size == 4 ? static_cast<uint16_t>(item.unsignedData >> 16) : globals_.usagePage;
    usage.min = usage.max = static_cast<uint16_t>(item.unsignedData);
    switch (item.tag) {
    case kUsage:
        usages_.push_back(usage);
        break;
    case kUsageMin:
        pendingMin_ = usage;
        break;
    case kUsageMax:
        if (pendingMin_) {
            usage.min = std::min(pendingMin_->min, usage.max);
            usage.max = std::max(pendingMin_->min, usage.max);
            usage.page = pendingMin_->page;
            usage.isRange = true;
            usages_.push_back(usage);
            pendingMin_.reset();
        }
        break;
    default:
        break;
    }
}

bool HidDescriptorParser::AddField(HidReportKind kind, uint32_t flags)
{
    if (depth_ == 0 || collections_.empty())
        return false;
    uint32_t& nextBit = nextBit_.try_emplace({kind, globals_.reportId}, kFirstDataBit).first->second;
    const uint64_t bits = uint64_t{globals_.reportSize} * globals_.reportCount;
    if (nextBit + bits > kMaxReportBits)
        return false;
    HidReportField field;
    field.reportId = static_cast<uint8_t>(globals_.reportId);
    field.bitOffset = nextBit;
    field.bitSize = static_cast<uint16_t>(globals_.reportSize);
    field.count = static_cast<uint16_t>(globals_.reportCount);
    field.isArray = (flags & kFlagVariable) == 0;
    field.isAbsolute = (flags & kFlagRelative) == 0;
    field.hasNull = (flags & kFlagNullState) != 0;
    field.logicalMin = globals_.logicalMin;
    field.logicalMax = globals_.logicalMax;
    field.physicalMin = globals_.physicalMin;
    field.physicalMax = globals_.physicalMax;
    field.unit = globals_.unit;
    field.unitExponent = globals_.unitExponent;
    nextBit += static_cast<uint32_t>(bits);

    HidPreparsedData& collection = collections_.back();
    uint16_t& length = collection.reportLength_[kind];
    length = std::max<uint16_t>(length, static_cast<uint16_t>((nextBit + 7) / 8));
    // Padding and fields we cannot hold in 32 bits take room but give no capability.
    const bool readable = (flags & kFlagConstant) == 0 && field.count > 0 && field.bitSize > 0 &&
                          field.bitSize <= kMaxElementBits;
    if (readable)
        AddCaps(collection, kind, field, field.isArray || field.bitSize == 1);
    return true;
}

void HidDescriptorParser::AddCaps(HidPreparsedData& collection, HidReportKind kind, const HidReportField& field,
                                  bool isButton)
{
    const uint32_t fieldIndex = static_cast<uint32_t>(collection.fields_[kind].size());
    collection.fields_[kind].push_back(field);
    if (usages_.empty())
        usages_.push_back({globals_.usagePage, 0, 0, false});
    std::vector<HidUsageCaps>& target = isButton ? collection.buttonCaps_[kind] : collection.valueCaps_[kind];
    uint32_t index = 0;
    for (size_t i = 0; i < usages_.size(); ++i) {
        // Usages beyond the report count of a variable field stand for nothing.
        if (!field.isArray && index >= field.count)
            break;
        const UsageRange& usage = usages_[i];
        uint32_t span = uint32_t{usage.max} - usage.min;
        if (!field.isArray)
            span = std::min<uint32_t>(span, field.count - 1u - index);
        HidUsageCaps caps;
        caps.usagePage = usage.page;
        caps.reportId = field.reportId;
        caps.isRange = usage.isRange;
        caps.usageMin = usage.min;
        caps.usageMax = static_cast<uint16_t>(usage.min + span);
        caps.fieldIndex = fieldIndex;
        caps.firstIndex = index;
        index += span + 1;
        const bool lastOfField = i + 1 == usages_.size() || (!field.isArray && index >= field.count);
        caps.lastIndex = lastOfField && !field.isArray ? field.count - 1u : index - 1;
        target.push_back(caps);
    }
}

std::optional<std::vector<HidPreparsedData>> ParseReportDescriptor(const uint8_t* descriptor, size_t length)
{
    if (descriptor == nullptr && length > 0)
        return std::nullopt;
    return HidDescriptorParser().Run(descriptor, length);
}

bool HidPreparsedData::HasReportId(HidReportKind kind, uint8_t reportId) const
{
    return std::any_of(fields_[kind].begin(), fields_[kind].end(),
                       [&](const HidReportField& field) { return field.reportId == reportId; });
}

uint32_t HidPreparsedData::MaxUsageListLength(HidReportKind kind, uint16_t usagePage) const
{
    uint32_t length = 0;
    uint32_t lastField = UINT32_MAX;
    for (const HidUsageCaps& caps : buttonCaps_[kind]) {
        if (caps.usagePage != usagePage || caps.fieldIndex == lastField)
            continue;
        lastField = caps.fieldIndex;
        length += fields_[kind][caps.fieldIndex].count;
    }
    return length;
}

void HidPreparsedData::CollectPressed(HidReportKind kind, const HidUsageCaps& caps, const uint8_t* report,
                                      std::vector<uint16_t>& pressed) const
{
    const HidReportField& field = fields_[kind][caps.fieldIndex];
    if (field.isArray) {
        for (uint32_t element = 0; element < field.count; ++element) {
            const uint32_t raw = ReadBits(report, field.bitOffset + element * field.bitSize, field.bitSize);
            const int64_t index = static_cast<int64_t>(raw) - field.logicalMin;
            if (index < caps.firstIndex || index > caps.lastIndex)
                continue;  // outside the logical range: no control
            const uint16_t usage = static_cast<uint16_t>(caps.usageMin + (index - caps.firstIndex));
            if (usage != 0)  // usage 0 is "nothing" on every page
                pressed.push_back(usage);
        }
        return;
    }
    const uint32_t last = std::min<uint32_t>(caps.lastIndex, field.count - 1u);
    for (uint32_t element = caps.firstIndex; element <= last; ++element) {
        if (ReadBits(report, field.bitOffset + element * field.bitSize, field.bitSize) == 0)
            continue;
        const uint32_t usage = std::min<uint32_t>(caps.usageMin + (element - caps.firstIndex), caps.usageMax);
        if (pressed.empty() || pressed.back() != usage)
            pressed.push_back(static_cast<uint16_t>(usage));
    }
}

int32_t HidPreparsedData::GetUsages(HidReportKind kind, uint16_t usagePage, uint16_t* usages, uint32_t* count,
                                    const uint8_t* report, uint32_t reportLength) const
{
    if (report == nullptr || reportLength == 0 || count == nullptr)
        return kHidStatusNull;
    const uint8_t reportId = report[0];
    bool pageFound = false;
    bool reportFound = false;
    std::vector<uint16_t> pressed;
    for (const HidUsageCaps& caps : buttonCaps_[kind]) {
        if (caps.usagePage != usagePage)
            continue;
        pageFound = true;
        if (caps.reportId != reportId)
            continue;
        reportFound = true;
        const HidReportField& field = fields_[kind][caps.fieldIndex];
        if (field.bitOffset + uint64_t{field.count} * field.bitSize > uint64_t{reportLength} * 8) {
            *count = 0;
            return kHidStatusInvalidReportLength;
        }
        CollectPressed(kind, caps, report, pressed);
    }
    if (!reportFound) {
        *count = 0;
        return pageFound ? kHidStatusIncompatibleReportId : kHidStatusUsageNotFound;
    }
    const uint32_t room = usages == nullptr ? 0 : *count;
    *count = std::min<uint32_t>(room, static_cast<uint32_t>(pressed.size()));
    std::copy_n(pressed.begin(), *count, usages);
    return pressed.size() > room ? kHidStatusBufferTooSmall : kHidStatusSuccess;
}

const HidUsageCaps* HidPreparsedData::FindValueCaps(HidReportKind kind, uint16_t usagePage, uint16_t usage,
                                                    uint8_t reportId, int32_t* status) const
{
    *status = kHidStatusUsageNotFound;
    for (const HidUsageCaps& caps : valueCaps_[kind]) {
        if (caps.usagePage != usagePage || usage < caps.usageMin || usage > caps.usageMax)
            continue;
        if (caps.reportId == reportId) {
            *status = kHidStatusSuccess;
            return &caps;
        }
        *status = kHidStatusIncompatibleReportId;
    }
    return nullptr;
}

int32_t HidPreparsedData::GetUsageValue(HidReportKind kind, uint16_t usagePage, uint16_t usage, uint32_t* value,
                                        const uint8_t* report, uint32_t reportLength) const
{
    if (report == nullptr || reportLength == 0 || value == nullptr)
        return kHidStatusNull;
    int32_t status = kHidStatusSuccess;
    const HidUsageCaps* caps = FindValueCaps(kind, usagePage, usage, report[0], &status);
    if (caps == nullptr)
        return status;
    const HidReportField& field = fields_[kind][caps->fieldIndex];
    const uint32_t element = std::min<uint32_t>(caps->firstIndex + (usage - caps->usageMin), field.count - 1u);
    const uint32_t bitOffset = field.bitOffset + element * field.bitSize;
    if (uint64_t{bitOffset} + field.bitSize > uint64_t{reportLength} * 8)
        return kHidStatusInvalidReportLength;
    *value = ReadBits(report, bitOffset, field.bitSize);
    return kHidStatusSuccess;
}

int32_t HidPreparsedData::GetScaledUsageValue(HidReportKind kind, uint16_t usagePage, uint16_t usage,
                                              int32_t* value, const uint8_t* report, uint32_t reportLength) const
{
    uint32_t raw = 0;
    const int32_t status = GetUsageValue(kind, usagePage, usage, &raw, report, reportLength);
    if (status != kHidStatusSuccess || value == nullptr)
        return value == nullptr ? kHidStatusNull : status;
    int32_t found = kHidStatusSuccess;
    const HidReportField& field = fields_[kind][FindValueCaps(kind, usagePage, usage, report[0], &found)->fieldIndex];
    const int64_t logical = field.logicalMin < 0 ? SignExtendBits(raw, field.bitSize) : int64_t{raw};
    // Without a physical range the logical one stands for it.
    const bool noPhysical = field.physicalMin == 0 && field.physicalMax == 0;
    const int64_t physicalMin = noPhysical ? field.logicalMin : field.physicalMin;
    const int64_t physicalMax = noPhysical ? field.logicalMax : field.physicalMax;
    if (field.logicalMin >= field.logicalMax || physicalMin >= physicalMax)
        return kHidStatusBadLogPhyValues;
    if (logical < field.logicalMin || logical > field.logicalMax)
        return kHidStatusValueOutOfRange;
    // Both ranges may span 2^32, so their product needs more than 64 bits.
    using Wide = __int128;
    const Wide scaled = physicalMin + Wide{logical - field.logicalMin} * (physicalMax - physicalMin) /
                                          (field.logicalMax - field.logicalMin);
    *value = static_cast<int32_t>(std::clamp<Wide>(scaled, INT32_MIN, INT32_MAX));
    return kHidStatusSuccess;
}
