#include "transport/hid_capabilities.h"

#include "platform/trace.h"

#include <algorithm>
#include <map>
#include <utility>

namespace {

constexpr HidReportKind kAllKinds[] = {HidP_Input, HidP_Output, HidP_Feature};

// The collection of the descriptor this interface stands for: the one the
// interface names, else the one with the announced usage, else the first.
std::unique_ptr<HidPreparsedData> SelectCollection(const HidInterfaceInfo& info)
{
    if (info.reportDescriptor.empty())
        return nullptr;
    auto collections = ParseReportDescriptor(info.reportDescriptor.data(), info.reportDescriptor.size());
    if (!collections || collections->empty()) {
        Trace("hid: report descriptor unusable, interface has no data items");
        return nullptr;
    }
    if (info.collectionIndex >= 0 && static_cast<size_t>(info.collectionIndex) < collections->size())
        return std::make_unique<HidPreparsedData>(std::move((*collections)[info.collectionIndex]));
    auto match = std::find_if(collections->begin(), collections->end(), [&](const HidPreparsedData& collection) {
        return collection.UsagePage() == info.usagePage && collection.Usage() == info.usage;
    });
    return std::make_unique<HidPreparsedData>(std::move(match != collections->end() ? *match : collections->front()));
}

uint32_t CountDataItems(const HidPreparsedData& preparsed, HidReportKind kind)
{
    uint64_t count = preparsed.ButtonCaps(kind).size();
    for (const HidUsageCaps& caps : preparsed.ValueCaps(kind))
        count += uint64_t{caps.usageMax} - caps.usageMin + 1;
    return static_cast<uint32_t>(std::min<uint64_t>(count, kMaxDataItemsPerKind));
}

HidDataItem CommonItem(const HidUsageCaps& caps)
{
    HidDataItem item;
    item.status = kHidStatusSuccess;
    item.usagePage = caps.usagePage;
    item.reportId = caps.reportId;
    return item;
}

std::vector<HidDataItem> BuildDataItems(const HidPreparsedData& preparsed, HidReportKind kind)
{
    const uint32_t count = CountDataItems(preparsed, kind);
    std::vector<HidDataItem> items;
    items.reserve(count);
    for (const HidUsageCaps& caps : preparsed.ButtonCaps(kind)) {
        if (items.size() == count)
            return items;
        HidDataItem item = CommonItem(caps);
        item.isButton = true;
        item.usageMin = caps.usageMin;
        item.usageMax = caps.usageMax;
        item.maxUsageListLength = std::min(preparsed.MaxUsageListLength(kind, caps.usagePage), kMaxUsageListLength);
        item.usages.assign(item.maxUsageListLength, 0);
        items.push_back(std::move(item));
    }
    for (const HidUsageCaps& caps : preparsed.ValueCaps(kind)) {
        for (uint32_t usage = caps.usageMin; usage <= caps.usageMax; ++usage) {
            if (items.size() == count)
                return items;
            HidDataItem item = CommonItem(caps);
            item.usage = static_cast<uint16_t>(usage);
            items.push_back(std::move(item));
        }
    }
    return items;
}

// What GetUsages answers for one usage page of one report, given room for a
// list of a certain length.
struct PressedUsages {
    int32_t status = kHidStatusSuccess;
    std::vector<uint16_t> usages;
};

// Every button item of a page asks the same question of a report; answering it
// once keeps a descriptor of many items over one long field from taking
// minutes per report.
using PressedCache = std::map<std::pair<uint16_t, uint32_t>, PressedUsages>;

const PressedUsages& PressedOf(const uint8_t* report, uint32_t reportLength, HidReportKind kind, uint16_t usagePage,
                               uint32_t room, const HidPreparsedData& preparsed, PressedCache& cache)
{
    auto [entry, fresh] = cache.try_emplace({usagePage, room});
    PressedUsages& pressed = entry->second;
    if (fresh) {
        pressed.usages.resize(room);
        uint32_t found = room;
        pressed.status = preparsed.GetUsages(kind, usagePage, pressed.usages.data(), &found, report, reportLength);
        pressed.usages.resize(std::min(found, room));
    }
    return pressed;
}

void UnpackButtons(const uint8_t* report, uint32_t reportLength, HidReportKind kind, HidDataItem& item,
                   const HidPreparsedData& preparsed, PressedCache& cache)
{
    const uint32_t room = std::min<uint32_t>(item.maxUsageListLength, static_cast<uint32_t>(item.usages.size()));
    const PressedUsages& pressed = PressedOf(report, reportLength, kind, item.usagePage, room, preparsed, cache);
    item.status = pressed.status;
    // Keep, in order, only the usages this item stands for.
    uint32_t kept = 0;
    for (uint16_t usage : pressed.usages) {
        if (usage >= item.usageMin && usage <= item.usageMax)
            item.usages[kept++] = usage;
    }
    if (kept < item.usages.size())
        item.usages[kept] = 0;
}

bool UnpackValue(const uint8_t* report, uint32_t reportLength, HidReportKind kind, HidDataItem& item,
                 const HidPreparsedData& preparsed)
{
    item.status = preparsed.GetUsageValue(kind, item.usagePage, item.usage, &item.rawValue, report, reportLength);
    if (item.status != kHidStatusSuccess)
        return false;
    item.status =
        preparsed.GetScaledUsageValue(kind, item.usagePage, item.usage, &item.scaledValue, report, reportLength);
    return true;
}

}  // namespace

HidCapabilitySet BuildCapabilities(const HidInterfaceInfo& info)
{
    HidCapabilitySet set;
    set.caps.usagePage = info.usagePage;
    set.caps.usage = info.usage;
    set.caps.inputReportByteLength = info.reportByteLength[HidP_Input];
    set.caps.outputReportByteLength = info.reportByteLength[HidP_Output];
    set.caps.featureReportByteLength = info.reportByteLength[HidP_Feature];
    set.preparsed = SelectCollection(info);
    for (HidReportKind kind : kAllKinds) {
        set.kinds[kind].reportBuffer.assign(info.reportByteLength[kind], 0);
        if (!set.preparsed)
            continue;
        set.caps.numberButtonCaps[kind] = static_cast<uint16_t>(set.preparsed->ButtonCaps(kind).size());
        set.caps.numberValueCaps[kind] = static_cast<uint16_t>(set.preparsed->ValueCaps(kind).size());
        set.kinds[kind].items = BuildDataItems(*set.preparsed, kind);
    }
    return set;
}

bool UnpackReportItems(const uint8_t* report, uint32_t reportLength, HidReportKind kind, HidDataItem* items,
                       uint32_t itemCount, const HidPreparsedData* preparsed)
{
    if (report == nullptr || reportLength == 0 || (items == nullptr && itemCount > 0))
        return false;
    PressedCache pressedByPage;
    for (uint32_t i = 0; i < itemCount; ++i) {
        HidDataItem& item = items[i];
        if (item.reportId != report[0])
            continue;
        if (preparsed == nullptr) {
            item.status = kHidStatusNull;
            return false;
        }
        if (item.isButton)
            UnpackButtons(report, reportLength, kind, item, *preparsed, pressedByPage);
        else if (!UnpackValue(report, reportLength, kind, item, *preparsed))
            return false;
        item.dataSet = true;
    }
    return true;
}
