// The supported-device tables, their lookups and the slot list.

#include "transport/device_table.h"

#include <gtest/gtest.h>

#include <string_view>

namespace {

struct ExpectedRow {
    uint16_t vendor, product, interfaceNumber, collection, kind, role, usagePage, usage, hasPartner, partner;
};

constexpr ExpectedRow kExpectedRows[kSupportedDeviceCount] = {
    {0x320F, 0x0000, 1, 4, 1, 0, 0xFF1C, 0x0092, 1, 2},   {0x320F, 0x0000, 0, 3, 1, 255, 0x000C, 0x0001, 1, 3},
    {0x320F, 0x0000, 1, 4, 9, 0, 0xFF1C, 0x0092, 1, 0},   {0x320F, 0x0000, 0, 3, 9, 255, 0x000C, 0x0001, 1, 1},
    {0x320F, 0x22A9, 1, 2, 2, 0, 0xFF1C, 0x0092, 1, 6},   {0x320F, 0x22A9, 0, 3, 2, 255, 0x000C, 0x0001, 1, 7},
    {0x320F, 0x22AA, 1, 4, 6, 0, 0xFF1C, 0x0092, 1, 4},   {0x320F, 0x22AA, 1, 3, 6, 255, 0x000C, 0x0001, 1, 5},
    {0x320F, 0x1004, 1, 4, 3, 0, 0xFF1C, 0x0092, 0, 0},   {0x320F, 0x1004, 0, 3, 3, 255, 0x000C, 0x0001, 0, 0},
    {0x0C76, 0x1630, 3, 0, 7, 0, 0x000C, 0x0001, 0, 0},
};

DeviceRecord Probe(int row, const std::string& path)
{
    DeviceRecord probe = SupportedDeviceTable[static_cast<size_t>(row)];
    probe.kind = 0;
    probe.role = 0;
    probe.path = path;
    return probe;
}

TEST(DeviceTableTest, SupportedRowsAreTheKnownInterfaces)
{
    for (size_t i = 0; i < kSupportedDeviceCount; ++i) {
        SCOPED_TRACE(testing::Message() << "row " << i);
        const DeviceRecord& row = SupportedDeviceTable[i];
        const ExpectedRow& e = kExpectedRows[i];
        EXPECT_EQ(row.vendorId, e.vendor);
        EXPECT_EQ(row.productId, e.product);
        EXPECT_EQ(row.interfaceNumber, e.interfaceNumber);
        EXPECT_EQ(row.collectionNumber, e.collection);
        EXPECT_EQ(row.kind, e.kind);
        EXPECT_EQ(row.role, e.role);
        EXPECT_EQ(row.usagePage, e.usagePage);
        EXPECT_EQ(row.usage, e.usage);
        EXPECT_EQ(row.hasPartner, e.hasPartner);
        EXPECT_EQ(row.partnerIndex, e.partner);
        EXPECT_EQ(row.connected, 0);
        EXPECT_TRUE(row.path.empty());
    }
}

TEST(DeviceTableTest, FamilyPageAndIdentityRowsLineUp)
{
    const char* families[] = {"mouse", "keyboard", "MousePad", "HD"};
    const int dataIndexes[] = {1, 0, 2, 3};
    const int lightCounts[] = {15, 170, 15, 13};
    const int keyCounts[] = {11, 170, 0, 0};
    const char* layouts[] = {"XML\\DeviceXml\\mousedevice.xml", "XML\\DeviceXml\\keyboarddevice.xml",
                             "XML\\DeviceXml\\mousepaddevice.xml", "XML\\DeviceXml\\hs6533device.xml"};
    const char* models[] = {"PL52R31C", "PL52R30C", "PL52R22C_1", "ALL"};
    for (size_t i = 0; i < kDeviceFamilyCount; ++i) {
        SCOPED_TRACE(testing::Message() << "row " << i);
        EXPECT_EQ(std::string_view(DeviceFamilyTable[i].familyName), families[i]);
        EXPECT_EQ(std::string_view(DeviceFamilyTable[i].entryLayout), "XML\\CustomControlXML\\DeviceOption.xml");
        EXPECT_EQ(DeviceFamilyTable[i].dataIndex, dataIndexes[i]);
        EXPECT_EQ(DevicePageTable[i].lightCount, lightCounts[i]);
        EXPECT_EQ(DevicePageTable[i].keyCount, keyCounts[i]);
        EXPECT_EQ(DevicePageTable[i].powerDisplay, i == 0 ? 1 : 0);
        EXPECT_EQ(DevicePageTable[i].initialValue, -1);
        EXPECT_EQ(std::string_view(DevicePageTable[i].pageLayout), layouts[i]);
        EXPECT_EQ(std::string_view(UpdateIdentityTable[i].modelCode), models[i]);
        EXPECT_EQ(UpdateIdentityTable[i].flag, 1u);
    }
    EXPECT_EQ(std::string_view(UpdateIdentityTable[3].versionText), "V0101");
    EXPECT_EQ(std::string_view(UpdateIdentityTable[2].productType), "Q71");
}

TEST(DeviceTableTest, FamilyKeysAndIdentityStringsAreExact)
{
    struct FamilyKeys {
        uint16_t vendor, product, kind, role;
    };
    const FamilyKeys keys[] = {{0x320F, 0x22A9, 2, 0}, {0x320F, 0x0000, 1, 0}, {0x320F, 0x1004, 3, 0},
                               {0x0C76, 0x1630, 7, 0}};
    struct Identity {
        uint32_t typeCode;
        const char* productType;
        const char* subType;
        const char* versionText;
    };
    const Identity identities[] = {
        {1, "MS", "MS", ""}, {1, "KB", "KB", ""}, {2, "Q71", "Q71", ""}, {0, "Q71_BX2_BX1", "AP", "V0101"}};
    for (size_t i = 0; i < kDeviceFamilyCount; ++i) {
        SCOPED_TRACE(testing::Message() << "row " << i);
        const DeviceFamilyRow& family = DeviceFamilyTable[i];
        EXPECT_EQ(std::string_view(family.tabHeaderName), "tab_header_device");
        EXPECT_EQ(std::string_view(family.powerSwitchName), "device_power_switch");
        EXPECT_EQ(family.vendorId, keys[i].vendor);
        EXPECT_EQ(family.productId, keys[i].product);
        EXPECT_EQ(family.kind, keys[i].kind);
        EXPECT_EQ(family.role, keys[i].role);
        EXPECT_EQ(std::string_view(DevicePageTable[i].lightPanelName), "kelvo_light");
        const UpdateIdentityRow& identity = UpdateIdentityTable[i];
        EXPECT_EQ(identity.typeCode, identities[i].typeCode);
        EXPECT_EQ(identity.versionSlot, 0u);
        EXPECT_EQ(std::string_view(identity.maker), "KELVO");
        EXPECT_EQ(std::string_view(identity.productType), identities[i].productType);
        EXPECT_EQ(std::string_view(identity.productSubType), identities[i].subType);
        EXPECT_EQ(std::string_view(identity.versionText), identities[i].versionText);
    }
}

TEST(DeviceTableTest, LookupsReturnTheFirstRowOfFourEqualValues)
{
    struct Case {
        uint16_t vendor, product, kind, role;
        int family, supported;
    };
    const Case cases[] = {
        {0x320F, 0x22A9, 2, 0, 0, 4},    {0x320F, 0x0000, 1, 0, 1, 0},     {0x320F, 0x0000, 9, 255, -1, 3},
        {0x320F, 0x1004, 3, 0, 2, 8},    {0x0C76, 0x1630, 7, 0, 3, 10},    {0x320F, 0x22AA, 6, 0, -1, 6},
        {0x320F, 0x22A9, 6, 0, -1, -1},  {0x1234, 0x22A9, 2, 0, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.product << " kind " << std::dec << c.kind);
        EXPECT_EQ(FindFamily(c.vendor, c.product, c.kind, c.role), c.family);
        EXPECT_EQ(FindSupported(c.vendor, c.product, c.kind, c.role), c.supported);
    }
}

TEST(DeviceTableTest, SameDeviceIgnoresConnectionPartnerAndPath)
{
    DeviceRecord a = SupportedDeviceTable[4];
    DeviceRecord b = a;
    b.connected = 1;
    b.path = "elsewhere";
    b.hasPartner = 0;
    b.partnerIndex = 9;
    EXPECT_TRUE(SameDevice(a, b));
    EXPECT_FALSE(SameDevice(SupportedDeviceTable[0], SupportedDeviceTable[2]));  // kind differs
    b.usage = 1;
    EXPECT_FALSE(SameDevice(a, b));
}

TEST(SlotListTest, OneKeyboardInterfaceClaimsItsTwoSlotsInTurn)
{
    CSlotList slots;
    DeviceRecord probe = Probe(0, "keyboard-control");
    int slot = -1;
    ASSERT_TRUE(slots.ClaimSlot(probe, &slot));
    EXPECT_EQ(slot, 0);
    EXPECT_EQ(probe.kind, kKindKeyboard);
    EXPECT_TRUE(slots.SlotMatchesFree(probe));
    ASSERT_TRUE(slots.ClaimSlot(probe, &slot));
    EXPECT_EQ(slot, 2);
    EXPECT_EQ(slots.Slot(2).kind, kKindKeyboardSecond);
    EXPECT_EQ(slots.Slot(2).path, "keyboard-control");
    EXPECT_FALSE(slots.SlotMatchesFree(probe));
    EXPECT_FALSE(slots.ClaimSlot(probe, &slot));
}

TEST(SlotListTest, ClaimNeedsUsagePageAndUsage)
{
    CSlotList slots;
    DeviceRecord probe = Probe(4, "mouse-collection");
    probe.usagePage = 0x0001;
    probe.usage = 0x0002;
    EXPECT_TRUE(slots.SlotMatchesFree(probe));
    int slot = -1;
    EXPECT_FALSE(slots.ClaimSlot(probe, &slot));
    EXPECT_EQ(slots.Slot(4).connected, 0);
}

TEST(SlotListTest, PartnersAreConnectedOnlyWhenBothSlotsAreHeld)
{
    CSlotList slots;
    DeviceRecord cable = Probe(4, "cable");
    DeviceRecord receiver = Probe(6, "receiver");
    int slot = -1;
    ASSERT_TRUE(slots.ClaimSlot(cable, &slot));
    EXPECT_FALSE(slots.IsPartnerConnected(4));
    ASSERT_TRUE(slots.ClaimSlot(receiver, &slot));
    EXPECT_TRUE(slots.IsPartnerConnected(4));
    EXPECT_TRUE(slots.IsPartnerConnected(6));
    EXPECT_FALSE(slots.IsPartnerConnected(8));   // no partner
    EXPECT_FALSE(slots.IsPartnerConnected(42));  // no such slot
    slots.Release(6);
    EXPECT_FALSE(slots.IsPartnerConnected(4));
}

TEST(SlotListTest, AllSlotsHeldOnlyWhenNoneIsFree)
{
    CSlotList slots;
    int slot = -1;
    for (size_t row = 0; row < kSupportedDeviceCount; ++row) {
        EXPECT_FALSE(slots.AllSlotsHeld());
        DeviceRecord probe = Probe(static_cast<int>(row), "path" + std::to_string(row));
        slots.ClaimSlot(probe, &slot);
    }
    EXPECT_TRUE(slots.AllSlotsHeld());
    EXPECT_FALSE(slots.Release(3, "someone else"));
    EXPECT_TRUE(slots.AllSlotsHeld());
    EXPECT_TRUE(slots.Release(3, slots.Slot(3).path));
    EXPECT_FALSE(slots.AllSlotsHeld());
}

}  // namespace
