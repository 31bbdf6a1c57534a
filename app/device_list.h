#pragma once
// The device list on the left of the main window: one entry per physical
// device, the page of each device in "device_switch" and its battery display
// in "device_power_switch". It follows the discovery's arrivals (3090) and
// departures (3091), moves a mouse between its cable and its receiver
// without a new page, and keeps one visible entry selected.

#include "app/device_list_model.h"
#include "app/device_option_ui.h"
#include "devices/velmora_usb_device.h"
#include "transport/device_table.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QStackedWidget>

class IDialogBuilderCallback;

// The device pages the main window owns, by family, and the current one:
// the page of the selected, visible entry of the device list.
struct CDevicePages {
    QList<CVelmoraUSBDevice*> mousePads;
    QList<CVelmoraUSBDevice*> mice;
    QList<CVelmoraUSBDevice*> keyboards;
    QList<CVelmoraUSBDevice*> headsets;
    QList<CVelmoraUSBDevice*> all;
    QPointer<CVelmoraUSBDevice> current;

    // Adds a page to the list of its family and to all pages.
    void Add(CVelmoraUSBDevice* page);
    // The mouse, mouse-pad and keyboard pages: those that follow the window's
    // activity and the lighting control.
    QList<CVelmoraUSBDevice*> LitPages() const;
    QList<CVelmoraUSBDevice*> MouseAndKeyboardPages() const;
};

class CDeviceList : public QObject {
    Q_OBJECT
public:
    static constexpr int kConnectionCheckMs = 500;

    CDeviceList(IDialogBuilderCallback* builder, CSlotList& slotList, CDevicePages& pages);
    // Finds the list's containers in the window's layout.
    void Bind(QWidget* window);

    void Arrival(int slot);
    void Removal(int slot);
    // Message 3331: linked 0 the entry's device was lost, 1 it is back.
    void EntryStateChanged(int entry, int linked);
    void Select(int entry, bool visible, bool select);
    void HideAndReselect(int entry);
    void Previous();
    void Next();

    int VisibleCount() const { return model_.VisibleCount(); }
    int EntryCount() const { return static_cast<int>(entries_.size()); }
    CDeviceOptionUI* Entry(int index) const;
    CDeviceOptionUI* EntryOf(const CVelmoraUSBDevice* page) const;
    const CDeviceListModel& Model() const { return model_; }
    // The page of the visible, selected entry, or null.
    CVelmoraUSBDevice* CurrentPage() const;

signals:
    void SelectionChanged();
    void PageCreated(CVelmoraUSBDevice* page);
    // The selected device left: windows that work on it should close.
    void CurrentDeviceLost();

private:
    CVelmoraUSBDevice* PageOf(int identitySlot) const;
    CVelmoraUSBDevice* CreatePage(int family, const DeviceRecord& identity);
    CVelmoraUSBDevice* BuildPage(int family);
    void AddEntry(CVelmoraUSBDevice* page, int family);
    void ConnectControl(CVelmoraUSBDevice* page, const DeviceRecord& slot);
    void Disconnect(CVelmoraUSBDevice* page);
    void SwitchConnection(CVelmoraUSBDevice* page, int identitySlot);
    void AwaitLinkThenCheck(CVelmoraUSBDevice* page, CDeviceOptionUI* entry);
    void ShowEntries();

    IDialogBuilderCallback* builder_;
    CSlotList& slotList_;
    CDevicePages& pages_;
    CDeviceListModel model_;
    QList<CDeviceOptionUI*> entries_;
    QPointer<QWidget> selectLayout_;
    QPointer<QStackedWidget> deviceSwitch_;
    QPointer<QStackedWidget> powerSwitch_;
};
