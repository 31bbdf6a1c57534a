// The mouse page's keys: what each does, as the profile keeps it, in the list
// beside the picture of the mouse.
#include "devices/velmora_mouse_device.h"

#include "panels/key_functions.h"
#include "ui/controls/device_key_button.h"
#include "ui/resource_manager.h"

#include <QHeaderView>
#include <QTableWidget>

namespace {

constexpr const char* kKeyInfoList = "device_setkeyinfo_list";
enum KeyInfoColumn { kKeyNameColumn, kKeyFunctionColumn, kKeyInfoColumns };

QString KeyButtonName(int key)
{
    return QStringLiteral("key_%1").arg(key);
}

}  // namespace

void CVelmoraMouseDevice::SetKeyList(const std::vector<KeyListEntry>& keys)
{
    keys_ = keys;
    profile_.WriteKeyList(keys_);
    SaveProfile();
    ShowKeyTexts();
}

void CVelmoraMouseDevice::SetUpKeyInfoList()
{
    auto* list = findChild<QTableWidget*>(QString::fromLatin1(kKeyInfoList));
    if (!list)
        return;
    list->setColumnCount(kKeyInfoColumns);
    list->horizontalHeader()->hide();
    list->verticalHeader()->hide();
    list->horizontalHeader()->setSectionResizeMode(kKeyNameColumn, QHeaderView::ResizeToContents);
    list->horizontalHeader()->setSectionResizeMode(kKeyFunctionColumn, QHeaderView::Stretch);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setShowGrid(false);
    list->setFocusPolicy(Qt::NoFocus);
    connect(list, &QTableWidget::cellClicked, this, [this, list](int row) {
        const QTableWidgetItem* item = list->item(row, kKeyNameColumn);
        if (auto* button = item ? findChild<CDeviceKeyButtonUI*>(KeyButtonName(item->data(Qt::UserRole).toInt())) : nullptr)
            button->click();
    });
}

void CVelmoraMouseDevice::ShowKeyInfoList(bool show)
{
    if (auto* list = findChild<QTableWidget*>(QString::fromLatin1(kKeyInfoList)))
        list->setVisible(show);
}

void CVelmoraMouseDevice::ShowKeyTexts()
{
    auto* list = findChild<QTableWidget*>(QString::fromLatin1(kKeyInfoList));
    if (!list)
        return;
    const CResourceManager& texts = CResourceManager::GetInstance();
    const std::vector<std::wstring> macros = Macros().Names();
    const auto translate = [&texts](const char* id) { return texts.GetText(QString::fromLatin1(id)).toStdString(); };
    const auto macroName = [&macros](int number) {
        return number >= 0 && number < std::ssize(macros) ? QString::fromStdWString(macros[static_cast<size_t>(number)]).toStdString()
                                                          : std::string();
    };
    list->setRowCount(0);
    for (int key = 0; key < std::ssize(keys_); ++key) {
        const auto* button = findChild<CDeviceKeyButtonUI*>(KeyButtonName(key));
        if (!button)
            continue;
        const int row = list->rowCount();
        list->insertRow(row);
        auto* name = new QTableWidgetItem(button->text());
        name->setData(Qt::UserRole, key);
        list->setItem(row, kKeyNameColumn, name);
        const std::string function = KeyFunctionText(keys_[static_cast<size_t>(key)].assigned, translate, macroName);
        list->setItem(row, kKeyFunctionColumn, new QTableWidgetItem(QString::fromStdString(function)));
        if (key == GetSelectedKey())
            list->selectRow(row);
    }
}
