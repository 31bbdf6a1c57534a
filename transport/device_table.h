#pragma once
// The supported HID interfaces, the device families built on them, and the
// slot list the discovery thread fills: one slot per supported interface,
// slot index = row index of SupportedDeviceTable.

#include <array>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

// Vendor and product ids of the family's devices.
constexpr uint16_t kMakerVendor = 0x320F;
constexpr uint16_t kHeadsetVendor = 0x0C76;
constexpr uint16_t kKeyboardProduct = 0x0000;
constexpr uint16_t kMouseCableProduct = 0x22A9;
constexpr uint16_t kMouseReceiverProduct = 0x22AA;
constexpr uint16_t kMousePadProduct = 0x1004;
constexpr uint16_t kHeadsetProduct = 0x1630;

enum DeviceKind : uint16_t {
    kKindKeyboard = 1,
    kKindMouseCable = 2,
    kKindMousePad = 3,
    kKindMouseReceiver = 6,
    kKindHeadset = 7,
    kKindKeyboardSecond = 9,  // second slot of the keyboard's interfaces
};

enum InterfaceRole : uint16_t {
    kRoleControl = 0,         // command frames
    kRoleNotification = 255,  // read by the page's listeners
};

// One supported interface, or one slot.
struct DeviceRecord {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t interfaceNumber = 0;
    uint16_t collectionNumber = 0;
    uint16_t kind = 0;
    uint16_t role = 0;
    uint16_t connected = 0;
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    uint16_t hasPartner = 0;
    uint16_t partnerIndex = 0;
    std::string path;
};

constexpr size_t kSupportedDeviceCount = 11;
extern const std::array<DeviceRecord, kSupportedDeviceCount> SupportedDeviceTable;

// How a family is shown in the device list.
struct DeviceFamilyRow {
    const char* entryLayout;
    const char* tabHeaderName;
    const char* powerSwitchName;
    const char* familyName;
    int unused[3];
    int dataIndex;
    uint16_t vendorId;
    uint16_t productId;
    uint16_t kind;
    uint16_t role;
};

// How a family's device page is set up; same row order as DeviceFamilyTable.
struct DevicePageRow {
    int lightCount;
    int keyCount;
    int powerDisplay;
    int initialValue;
    const char* pageLayout;
    const char* lightPanelName;
};

// Identities of the firmware-update and about windows. The version slot is 0
// here; the update window fills its own copy with the device's version.
struct UpdateIdentityRow {
    uint32_t typeCode;
    uint32_t flag;
    uint32_t versionSlot;
    const char* maker;
    const char* modelCode;
    const char* productType;
    const char* productSubType;
    const char* versionText;
};

constexpr size_t kDeviceFamilyCount = 4;
extern const std::array<DeviceFamilyRow, kDeviceFamilyCount> DeviceFamilyTable;
extern const std::array<DevicePageRow, kDeviceFamilyCount> DevicePageTable;
extern const std::array<UpdateIdentityRow, kDeviceFamilyCount> UpdateIdentityTable;

// How people name a kind: "keyboard", "mouse on its cable", ...; "unknown"
// for a kind of no row.
const char* DeviceKindName(uint16_t kind);

// First row whose vendor, product, kind and role are all equal, or -1.
int FindFamily(uint16_t vendorId, uint16_t productId, uint16_t kind, uint16_t role);
int FindSupported(uint16_t vendorId, uint16_t productId, uint16_t kind, uint16_t role);

// Same identifiers, usage page and usage; connection state, partner and path
// are ignored.
bool SameDevice(const DeviceRecord& a, const DeviceRecord& b);

// The slots, shared by the discovery thread and the main window. Every call
// is short and takes the list's own lock, so either side may read or change
// a slot while the other runs; nothing is held across the arrival and
// departure notifications.
class CSlotList {
public:
    CSlotList();  // one free slot per row of SupportedDeviceTable

    size_t Count() const;
    DeviceRecord Slot(int index) const;  // a copy; an empty record when out of range

    // True when a row and a free slot both carry the probe's vendor, product,
    // interface and collection numbers.
    bool SlotMatchesFree(const DeviceRecord& probe) const;
    bool AllSlotsHeld() const;
    // Takes the first free slot that matches the probe's six identifiers
    // (vendor, product, interface, collection, usage page, usage), after
    // copying kind and role of the first matching row into the probe.
    bool ClaimSlot(DeviceRecord& probe, int* slotIndex);
    bool IsPartnerConnected(int slot) const;

    // Connected slots in slot order, with their paths, for the departure check.
    std::vector<std::pair<int, std::string>> ConnectedSlots() const;
    // Frees a slot; false when it was not connected to that path (someone
    // else released or re-claimed it meanwhile).
    bool Release(int slot, const std::string& path);
    void Release(int slot);

private:
    static bool IsFree(const DeviceRecord& slot);
    bool ValidIndex(int index) const;

    mutable std::mutex mutex_;
    std::vector<DeviceRecord> slots_;
};
