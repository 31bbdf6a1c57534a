#include "app/device_list_model.h"

int CDeviceListModel::Add()
{
    entries_.push_back({});
    return Count() - 1;
}

DeviceEntryState CDeviceListModel::Entry(int index) const
{
    return Valid(index) ? entries_[static_cast<size_t>(index)] : DeviceEntryState{};
}

void CDeviceListModel::Select(int index, bool visible, bool select)
{
    if (!Valid(index))
        return;
    DeviceEntryState& entry = entries_[static_cast<size_t>(index)];
    entry.visible = visible;
    if (select) {
        for (DeviceEntryState& other : entries_)
            other.selected = false;
    }
    entry.selected = select;
    ClearLoneSynchro();
}

void CDeviceListModel::SetSynchro(int index, bool on)
{
    if (!Valid(index))
        return;
    entries_[static_cast<size_t>(index)].synchro = on;
}

int CDeviceListModel::VisibleCount() const
{
    int count = 0;
    for (const DeviceEntryState& entry : entries_)
        count += entry.visible ? 1 : 0;
    return count;
}

int CDeviceListModel::FirstVisible(int except) const
{
    for (int i = 0; i < Count(); ++i) {
        if (i != except && entries_[static_cast<size_t>(i)].visible)
            return i;
    }
    return -1;
}

int CDeviceListModel::Current() const
{
    for (int i = 0; i < Count(); ++i) {
        const DeviceEntryState& entry = entries_[static_cast<size_t>(i)];
        if (entry.visible && entry.selected)
            return i;
    }
    return -1;
}

int CDeviceListModel::Previous() const
{
    const int current = Current();
    for (int i = current - 1; i >= 0 && current >= 0; --i) {
        if (entries_[static_cast<size_t>(i)].visible)
            return i;
    }
    return -1;
}

int CDeviceListModel::Next() const
{
    const int current = Current();
    for (int i = current + 1; i < Count() && current >= 0; ++i) {
        if (entries_[static_cast<size_t>(i)].visible)
            return i;
    }
    return -1;
}

void CDeviceListModel::ClearLoneSynchro()
{
    int marked = 0;
    for (const DeviceEntryState& entry : entries_)
        marked += entry.visible && entry.synchro ? 1 : 0;
    if (marked >= 2)
        return;
    for (DeviceEntryState& entry : entries_)
        entry.synchro = false;
}

int IdentitySlot(int slot)
{
    if (slot < 0 || static_cast<size_t>(slot) >= SupportedDeviceTable.size())
        return -1;
    const DeviceRecord& row = SupportedDeviceTable[static_cast<size_t>(slot)];
    if (row.role != kRoleControl)
        slot = FindSupported(row.vendorId, row.productId, row.kind, kRoleControl);
    if (slot < 0)
        return -1;
    const DeviceRecord& control = SupportedDeviceTable[static_cast<size_t>(slot)];
    const bool secondOfPair = control.kind == kKindMouseReceiver || control.kind == kKindKeyboardSecond;
    if (secondOfPair && control.hasPartner &&
        SupportedDeviceTable[control.partnerIndex].partnerIndex == static_cast<uint16_t>(slot))
        return control.partnerIndex;
    return slot;
}
