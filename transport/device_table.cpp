#include "transport/device_table.h"

namespace {

constexpr uint16_t kVendorPage = 0xFF1C;
constexpr uint16_t kVendorUsage = 0x0092;
constexpr uint16_t kConsumerPage = 0x000C;
constexpr uint16_t kConsumerUsage = 0x0001;

DeviceRecord Row(uint16_t vendorId, uint16_t productId, uint16_t interfaceNumber, uint16_t collectionNumber,
                 uint16_t kind, uint16_t role, uint16_t usagePage, uint16_t usage, uint16_t hasPartner,
                 uint16_t partnerIndex)
{
    DeviceRecord row;
    row.vendorId = vendorId;
    row.productId = productId;
    row.interfaceNumber = interfaceNumber;
    row.collectionNumber = collectionNumber;
    row.kind = kind;
    row.role = role;
    row.usagePage = usagePage;
    row.usage = usage;
    row.hasPartner = hasPartner;
    row.partnerIndex = partnerIndex;
    return row;
}

constexpr const char* kEntryLayout = "XML\\CustomControlXML\\DeviceOption.xml";
constexpr const char* kTabHeaderName = "tab_header_device";
constexpr const char* kPowerSwitchName = "device_power_switch";
constexpr const char* kLightPanelName = "kelvo_light";

bool SameFourIdentifiers(const DeviceRecord& a, const DeviceRecord& b)
{
    return a.vendorId == b.vendorId && a.productId == b.productId && a.collectionNumber == b.collectionNumber &&
           a.interfaceNumber == b.interfaceNumber;
}

bool SameSixIdentifiers(const DeviceRecord& a, const DeviceRecord& b)
{
    return SameFourIdentifiers(a, b) && a.usagePage == b.usagePage && a.usage == b.usage;
}

template <typename Table>
int FindRow(const Table& table, uint16_t vendorId, uint16_t productId, uint16_t kind, uint16_t role)
{
    for (size_t i = 0; i < table.size(); ++i) {
        const auto& row = table[i];
        if (row.vendorId == vendorId && row.productId == productId && row.kind == kind && row.role == role)
            return static_cast<int>(i);
    }
    return -1;
}

}  // namespace

const std::array<DeviceRecord, kSupportedDeviceCount> SupportedDeviceTable = {
    Row(kMakerVendor, kKeyboardProduct, 1, 4, kKindKeyboard, kRoleControl, kVendorPage, kVendorUsage, 1, 2),
    Row(kMakerVendor, kKeyboardProduct, 0, 3, kKindKeyboard, kRoleNotification, kConsumerPage, kConsumerUsage, 1, 3),
    Row(kMakerVendor, kKeyboardProduct, 1, 4, kKindKeyboardSecond, kRoleControl, kVendorPage, kVendorUsage, 1, 0),
    Row(kMakerVendor, kKeyboardProduct, 0, 3, kKindKeyboardSecond, kRoleNotification, kConsumerPage, kConsumerUsage, 1,
        1),
    Row(kMakerVendor, kMouseCableProduct, 1, 2, kKindMouseCable, kRoleControl, kVendorPage, kVendorUsage, 1, 6),
    Row(kMakerVendor, kMouseCableProduct, 0, 3, kKindMouseCable, kRoleNotification, kConsumerPage, kConsumerUsage, 1,
        7),
    Row(kMakerVendor, kMouseReceiverProduct, 1, 4, kKindMouseReceiver, kRoleControl, kVendorPage, kVendorUsage, 1, 4),
    Row(kMakerVendor, kMouseReceiverProduct, 1, 3, kKindMouseReceiver, kRoleNotification, kConsumerPage,
        kConsumerUsage, 1, 5),
    Row(kMakerVendor, kMousePadProduct, 1, 4, kKindMousePad, kRoleControl, kVendorPage, kVendorUsage, 0, 0),
    Row(kMakerVendor, kMousePadProduct, 0, 3, kKindMousePad, kRoleNotification, kConsumerPage, kConsumerUsage, 0, 0),
    Row(kHeadsetVendor, kHeadsetProduct, 3, 0, kKindHeadset, kRoleControl, kConsumerPage, kConsumerUsage, 0, 0),
};

const std::array<DeviceFamilyRow, kDeviceFamilyCount> DeviceFamilyTable = {{
    {kEntryLayout, kTabHeaderName, kPowerSwitchName, "mouse", {0, 0, 0}, 1, kMakerVendor, kMouseCableProduct,
     kKindMouseCable, kRoleControl},
    {kEntryLayout, kTabHeaderName, kPowerSwitchName, "keyboard", {0, 0, 0}, 0, kMakerVendor, kKeyboardProduct,
     kKindKeyboard, kRoleControl},
    {kEntryLayout, kTabHeaderName, kPowerSwitchName, "MousePad", {0, 0, 0}, 2, kMakerVendor, kMousePadProduct,
     kKindMousePad, kRoleControl},
    {kEntryLayout, kTabHeaderName, kPowerSwitchName, "HD", {0, 0, 0}, 3, kHeadsetVendor, kHeadsetProduct,
     kKindHeadset, kRoleControl},
}};

const std::array<DevicePageRow, kDeviceFamilyCount> DevicePageTable = {{
    {15, 11, 1, -1, "XML\\DeviceXml\\mousedevice.xml", kLightPanelName},
    {170, 170, 0, -1, "XML\\DeviceXml\\keyboarddevice.xml", kLightPanelName},
    {15, 0, 0, -1, "XML\\DeviceXml\\mousepaddevice.xml", kLightPanelName},
    {13, 0, 0, -1, "XML\\DeviceXml\\hs6533device.xml", kLightPanelName},
}};

const std::array<UpdateIdentityRow, kDeviceFamilyCount> UpdateIdentityTable = {{
    {1, 1, 0, "KELVO", "PL52R31C", "MS", "MS", ""},
    {1, 1, 0, "KELVO", "PL52R30C", "KB", "KB", ""},
    {2, 1, 0, "KELVO", "PL52R22C_1", "Q71", "Q71", ""},
    {0, 1, 0, "KELVO", "ALL", "Q71_BX2_BX1", "AP", "V0101"},
}};

const char* DeviceKindName(uint16_t kind)
{
    switch (kind) {
    case kKindKeyboard:
    case kKindKeyboardSecond:
        return "keyboard";
    case kKindMouseCable:
        return "mouse on its cable";
    case kKindMouseReceiver:
        return "mouse through its receiver";
    case kKindMousePad:
        return "mouse pad";
    case kKindHeadset:
        return "headset";
    default:
        return "unknown";
    }
}

int FindFamily(uint16_t vendorId, uint16_t productId, uint16_t kind, uint16_t role)
{
    return FindRow(DeviceFamilyTable, vendorId, productId, kind, role);
}

int FindSupported(uint16_t vendorId, uint16_t productId, uint16_t kind, uint16_t role)
{
    return FindRow(SupportedDeviceTable, vendorId, productId, kind, role);
}

bool SameDevice(const DeviceRecord& a, const DeviceRecord& b)
{
    return SameSixIdentifiers(a, b) && a.kind == b.kind && a.role == b.role;
}

CSlotList::CSlotList() : slots_(SupportedDeviceTable.begin(), SupportedDeviceTable.end()) {}

size_t CSlotList::Count() const
{
    return slots_.size();
}

bool CSlotList::ValidIndex(int index) const
{
    return index >= 0 && static_cast<size_t>(index) < slots_.size();
}

bool CSlotList::IsFree(const DeviceRecord& slot)
{
    return slot.connected == 0 && slot.path.empty();
}

DeviceRecord CSlotList::Slot(int index) const
{
    std::lock_guard lock(mutex_);
    return ValidIndex(index) ? slots_[static_cast<size_t>(index)] : DeviceRecord{};
}

bool CSlotList::SlotMatchesFree(const DeviceRecord& probe) const
{
    // Slots are copies of the rows and keep their identifiers, so a matching
    // free slot implies a matching row.
    std::lock_guard lock(mutex_);
    for (const DeviceRecord& slot : slots_) {
        if (IsFree(slot) && SameFourIdentifiers(slot, probe))
            return true;
    }
    return false;
}

bool CSlotList::AllSlotsHeld() const
{
    std::lock_guard lock(mutex_);
    for (const DeviceRecord& slot : slots_) {
        if (IsFree(slot))
            return false;
    }
    return true;
}

bool CSlotList::ClaimSlot(DeviceRecord& probe, int* slotIndex)
{
    const DeviceRecord* row = nullptr;
    for (const DeviceRecord& candidate : SupportedDeviceTable) {
        if (SameSixIdentifiers(candidate, probe)) {
            row = &candidate;
            break;
        }
    }
    if (row == nullptr)
        return false;
    probe.kind = row->kind;
    probe.role = row->role;

    std::lock_guard lock(mutex_);
    for (size_t i = 0; i < slots_.size(); ++i) {
        DeviceRecord& slot = slots_[i];
        if (IsFree(slot) && SameSixIdentifiers(slot, probe)) {
            slot.connected = 1;
            slot.path = probe.path;
            if (slotIndex != nullptr)
                *slotIndex = static_cast<int>(i);
            return true;
        }
    }
    return false;
}

bool CSlotList::IsPartnerConnected(int slot) const
{
    std::lock_guard lock(mutex_);
    if (!ValidIndex(slot))
        return false;
    const DeviceRecord& own = slots_[static_cast<size_t>(slot)];
    if (own.hasPartner == 0 || !ValidIndex(own.partnerIndex))
        return false;
    const DeviceRecord& partner = slots_[own.partnerIndex];
    return partner.connected != 0 && !partner.path.empty() && partner.partnerIndex == slot;
}

std::vector<std::pair<int, std::string>> CSlotList::ConnectedSlots() const
{
    std::vector<std::pair<int, std::string>> connected;
    std::lock_guard lock(mutex_);
    for (size_t i = 0; i < slots_.size(); ++i) {
        if (slots_[i].connected != 0)
            connected.emplace_back(static_cast<int>(i), slots_[i].path);
    }
    return connected;
}

bool CSlotList::Release(int slot, const std::string& path)
{
    std::lock_guard lock(mutex_);
    if (!ValidIndex(slot))
        return false;
    DeviceRecord& record = slots_[static_cast<size_t>(slot)];
    if (record.connected == 0 || record.path != path)
        return false;
    record.connected = 0;
    record.path.clear();
    return true;
}

void CSlotList::Release(int slot)
{
    std::lock_guard lock(mutex_);
    if (!ValidIndex(slot))
        return;
    slots_[static_cast<size_t>(slot)].connected = 0;
    slots_[static_cast<size_t>(slot)].path.clear();
}
