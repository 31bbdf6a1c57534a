#pragma once
// The device list's selection rules without widgets: which entries are
// visible, which one is selected ("device_select" options form one group)
// and which take part in lighting synchronisation.

#include "transport/device_table.h"

#include <vector>

struct DeviceEntryState {
    bool visible = false;
    bool selected = false;
    bool synchro = false;
};

class CDeviceListModel {
public:
    // A new entry, hidden; returns its index.
    int Add();
    int Count() const { return static_cast<int>(entries_.size()); }
    bool Valid(int index) const { return index >= 0 && index < Count(); }
    // An empty state for an index out of range.
    DeviceEntryState Entry(int index) const;

    // Shows or hides entry i; with select it becomes the group's selected
    // entry, without it loses its selection. Then synchronisation marks are
    // cleared when fewer than two visible entries carry one.
    void Select(int index, bool visible, bool select);
    void SetSynchro(int index, bool on);

    int VisibleCount() const;
    int FirstVisible(int except = -1) const;
    // The first visible, selected entry, or -1.
    int Current() const;
    // The last visible entry before the current one / the first after it; -1 at the ends.
    int Previous() const;
    int Next() const;

private:
    void ClearLoneSynchro();
    std::vector<DeviceEntryState> entries_;
};

// The slot whose record identifies the physical device of `slot` (an index
// of SupportedDeviceTable): a notification interface maps to the control
// interface of the same vendor, product and kind, and the second slot of a
// paired device (the receiver's, kind 6 or 9) to its partner when the
// partner points back. -1 for an index out of range.
int IdentitySlot(int slot);
