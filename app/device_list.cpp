#include "app/device_list.h"

#include "devices/page/receiver_link.h"
#include "platform/trace.h"
#include "ui/dialog_builder.h"

#include <QHBoxLayout>

void CDevicePages::Add(CVelmoraUSBDevice* page)
{
    all.append(page);
    if (IsMousePage(page))
        mice.append(page);
    else if (IsKeyboardPage(page))
        keyboards.append(page);
    else if (page->GetDeviceKind() == kKindMousePad)
        mousePads.append(page);
    else if (page->GetDeviceKind() == kKindHeadset)
        headsets.append(page);
}

QList<CVelmoraUSBDevice*> CDevicePages::LitPages() const
{
    return mice + mousePads + keyboards;
}

QList<CVelmoraUSBDevice*> CDevicePages::MouseAndKeyboardPages() const
{
    return mice + keyboards;
}

CDeviceList::CDeviceList(IDialogBuilderCallback* builder, CSlotList& slotList, CDevicePages& pages)
    : builder_(builder), slotList_(slotList), pages_(pages)
{
}

void CDeviceList::Bind(QWidget* window)
{
    selectLayout_ = window->findChild<QWidget*>(QStringLiteral("device_select_layout"));
    deviceSwitch_ = window->findChild<QStackedWidget*>(QStringLiteral("device_switch"));
    powerSwitch_ = window->findChild<QStackedWidget*>(QStringLiteral("device_power_switch"));
}

CDeviceOptionUI* CDeviceList::Entry(int index) const
{
    return index >= 0 && index < entries_.size() ? entries_[index] : nullptr;
}

CDeviceOptionUI* CDeviceList::EntryOf(const CVelmoraUSBDevice* page) const
{
    for (CDeviceOptionUI* entry : entries_) {
        if (entry->Page() == page)
            return entry;
    }
    return nullptr;
}

CVelmoraUSBDevice* CDeviceList::CurrentPage() const
{
    const CDeviceOptionUI* entry = Entry(model_.Current());
    return entry ? entry->Page() : nullptr;
}

CVelmoraUSBDevice* CDeviceList::PageOf(int identitySlot) const
{
    const DeviceRecord& identity = SupportedDeviceTable[static_cast<size_t>(identitySlot)];
    for (CVelmoraUSBDevice* page : pages_.all) {
        if (SameDevice(page->Identity(), identity))
            return page;
    }
    return nullptr;
}

void CDeviceList::Arrival(int slot)
{
    const int identitySlot = IdentitySlot(slot);
    if (identitySlot < 0)
        return;
    const DeviceRecord& identity = SupportedDeviceTable[static_cast<size_t>(identitySlot)];
    const int family = FindFamily(identity.vendorId, identity.productId, identity.kind, identity.role);
    if (family < 0)
        return;
    CVelmoraUSBDevice* page = PageOf(identitySlot);
    if (!page)
        page = CreatePage(family, identity);
    if (!page)
        return;
    const DeviceRecord arrived = slotList_.Slot(slot);
    if (arrived.role != kRoleControl) {
        if (!page->OpenNotificationInterface(arrived.path, arrived.kind))
            Trace("notification interface could not be opened");
        return;
    }
    if (arrived.hasPartner && slotList_.IsPartnerConnected(slot))
        SwitchConnection(page, identitySlot);
    else if (!page->Channel().IsOpen())
        ConnectControl(page, arrived);
    CDeviceOptionUI* entry = EntryOf(page);
    if (!entry)
        return;
    if (arrived.kind != kKindMouseReceiver) {
        const bool select = model_.FirstVisible(entry->Index()) < 0 || model_.Entry(entry->Index()).selected;
        Select(entry->Index(), true, select);
    }
    entry->StartTimer(CDeviceOptionUI::kConnectionTimer, kConnectionCheckMs);
}

void CDeviceList::Removal(int slot)
{
    const int identitySlot = IdentitySlot(slot);
    if (identitySlot < 0)
        return;
    CVelmoraUSBDevice* page = PageOf(identitySlot);
    if (!page)
        return;
    const DeviceRecord& left = SupportedDeviceTable[static_cast<size_t>(slot)];
    if (left.role != kRoleControl) {
        page->CloseNotificationInterface(left.kind);
        return;
    }
    if (left.hasPartner && slotList_.IsPartnerConnected(slot)) {
        SwitchConnection(page, identitySlot);
        return;
    }
    if (left.kind == kKindMouseCable || left.kind == kKindMouseReceiver)
        Trace("鼠标设备丢失");
    Disconnect(page);
    if (CDeviceOptionUI* entry = EntryOf(page))
        HideAndReselect(entry->Index());
}

void CDeviceList::ConnectControl(CVelmoraUSBDevice* page, const DeviceRecord& slot)
{
    CCommandChannel& channel = page->Channel();
    const bool receiver = slot.kind == kKindMouseReceiver || slot.kind == kKindKeyboardSecond;
    CHidDevice& device = receiver ? channel.ReceiverInterface() : channel.CableInterface();
    if (!device.Open(slot.path.c_str(), true, true, true, false)) {
        Trace("control interface could not be opened");
        return;
    }
    channel.SetConnectionMode(receiver ? kReceiverMode : kCableMode);
    page->SetReceiver(receiver ? 1 : 0);
    channel.SetOpen(true);
}

void CDeviceList::Disconnect(CVelmoraUSBDevice* page)
{
    CCommandChannel& channel = page->Channel();
    channel.SetOpen(false);
    channel.CableInterface().Close();
    channel.ReceiverInterface().Close();
    if (CDeviceOptionUI* entry = EntryOf(page))
        entry->StopTimers();
}

// The page follows the cable whenever its cable is connected, and the
// receiver otherwise: plugging the receiver while the cable is in leaves the
// page on the cable, where the device answers.
void CDeviceList::SwitchConnection(CVelmoraUSBDevice* page, int identitySlot)
{
    const DeviceRecord cable = slotList_.Slot(identitySlot);
    const DeviceRecord receiver = slotList_.Slot(SupportedDeviceTable[static_cast<size_t>(identitySlot)].partnerIndex);
    const bool toReceiver = cable.path.empty();
    if (page->Channel().IsOpen() && (page->IsReceiver() != 0) == toReceiver)
        return;
    Disconnect(page);
    ConnectControl(page, toReceiver ? receiver : cable);
    CDeviceOptionUI* entry = EntryOf(page);
    if (!entry || !page->Channel().IsOpen())
        return;
    if (toReceiver && page->HasWirelessFeatures()) {
        AwaitLinkThenCheck(page, entry);
        return;
    }
    // The connection check reads the device again on its new road.
    entry->StartTimer(CDeviceOptionUI::kConnectionTimer, kConnectionCheckMs);
    if (!toReceiver)
        EntryStateChanged(entry->Index(), 1);
}

// A mouse whose cable was pulled needs a moment to bring its radio up: its
// link is awaited on the page's worker before the connection check, which
// would otherwise hide the entry for its whole retry period.
void CDeviceList::AwaitLinkThenCheck(CVelmoraUSBDevice* page, CDeviceOptionUI* entry)
{
    QPointer<CDeviceOptionUI> checked(entry);
    page->RunOnDevice(
        [page] {
            const auto pause = [page](std::chrono::milliseconds wait) { return page->PauseOnWorker(wait); };
            return AwaitReceiverLink(page->Channel(), pause) ? 1 : 0;
        },
        [checked](int) {
            if (checked)
                checked->StartTimer(CDeviceOptionUI::kConnectionTimer, 0);
        });
}

CVelmoraUSBDevice* CDeviceList::BuildPage(int family)
{
    const QString layout = QString::fromLatin1(DevicePageTable[static_cast<size_t>(family)].pageLayout);
    QWidget* root = CDialogBuilder::Create(layout, builder_, nullptr);
    if (auto* page = qobject_cast<CVelmoraUSBDevice*>(root))
        return page;
    // A family without a page of its own yet: the base page around its layout.
    auto* page = new CVelmoraUSBDevice;
    auto* box = new QHBoxLayout(page);
    box->setContentsMargins(0, 0, 0, 0);
    if (root)
        box->addWidget(root);
    return page;
}

CVelmoraUSBDevice* CDeviceList::CreatePage(int family, const DeviceRecord& identity)
{
    if (!deviceSwitch_ || !powerSwitch_ || !selectLayout_ || !selectLayout_->layout())
        return nullptr;
    const DevicePageRow& row = DevicePageTable[static_cast<size_t>(family)];
    const DeviceFamilyRow& familyRow = DeviceFamilyTable[static_cast<size_t>(family)];
    CVelmoraUSBDevice* page = BuildPage(family);
    page->SetDeviceKind(identity.kind);
    page->SetInterfaceRole(identity.role);
    page->SetIdentity(identity);
    page->SetDataIndex(familyRow.dataIndex);
    page->SetLightCount(row.lightCount);
    page->SetKeyCount(row.keyCount);
    page->SetPowerDisplay(row.powerDisplay);
    page->SetInitialValue(row.initialValue);
    page->SetFamilyName(QString::fromLatin1(familyRow.familyName));
    page->SetLightPanelName(QString::fromLatin1(row.lightPanelName));
    page->SetLayoutPath(QString::fromLatin1(row.pageLayout));
    page->BindKeyAndLightControls();
    pages_.Add(page);
    deviceSwitch_->addWidget(page);
    AddEntry(page, family);
    emit PageCreated(page);
    return page;
}

void CDeviceList::AddEntry(CVelmoraUSBDevice* page, int family)
{
    auto* power = new CMpDevicePowerUI;
    power->SetDeviceKind(page->GetDeviceKind());
    const int powerTab = powerSwitch_->addWidget(power);
    const int powerIndex = DevicePageTable[static_cast<size_t>(family)].powerDisplay ? powerTab : -1;
    auto* entry = new CDeviceOptionUI(model_.Add(), page, power, powerIndex);
    selectLayout_->layout()->addWidget(entry);
    entries_.append(entry);
    connect(entry, &CDeviceOptionUI::Clicked, this, [this](int index) {
        if (model_.Entry(index).visible)
            Select(index, true, true);
    });
    connect(entry, &CDeviceOptionUI::SynchroToggled, this, [this](int index, bool on) {
        model_.SetSynchro(index, on);
        ShowEntries();
    });
}

void CDeviceList::Select(int index, bool visible, bool select)
{
    CDeviceOptionUI* entry = Entry(index);
    if (!entry)
        return;
    model_.Select(index, visible, select);
    if (select) {
        deviceSwitch_->setCurrentWidget(entry->Page());
        powerSwitch_->setVisible(entry->PowerIndex() >= 0);
        if (entry->PowerIndex() >= 0)
            powerSwitch_->setCurrentIndex(entry->PowerIndex());
        if (entry->Page()->IsReceiver() && entry->Page()->Channel().IsOpen())
            entry->StartTimer(CDeviceOptionUI::kBatteryTimer, 50);
    }
    if (model_.VisibleCount() == 0) {
        powerSwitch_->setCurrentIndex(0);
        deviceSwitch_->setCurrentIndex(0);
    }
    const bool several = model_.VisibleCount() > 1;
    for (CVelmoraUSBDevice* page : pages_.all) {
        page->SetMultipleDevices(several);
        if (!several)
            page->SetLightingSync(0);
    }
    ShowEntries();
}

void CDeviceList::ShowEntries()
{
    for (CDeviceOptionUI* entry : entries_) {
        const DeviceEntryState state = model_.Entry(entry->Index());
        entry->Show(state.visible, state.selected, state.synchro);
    }
    pages_.current = CurrentPage();
    emit SelectionChanged();
}

void CDeviceList::HideAndReselect(int index)
{
    if (!Entry(index))
        return;
    const DeviceEntryState state = model_.Entry(index);
    if (state.visible && state.selected)
        emit CurrentDeviceLost();
    const int next = state.visible && state.selected ? model_.FirstVisible(index) : -1;
    Select(index, false, false);
    if (next >= 0)
        Select(next, true, true);
}

void CDeviceList::EntryStateChanged(int index, int linked)
{
    CDeviceOptionUI* entry = Entry(index);
    if (!entry)
        return;
    if (linked == 0) {
        HideAndReselect(index);
        Trace("2.4gcesvdfherhue 1");
        return;
    }
    if (!model_.Entry(index).visible)
        Select(index, true, model_.VisibleCount() == 0);
}

void CDeviceList::Previous()
{
    const int previous = model_.Previous();
    if (previous >= 0)
        Select(previous, true, true);
}

void CDeviceList::Next()
{
    const int next = model_.Next();
    if (next >= 0)
        Select(next, true, true);
}
