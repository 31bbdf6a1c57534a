// The report-descriptor parser and report unpacking, on descriptors of real devices.

#include "transport/hid_capabilities.h"
#include "transport/hid_report_descriptor.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>

namespace {

using Bytes = std::vector<uint8_t>;

// Three buttons, X, Y and wheel, no report id.
const Bytes kBootMouse = {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09, 0x19, 0x01,
                          0x29, 0x03, 0x15, 0x00, 0x25, 0x01, 0x95, 0x03, 0x75, 0x01, 0x81, 0x02, 0x95, 0x01,
                          0x75, 0x05, 0x81, 0x01, 0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x09, 0x38, 0x15, 0x81,
                          0x25, 0x7F, 0x75, 0x08, 0x95, 0x03, 0x81, 0x06, 0xC0, 0xC0};

// Report id 2: one 16-bit consumer usage, array.
const Bytes kConsumerControl = {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x02, 0x19, 0x00, 0x2A, 0x3C, 0x02,
                                0x15, 0x00, 0x26, 0x3C, 0x02, 0x95, 0x01, 0x75, 0x10, 0x81, 0x00, 0xC0};

// Report id 4: 63 vendor bytes each way, the command interface.
const Bytes kVendor64 = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x04, 0x15, 0x00, 0x26, 0xFF, 0x00,
                         0x75, 0x08, 0x95, 0x3F, 0x09, 0x02, 0x81, 0x02, 0x09, 0x03, 0x91, 0x02, 0xC0};

// Report id 1: keyboard with modifier bits and a six-key array.
const Bytes kKeyboard = {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29,
                         0xE7, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x01,
                         0x75, 0x08, 0x81, 0x01, 0x95, 0x06, 0x75, 0x08, 0x15, 0x00, 0x26, 0xFF, 0x00,
                         0x19, 0x00, 0x2A, 0xFF, 0x00, 0x81, 0x00, 0xC0};

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

HidPreparsedData ParseSingle(const Bytes& descriptor)
{
    auto collections = ParseReportDescriptor(descriptor.data(), descriptor.size());
    EXPECT_TRUE(collections.has_value());
    EXPECT_EQ(collections ? collections->size() : 0u, 1u);
    return collections && !collections->empty() ? (*collections)[0] : HidPreparsedData{};
}

HidCapabilitySet Capabilities(const Bytes& descriptor, int collectionIndex = -1)
{
    HidInterfaceInfo info;
    info.reportDescriptor = descriptor;
    info.collectionIndex = collectionIndex;
    auto collections = ParseReportDescriptor(descriptor.data(), descriptor.size());
    if (collections && !collections->empty()) {
        const HidPreparsedData& chosen = (*collections)[collectionIndex < 0 ? 0 : collectionIndex];
        info.usagePage = chosen.UsagePage();
        info.usage = chosen.Usage();
        for (int kind = HidP_Input; kind <= HidP_Feature; ++kind)
            info.reportByteLength[kind] = chosen.ReportByteLength(static_cast<HidReportKind>(kind));
    }
    return BuildCapabilities(info);
}

bool Unpack(HidCapabilitySet& set, const Bytes& report)
{
    std::vector<HidDataItem>& items = set.kinds[HidP_Input].items;
    return UnpackReportItems(report.data(), static_cast<uint32_t>(report.size()), HidP_Input, items.data(),
                             static_cast<uint32_t>(items.size()), set.preparsed.get());
}

std::vector<uint16_t> Pressed(const HidDataItem& item)
{
    std::vector<uint16_t> pressed;
    for (uint16_t usage : item.usages) {
        if (usage == 0)
            break;
        pressed.push_back(usage);
    }
    return pressed;
}

TEST(HidReportDescriptor, BootMouseGivesButtonRangeAndThreeValues)
{
    const HidPreparsedData mouse = ParseSingle(kBootMouse);
    EXPECT_EQ(mouse.UsagePage(), 0x01);
    EXPECT_EQ(mouse.Usage(), 0x02);
    EXPECT_EQ(mouse.ReportByteLength(HidP_Input), 5);
    EXPECT_EQ(mouse.ReportByteLength(HidP_Output), 0);
    ASSERT_EQ(mouse.ButtonCaps(HidP_Input).size(), 1u);
    const HidUsageCaps& buttons = mouse.ButtonCaps(HidP_Input)[0];
    EXPECT_TRUE(buttons.isRange);
    EXPECT_EQ(buttons.usagePage, 0x09);
    EXPECT_EQ(buttons.usageMin, 1);
    EXPECT_EQ(buttons.usageMax, 3);
    ASSERT_EQ(mouse.ValueCaps(HidP_Input).size(), 3u);
    EXPECT_EQ(mouse.ValueCaps(HidP_Input)[2].usageMin, 0x38);
    EXPECT_FALSE(mouse.UsesReportIds());

    HidCapabilitySet set = Capabilities(kBootMouse);
    ASSERT_EQ(set.kinds[HidP_Input].items.size(), 4u);
    ASSERT_TRUE(Unpack(set, {0x00, 0x05, 0xFE, 0x03, 0x81}));
    const std::vector<HidDataItem>& items = set.kinds[HidP_Input].items;
    EXPECT_TRUE(items[0].isButton);
    EXPECT_EQ(Pressed(items[0]), (std::vector<uint16_t>{1, 3}));
    EXPECT_EQ(items[1].usage, 0x30);
    EXPECT_EQ(items[1].rawValue, 0xFEu);
    EXPECT_EQ(items[1].scaledValue, -2);
    EXPECT_EQ(items[2].scaledValue, 3);
    EXPECT_EQ(items[3].scaledValue, -127);
    for (const HidDataItem& item : items) {
        EXPECT_TRUE(item.dataSet);
        EXPECT_EQ(item.status, kHidStatusSuccess);
    }
}

TEST(HidReportDescriptor, ConsumerControlArrayReportsThePressedUsage)
{
    const HidPreparsedData consumer = ParseSingle(kConsumerControl);
    EXPECT_EQ(consumer.UsagePage(), 0x0C);
    EXPECT_EQ(consumer.ReportByteLength(HidP_Input), 3);
    ASSERT_EQ(consumer.ButtonCaps(HidP_Input).size(), 1u);
    EXPECT_EQ(consumer.ButtonCaps(HidP_Input)[0].usageMax, 0x23C);
    EXPECT_EQ(consumer.MaxUsageListLength(HidP_Input, 0x0C), 1u);

    HidCapabilitySet set = Capabilities(kConsumerControl);
    ASSERT_TRUE(Unpack(set, {0x02, 0x01, 0x04}));  // 0x0401, the sync request code
    EXPECT_EQ(Pressed(set.kinds[HidP_Input].items[0]), std::vector<uint16_t>{});  // beyond the logical maximum
    ASSERT_TRUE(Unpack(set, {0x02, 0xE9, 0x00}));
    EXPECT_EQ(Pressed(set.kinds[HidP_Input].items[0]), std::vector<uint16_t>{0xE9});
    ASSERT_TRUE(Unpack(set, {0x02, 0x00, 0x00}));  // nothing pressed
    EXPECT_EQ(Pressed(set.kinds[HidP_Input].items[0]), std::vector<uint16_t>{});
}

TEST(HidReportDescriptor, VendorCollectionWithReportIdFourIsSixtyFourBytes)
{
    const HidPreparsedData vendor = ParseSingle(kVendor64);
    EXPECT_EQ(vendor.UsagePage(), 0xFF00);
    EXPECT_EQ(vendor.Usage(), 0x01);
    EXPECT_EQ(vendor.ReportByteLength(HidP_Input), 64);
    EXPECT_EQ(vendor.ReportByteLength(HidP_Output), 64);
    EXPECT_TRUE(vendor.HasReportId(HidP_Input, 4));
    ASSERT_EQ(vendor.ValueCaps(HidP_Input).size(), 1u);
    EXPECT_EQ(vendor.ValueCaps(HidP_Input)[0].reportId, 4);

    Bytes report(64, 0);
    report[0] = 4;
    report[1] = 0xAB;
    uint32_t value = 0;
    EXPECT_EQ(vendor.GetUsageValue(HidP_Input, 0xFF00, 0x02, &value, report.data(), 64), kHidStatusSuccess);
    EXPECT_EQ(value, 0xABu);
    report[0] = 5;
    EXPECT_EQ(vendor.GetUsageValue(HidP_Input, 0xFF00, 0x02, &value, report.data(), 64),
              kHidStatusIncompatibleReportId);
    EXPECT_EQ(vendor.GetUsageValue(HidP_Input, 0xFF00, 0x07, &value, report.data(), 64), kHidStatusUsageNotFound);
}

TEST(HidReportDescriptor, SeveralTopLevelCollectionsAreSeparateInterfaces)
{
    const Bytes descriptor = Concat({kKeyboard, kConsumerControl, kVendor64});
    auto collections = ParseReportDescriptor(descriptor.data(), descriptor.size());
    ASSERT_TRUE(collections.has_value());
    ASSERT_EQ(collections->size(), 3u);
    EXPECT_EQ((*collections)[0].Usage(), 0x06);
    EXPECT_EQ((*collections)[0].ReportByteLength(HidP_Input), 9);
    EXPECT_EQ((*collections)[1].UsagePage(), 0x0C);
    EXPECT_EQ((*collections)[1].ReportByteLength(HidP_Input), 3);
    EXPECT_EQ((*collections)[2].ReportByteLength(HidP_Output), 64);
    EXPECT_FALSE((*collections)[0].HasReportId(HidP_Input, 2));

    HidCapabilitySet keyboard = Capabilities(descriptor, 0);
    ASSERT_EQ(keyboard.kinds[HidP_Input].items.size(), 2u);
    ASSERT_TRUE(Unpack(keyboard, {0x01, 0x02, 0x00, 0x04, 0x05, 0x00, 0x00, 0x00, 0x00}));
    EXPECT_EQ(Pressed(keyboard.kinds[HidP_Input].items[0]), std::vector<uint16_t>{0xE1});
    EXPECT_EQ(Pressed(keyboard.kinds[HidP_Input].items[1]), (std::vector<uint16_t>{0xE1, 0x04, 0x05}));
}

TEST(HidReportDescriptor, ValueRangeGivesOneItemPerUsage)
{
    // X, Y and Z as one usage range of three 16-bit values, scaled to 0..1000.
    const Bytes descriptor = {0x05, 0x01, 0x09, 0x04, 0xA1, 0x01, 0x19, 0x30, 0x29, 0x32, 0x15, 0x00,
                              0x26, 0xFF, 0x00, 0x35, 0x00, 0x46, 0xE8, 0x03, 0x75, 0x10, 0x95, 0x03,
                              0x81, 0x02, 0xC0};
    HidCapabilitySet set = Capabilities(descriptor);
    ASSERT_EQ(set.caps.numberValueCaps[HidP_Input], 1);
    const std::vector<HidDataItem>& items = set.kinds[HidP_Input].items;
    ASSERT_EQ(items.size(), 3u);
    for (size_t i = 0; i < items.size(); ++i)
        EXPECT_EQ(items[i].usage, 0x30 + i);
    ASSERT_TRUE(Unpack(set, {0x00, 0x00, 0x00, 0xFF, 0x00, 0x80, 0x00}));
    EXPECT_EQ(items[0].scaledValue, 0);
    EXPECT_EQ(items[1].scaledValue, 1000);
    EXPECT_EQ(items[2].scaledValue, 501);
}

TEST(HidReportDescriptor, FullThirtyTwoBitRangesScaleWithoutOverflow)
{
    // One 32-bit value: logical 0..0xFFFFFFFF, physical INT32_MIN..INT32_MAX.
    const Bytes descriptor = {0x05, 0x01, 0x09, 0x04, 0xA1, 0x01, 0x09, 0x30, 0x15, 0x00, 0x27, 0xFF,
                              0xFF, 0xFF, 0xFF, 0x37, 0x00, 0x00, 0x00, 0x80, 0x47, 0xFF, 0xFF, 0xFF,
                              0x7F, 0x75, 0x20, 0x95, 0x01, 0x81, 0x02, 0xC0};
    const std::pair<Bytes, int32_t> cases[] = {
        {{0x00, 0x00, 0x00, 0x00, 0x00}, INT32_MIN},
        {{0x00, 0xFF, 0xFF, 0xFF, 0xFF}, INT32_MAX},
        {{0x00, 0xFF, 0xFF, 0xFF, 0xBF}, 0x3FFFFFFF},
    };
    for (const auto& [report, scaled] : cases) {
        HidCapabilitySet set = Capabilities(descriptor);
        ASSERT_TRUE(Unpack(set, report));
        EXPECT_EQ(set.kinds[HidP_Input].items[0].status, kHidStatusSuccess);
        EXPECT_EQ(set.kinds[HidP_Input].items[0].scaledValue, scaled);
    }
}

TEST(HidReportDescriptor, ReportWhoseIdMatchesNoItemLeavesItemsUntouched)
{
    HidCapabilitySet set = Capabilities(kConsumerControl);
    HidDataItem before = set.kinds[HidP_Input].items[0];
    EXPECT_TRUE(Unpack(set, {0x09, 0xE9, 0x00}));
    const HidDataItem& after = set.kinds[HidP_Input].items[0];
    EXPECT_FALSE(after.dataSet);
    EXPECT_EQ(after.usages, before.usages);
    EXPECT_EQ(after.status, kHidStatusSuccess);
}

TEST(HidReportDescriptor, ShortReportFailsTheValueAndKeepsLaterItems)
{
    HidCapabilitySet set = Capabilities(kBootMouse);
    EXPECT_FALSE(Unpack(set, {0x00, 0x01, 0x05}));  // Y and wheel missing
    const std::vector<HidDataItem>& items = set.kinds[HidP_Input].items;
    EXPECT_EQ(items[1].scaledValue, 5);
    EXPECT_EQ(items[2].status, kHidStatusInvalidReportLength);
    EXPECT_FALSE(items[3].dataSet);
}

TEST(HidReportDescriptor, ShortReportLeavesNoEarlierUsagePressed)
{
    HidCapabilitySet set = Capabilities(kConsumerControl);
    const HidDataItem& item = set.kinds[HidP_Input].items[0];
    ASSERT_TRUE(Unpack(set, {0x02, 0xE9, 0x00}));
    ASSERT_EQ(Pressed(item), std::vector<uint16_t>{0xE9});
    Unpack(set, {0x02, 0xEA});  // cut short inside the usage
    EXPECT_EQ(item.status, kHidStatusInvalidReportLength);
    EXPECT_TRUE(Pressed(item).empty());
}

// Damaged descriptors are refused as a whole.
TEST(HidReportDescriptor, DamagedDescriptorsAreRefused)
{
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"truncated item data", {0x05}},
        {"collection never ends", {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01}},
        {"end without collection", {0xC0}},
        {"pop without push", {0xB4}},
        {"main item outside a collection", {0x75, 0x08, 0x95, 0x01, 0x81, 0x02}},
        {"report id zero", {0x85, 0x00}},
        {"truncated long item", {0xFE, 0x05, 0x00}},
        {"reserved item type", {0x0C}},
        {"report over 4096 bytes",
         {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x75, 0x20, 0x96, 0xFF, 0xFF, 0x81, 0x02, 0xC0}},
    };
    for (const auto& [name, descriptor] : cases)
        EXPECT_FALSE(ParseReportDescriptor(descriptor.data(), descriptor.size()).has_value()) << name;
}

TEST(HidReportDescriptor, DamagedDescriptorLeavesCapabilitiesOfTheGreetingWithoutItems)
{
    HidInterfaceInfo info;
    info.usagePage = 0xFF00;
    info.reportByteLength[HidP_Input] = 64;
    info.reportDescriptor = {0xA1, 0x01};
    const HidCapabilitySet set = BuildCapabilities(info);
    EXPECT_EQ(set.caps.inputReportByteLength, 64);
    EXPECT_EQ(set.kinds[HidP_Input].reportBuffer.size(), 64u);
    EXPECT_EQ(set.preparsed, nullptr);
    EXPECT_TRUE(set.kinds[HidP_Input].items.empty());
}

TEST(HidReportDescriptor, HugeUsageRangesStayBounded)
{
    // 65536 value usages in one range over a small field.
    const Bytes descriptor = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x19, 0x00, 0x2A, 0xFF, 0xFF,
                              0x75, 0x08, 0x95, 0x10, 0x81, 0x02, 0x1A, 0x00, 0x00, 0x2A, 0xFF, 0xFF,
                              0x75, 0x08, 0x95, 0x01, 0x81, 0x00, 0xC0};
    const HidCapabilitySet set = Capabilities(descriptor);
    EXPECT_LE(set.kinds[HidP_Input].items.size(), kMaxDataItemsPerKind);
    for (const HidDataItem& item : set.kinds[HidP_Input].items)
        EXPECT_LE(item.usages.size(), kMaxUsageListLength);
}

TEST(HidReportDescriptor, ManyButtonItemsOverOneLongArrayUnpackWithoutHanging)
{
    // 2000 single usages over one array of 32752 one-bit elements: 1024 button
    // items, each reading the same long field.
    Bytes descriptor = {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x05, 0x09};
    for (int i = 0; i < 2000; ++i)
        descriptor.insert(descriptor.end(), {0x09, 0x01});
    descriptor.insert(descriptor.end(), {0x15, 0x00, 0x26, 0xFF, 0x7F, 0x75, 0x01, 0x96, 0xF0, 0x7F, 0x81, 0x00, 0xC0});
    HidCapabilitySet set = Capabilities(descriptor);
    ASSERT_EQ(set.kinds[HidP_Input].items.size(), kMaxDataItemsPerKind);
    auto unpacking = std::async(std::launch::async, [&] { return Unpack(set, Bytes(4095, 0)); });
    ASSERT_EQ(unpacking.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_TRUE(unpacking.get());
    EXPECT_EQ(Pressed(set.kinds[HidP_Input].items.back()).size(), set.kinds[HidP_Input].items.back().usages.size());
}

}  // namespace
