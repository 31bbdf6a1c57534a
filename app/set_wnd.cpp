#include "app/set_wnd.h"

#include "app/device_list.h"
#include "app/main_messages.h"
#include "app/registered_messages.h"
#include "platform/folders.h"
#include "platform/trace.h"
#include "services/language_catalogue.h"
#include "ui/dialog_builder.h"
#include "ui/notify.h"
#include "ui/widget_text.h"

#include <QDate>
#include <QLayout>
#include <QStackedWidget>

namespace {

constexpr const char* kItemLayout = "XML\\CustomControlXML\\device_Update_list_item.xml";
constexpr const char* kItemIndexProperty = "updateItemIndex";
constexpr const char* kLastCheckFile = "updatetime.config";
constexpr int kListTab = 0;
constexpr int kConfirmTab = 1;

UpdateRecord UpToDateRecord(const char* nameId, const UpdateIdentityRow& identity)
{
    UpdateRecord record;
    record.state = UpdateState::UpToDate;
    record.name = QString::fromLatin1(nameId);
    record.currentVersion = QString::fromLatin1(identity.versionText);
    record.tooltip = QString::fromLatin1(identity.modelCode);
    return record;
}

QString Today()
{
    const QDate today = QDate::currentDate();
    return DateText(today.year(), today.month(), today.day());
}

}  // namespace

std::vector<UpdateRecord> UpdateRecordsOf(const CDevicePages& pages)
{
    // Rows of the update identities: mouse, keyboard, headset, program.
    const std::array<std::pair<const QList<CVelmoraUSBDevice*>*, const char*>, 4> families = {{
        {&pages.mice, "ms_device_name_text"},
        {&pages.keyboards, "kb_device_name_text"},
        {&pages.headsets, "hd_device_name_text"},
        {nullptr, "app_device_name_text"},
    }};
    std::vector<UpdateRecord> records;
    for (size_t row = 0; row < families.size(); ++row) {
        const auto& [present, nameId] = families[row];
        if (!present || !present->isEmpty())
            records.push_back(UpToDateRecord(nameId, UpdateIdentityTable[row]));
    }
    return records;
}

void CSetWnd::InitWindow()
{
    CDialogWnd::InitWindow();
    resize(kWidth, kHeight);
    FillLanguages();
    FindControl("last_check_date").SetText(
        ReadLastCheckDate(UserDataFolder() + kLastCheckFile, Today()));
    ShowStatus(UpdateWindowStatus::GettingInfo);
    FillUpdateList();
    // No update information comes from anywhere but the update program.
    ShowStatus(UpdateWindowStatus::NoUpdateInfo);
    ShowUpdateButton();
}

void CSetWnd::FillLanguages()
{
    CControlUI combo = FindControl("Language_combox_info");
    CLanguageCatalogue catalogue;
    catalogue.Load(DefaultDataFolder() + kLanguageCatalogueName);
    combo.RemoveAllItems();
    for (int i = 0; i < catalogue.Count(); ++i)
        combo.AddItem(catalogue.At(i)->caption);
    combo.SelectItem(languageIndex_, false);
}

void CSetWnd::FillUpdateList()
{
    QWidget* list = FindControl("device_update_list_info").Widget();
    if (!list || !list->layout())
        return;
    for (int i = 0; i < static_cast<int>(items_.Records().size()); ++i) {
        QWidget* item = CDialogBuilder::Create(QString::fromLatin1(kItemLayout), nullptr, list);
        if (!item) {
            Trace("update list item layout missing");
            return;
        }
        item->setProperty(kItemIndexProperty, i);
        auto* box = static_cast<QBoxLayout*>(list->layout());
        box->insertWidget(box->count() - 1, item);  // before the closing stretch
        AttachNotifications(item);
        itemWidgets_.append(item);
        ShowItem(i);
    }
}

void CSetWnd::ShowItem(int index)
{
    if (index < 0 || index >= itemWidgets_.size() || !itemWidgets_[index])
        return;
    const UpdateRecord& record = items_.Records()[static_cast<size_t>(index)];
    QWidget* item = itemWidgets_[index];
    auto child = [item](const char* name) { return CControlUI(item->findChild<QWidget*>(QLatin1String(name))); };
    CControlUI check = child("check_name_select");
    SetWidgetTextId(check.Widget(), record.name);
    check.SetSelected(record.checked, false);
    check.SetEnabled(record.checkEnabled);
    check.Widget()->setToolTip(record.tooltip);
    child("OldRev").SetText(record.currentVersion);
    child("updateRev").SetText(record.offeredVersion);
    child("updateRev").SetVisible(!record.offeredVersion.isEmpty());
    child("update_arrow").SetVisible(!record.offeredVersion.isEmpty());
    QWidget* stateText = child("update_status_text").Widget();
    SetWidgetTextId(stateText, QString::fromLatin1(UpdateStateTextId(record.state)));
    const bool inProgress = record.state == UpdateState::Downloading || record.state == UpdateState::Updating;
    child("update_progress_value").SetText(QStringLiteral("%1%").arg(record.progress));
    child("update_progress_value").SetVisible(inProgress);
    child("update_status_ok").SetVisible(record.state == UpdateState::UpToDate ||
                                         record.state == UpdateState::Downloaded);
}

void CSetWnd::ShowStatus(UpdateWindowStatus status)
{
    status_ = status;
    QWidget* statusText = FindControl("Update_Status_text").Widget();
    SetWidgetTextId(statusText, QString::fromLatin1(UpdateWindowStatusTextId(status)));
    FindControl("update_status_ring").SetVisible(status == UpdateWindowStatus::GettingInfo);
    FindControl("update_status_image").SetVisible(status != UpdateWindowStatus::GettingInfo);
    if (status == UpdateWindowStatus::UpToDate)
        PostWindowMessage(owner_, WM_UPDATE_BADGE_SEEN, 0, 0);
}

void CSetWnd::ShowUpdateButton()
{
    CControlUI button = FindControl("update_fw_and_ap");
    button.SetEnabled(items_.AnyChecked());
    button.SetVisible(items_.AnyChecked());
}

int CSetWnd::ItemIndexOf(QObject* sender) const
{
    for (QObject* object = sender; object; object = object->parent()) {
        const QVariant index = object->property(kItemIndexProperty);
        if (index.isValid())
            return index.toInt();
    }
    return -1;
}

void CSetWnd::QueueUpdates()
{
    items_.QueueChecked();
    for (int i = 0; i < itemWidgets_.size(); ++i)
        ShowItem(i);
    FindControl("update_fw_and_ap").SetEnabled(false);
    if (auto* tabs = qobject_cast<QStackedWidget*>(FindControl("get_update_tab_layout").Widget()))
        tabs->setCurrentIndex(kListTab);
}

void CSetWnd::Notify(TNotifyUI& msg)
{
    const QString sender = msg.SenderName();
    if (msg.sType == "itemselect" && sender == "Language_combox_info") {
        languageIndex_ = static_cast<int>(msg.wParam);
        PostWindowMessage(owner_, WM_LANGUAGE_CHANGED, msg.wParam, 0);
    } else if (msg.sType == "selectchanged" && sender == "check_name_select") {
        items_.SetChecked(ItemIndexOf(msg.pSender), msg.wParam != 0);
        ShowUpdateButton();
    } else if (msg.sType == "click" && sender == "laterbtn") {
        Close(kClosedCode);
    } else if (msg.sType == "click" && sender == "update_fw_and_ap") {
        if (auto* tabs = qobject_cast<QStackedWidget*>(FindControl("get_update_tab_layout").Widget()))
            tabs->setCurrentIndex(kConfirmTab);
    } else if (msg.sType == "click" && sender == "update_OK_btn") {
        QueueUpdates();
    } else {
        CDialogWnd::Notify(msg);
    }
}

LRESULT CSetWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled)
{
    if (uMsg == WM_CLOSE && !items_.CanClose()) {
        bHandled = true;  // an item is on its way
        return 0;
    }
    if (uMsg == UWM_SETWND_RELAY_MSG && UWM_SETWND_RELAY_MSG != 0) {
        bHandled = true;
        const auto status = items_.Relay(static_cast<int>(wParam), static_cast<int>(lParam));
        for (int i = 0; i < itemWidgets_.size(); ++i)
            ShowItem(i);
        if (status)
            ShowStatus(*status);
        return 0;
    }
    if (uMsg == WM_LANGUAGE_CHANGED) {
        bHandled = true;
        update();
        return 0;
    }
    return CDialogWnd::HandleMessage(uMsg, wParam, lParam, bHandled);
}

void CSetWnd::OnFinalMessage()
{
    deleteLater();
}

void ShowSettingsWindow(WindowImplBase* owner, int dpi, int languageIndex, std::vector<UpdateRecord> records,
                        bool centred, QPointer<WindowImplBase>& handle)
{
    if (handle && !handle->IsClosed())
        return;
    auto* window = new CSetWnd;
    handle = window;
    window->SetOwnerWindow(owner ? owner->GetHWND() : 0);
    window->SetLanguageIndex(languageIndex);
    window->SetRecords(std::move(records));
    if (!window->Create(owner, QStringLiteral("SetWnd")))
        Trace("settings window layout missing");
    window->SetDPI(dpi);
    if (centred || !owner) {
        window->CenterWindow();
    } else {
        const QRect frame = owner->frameGeometry();
        window->move(frame.right() - window->width() - window->ScaleValue(30), frame.top() + window->ScaleValue(60));
    }
    window->ShowModal();
}
