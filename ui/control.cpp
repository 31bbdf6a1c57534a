#include "ui/control.h"

#include "ui/color_palette.h"
#include "ui/notify.h"
#include "ui/resource_manager.h"
#include "ui/widget_text.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QSpinBox>

#include <algorithm>
#include <climits>

namespace {

const char* const kUserDataProperty = "userdata";
const char* const kNumberOnlyProperty = "kestrovaNumberOnly";
const char* const kBkImageProperty = "kestrovaBkImage";

// Look settings are kept as properties of the widget and turned into its own
// style sheet, so setting one does not undo another.
QString CssColor(QRgb argb)
{
    return QStringLiteral("rgba(%1,%2,%3,%4)").arg(qRed(argb)).arg(qGreen(argb)).arg(qBlue(argb)).arg(qAlpha(argb));
}

void RebuildStyle(QWidget* widget)
{
    const QString self = QStringLiteral("#") + widget->objectName();
    QString body;
    auto add = [&](const char* property, const QString& format) {
        const QVariant value = widget->property(property);
        if (value.isValid())
            body += format.arg(value.toString());
    };
    add("kestrovaBkColor", QStringLiteral("background-color:%1;"));
    add("kestrovaTextColor", QStringLiteral("color:%1;"));
    add("kestrovaBkImageUrl", QStringLiteral("border-image:url(\"%1\");"));
    add("kestrovaBorderSize", QStringLiteral("border-width:%1px;border-style:solid;"));
    add("kestrovaBorderColor", QStringLiteral("border-color:%1;"));
    QString sheet = self + QStringLiteral("{") + body + QStringLiteral("}");
    const QVariant checked = widget->property("kestrovaCheckedBkColor");
    if (checked.isValid())
        sheet += self + QStringLiteral(":checked{background-color:") + checked.toString() + QStringLiteral(";}");
    widget->setStyleSheet(sheet);
}

void SetStyle(QWidget* widget, const char* property, const QVariant& value)
{
    if (!widget)
        return;
    widget->setProperty(property, value);
    RebuildStyle(widget);
}

template <class T>
T* Cast(const QPointer<QWidget>& widget)
{
    return qobject_cast<T*>(widget.data());
}

// The range of a number-only edit; nullptr for other edits.
QIntValidator* NumberRange(const QLineEdit* edit)
{
    return edit ? qobject_cast<QIntValidator*>(const_cast<QValidator*>(edit->validator())) : nullptr;
}

// The range of a number-only edit under the names the other ranged
// widgets use.
class EditRange {
public:
    explicit EditRange(QIntValidator& validator) : m_validator(validator) {}
    int minimum() const { return m_validator.bottom(); }
    int maximum() const { return m_validator.top(); }
    void setMinimum(int value) { m_validator.setBottom(value); }
    void setMaximum(int value) { m_validator.setTop(value); }

private:
    QIntValidator& m_validator;
};

// Runs use(range) on the widget seen as the ranged kind it is.
template <class Use>
void WithRange(QWidget* widget, Use use)
{
    if (auto* slider = qobject_cast<QAbstractSlider*>(widget))
        use(*slider);
    else if (auto* progress = qobject_cast<QProgressBar*>(widget))
        use(*progress);
    else if (auto* spin = qobject_cast<QSpinBox*>(widget))
        use(*spin);
    else if (QIntValidator* validator = NumberRange(qobject_cast<QLineEdit*>(widget))) {
        EditRange range(*validator);
        use(range);
    }
}

// A number-only edit may hold a partly typed number outside its range, or
// nothing; its value is always inside the range.
int EditValue(const QLineEdit& edit)
{
    const int value = edit.text().toInt();
    const QIntValidator* range = NumberRange(&edit);
    return range ? std::clamp(value, range->bottom(), std::max(range->bottom(), range->top())) : value;
}

}  // namespace

QString CControlUI::GetName() const
{
    return m_widget ? m_widget->objectName() : QString();
}

QString CControlUI::GetClass() const
{
    return m_widget ? QString::fromLatin1(m_widget->metaObject()->className()) : QString();
}

QString CControlUI::GetText() const
{
    return m_widget ? WidgetText(m_widget) : QString();
}

void CControlUI::SetText(const QString& text)
{
    if (!m_widget)
        return;
    ClearWidgetTextId(m_widget);
    SetWidgetText(m_widget, text);
}

void CControlUI::SetTextId(const QString& identifier)
{
    if (m_widget)
        SetWidgetTextId(m_widget, identifier);
}

bool CControlUI::IsVisible() const
{
    return m_widget && !m_widget->isHidden();
}

void CControlUI::SetVisible(bool visible)
{
    if (m_widget)
        m_widget->setVisible(visible);
}

bool CControlUI::IsEnabled() const
{
    return m_widget && m_widget->isEnabled();
}

void CControlUI::SetEnabled(bool enabled)
{
    if (m_widget)
        m_widget->setEnabled(enabled);
}

bool CControlUI::IsSelected() const
{
    auto* button = Cast<QAbstractButton>(m_widget);
    return button && button->isChecked();
}

void CControlUI::SetSelected(bool selected, bool triggerEvent)
{
    auto* button = Cast<QAbstractButton>(m_widget);
    if (!button)
        return;
    button->setCheckable(true);
    const QSignalBlocker blocker(triggerEvent ? nullptr : button);
    button->setChecked(selected);
}

int CControlUI::GetCount() const
{
    if (auto* combo = Cast<QComboBox>(m_widget))
        return combo->count();
    if (auto* list = Cast<QListWidget>(m_widget))
        return list->count();
    return 0;
}

int CControlUI::GetCurSel() const
{
    if (auto* combo = Cast<QComboBox>(m_widget))
        return combo->currentIndex();
    if (auto* list = Cast<QListWidget>(m_widget))
        return list->currentRow();
    return -1;
}

bool CControlUI::SelectItem(int index, bool triggerEvent)
{
    if (index < 0 || index >= GetCount())
        return false;
    const QSignalBlocker blocker(triggerEvent ? nullptr : m_widget.data());
    if (auto* combo = Cast<QComboBox>(m_widget))
        combo->setCurrentIndex(index);
    else if (auto* list = Cast<QListWidget>(m_widget))
        list->setCurrentRow(index);
    // The notifier remembers the old index for its next "itemselect".
    if (!triggerEvent)
        m_widget->setProperty("kestrovaLastIndex", index);
    return true;
}

int CControlUI::AddItem(const QString& text, const QString& userData)
{
    if (auto* combo = Cast<QComboBox>(m_widget)) {
        const QSignalBlocker blocker(combo);  // a first item selects itself; that is no user choice
        combo->addItem(text, userData);
        combo->setProperty("kestrovaLastIndex", combo->currentIndex());
        return combo->count() - 1;
    }
    if (auto* list = Cast<QListWidget>(m_widget)) {
        auto* item = new QListWidgetItem(text, list);
        item->setData(Qt::UserRole, userData);
        return list->count() - 1;
    }
    return -1;
}

bool CControlUI::RemoveItem(int index)
{
    if (index < 0 || index >= GetCount())
        return false;
    const QSignalBlocker blocker(m_widget.data());
    if (auto* combo = Cast<QComboBox>(m_widget)) {
        combo->removeItem(index);
        combo->setProperty("kestrovaLastIndex", combo->currentIndex());
    } else if (auto* list = Cast<QListWidget>(m_widget)) {
        delete list->takeItem(index);
        list->setProperty("kestrovaLastIndex", list->currentRow());
    }
    return true;
}

void CControlUI::RemoveAllItems()
{
    const QSignalBlocker blocker(m_widget.data());
    if (auto* combo = Cast<QComboBox>(m_widget))
        combo->clear();
    else if (auto* list = Cast<QListWidget>(m_widget))
        list->clear();
    else
        return;
    m_widget->setProperty("kestrovaLastIndex", -1);
}

QString CControlUI::GetItemText(int index) const
{
    if (auto* combo = Cast<QComboBox>(m_widget))
        return combo->itemText(index);
    if (auto* list = Cast<QListWidget>(m_widget); list && list->item(index))
        return list->item(index)->text();
    return {};
}

QString CControlUI::GetItemUserData(int index) const
{
    if (auto* combo = Cast<QComboBox>(m_widget))
        return combo->itemData(index).toString();
    if (auto* list = Cast<QListWidget>(m_widget); list && list->item(index))
        return list->item(index)->data(Qt::UserRole).toString();
    return {};
}

int CControlUI::GetValue() const
{
    if (auto* slider = Cast<QAbstractSlider>(m_widget))
        return slider->value();
    if (auto* progress = Cast<QProgressBar>(m_widget))
        return progress->value();
    if (auto* spin = Cast<QSpinBox>(m_widget))
        return spin->value();
    if (auto* edit = Cast<QLineEdit>(m_widget))
        return EditValue(*edit);
    return 0;
}

void CControlUI::SetValue(int value)
{
    const QSignalBlocker blocker(m_widget.data());
    if (auto* slider = Cast<QAbstractSlider>(m_widget))
        slider->setValue(value);
    else if (auto* progress = Cast<QProgressBar>(m_widget))  // it ignores values out of range
        progress->setValue(std::clamp(value, progress->minimum(), progress->maximum()));
    else if (auto* spin = Cast<QSpinBox>(m_widget))
        spin->setValue(value);
    else if (auto* edit = Cast<QLineEdit>(m_widget))
        edit->setText(QString::number(value));
}

int CControlUI::GetMinValue() const
{
    int minimum = 0;
    WithRange(m_widget, [&](auto& range) { minimum = range.minimum(); });
    return minimum;
}

int CControlUI::GetMaxValue() const
{
    int maximum = 0;
    WithRange(m_widget, [&](auto& range) { maximum = range.maximum(); });
    return maximum;
}

void CControlUI::SetMinValue(int value)
{
    const QSignalBlocker blocker(m_widget.data());
    WithRange(m_widget, [&](auto& range) { range.setMinimum(value); });
}

void CControlUI::SetMaxValue(int value)
{
    const QSignalBlocker blocker(m_widget.data());
    WithRange(m_widget, [&](auto& range) { range.setMaximum(value); });
}

void CControlUI::SetMaxChar(int count)
{
    if (auto* edit = Cast<QLineEdit>(m_widget))
        edit->setMaxLength(count);
}

void CControlUI::SetNumberOnly(bool numberOnly)
{
    auto* edit = Cast<QLineEdit>(m_widget);
    if (!edit || edit->property(kNumberOnlyProperty).toBool() == numberOnly)
        return;
    edit->setProperty(kNumberOnlyProperty, numberOnly);
    QIntValidator* old = NumberRange(edit);
    edit->setValidator(numberOnly ? new QIntValidator(0, INT_MAX, edit) : nullptr);
    delete old;
}

void CControlUI::SetReadOnly(bool readOnly)
{
    if (auto* edit = Cast<QLineEdit>(m_widget))
        edit->setReadOnly(readOnly);
}

void CControlUI::SetBkColor(QRgb argb)
{
    SetStyle(m_widget, "kestrovaBkColor", CssColor(argb));
    if (m_widget)
        m_widget->setProperty("kestrovaBkArgb", argb);
}

QRgb CControlUI::GetBkColor() const
{
    return m_widget ? m_widget->property("kestrovaBkArgb").toUInt() : 0;
}

void CControlUI::SetTextColor(QRgb argb)
{
    SetStyle(m_widget, "kestrovaTextColor", CssColor(argb));
}

void CControlUI::SetSelectedBkColor(QRgb argb)
{
    SetStyle(m_widget, "kestrovaCheckedBkColor", CssColor(argb));
}

void CControlUI::SetBkImage(const QString& file)
{
    if (!m_widget)
        return;
    m_widget->setProperty(kBkImageProperty, file);
    const QString path = file.isEmpty() ? QString() : CResourceManager::GetInstance().FindFile(file);
    SetStyle(m_widget, "kestrovaBkImageUrl", path.isEmpty() ? QVariant() : QVariant(path));
}

QString CControlUI::GetBkImage() const
{
    return m_widget ? m_widget->property(kBkImageProperty).toString() : QString();
}

void CControlUI::SetForeImage(const QString& file)
{
    const QString path = file.isEmpty() ? QString() : CResourceManager::GetInstance().FindFile(file);
    if (auto* label = Cast<QLabel>(m_widget))
        label->setPixmap(path.isEmpty() ? QPixmap() : QPixmap(path));
    else if (auto* button = Cast<QAbstractButton>(m_widget))
        button->setIcon(path.isEmpty() ? QIcon() : QIcon(path));
}

void CControlUI::SetBorderSize(int pixels)
{
    SetStyle(m_widget, "kestrovaBorderSize", pixels > 0 ? QVariant(pixels) : QVariant());
}

void CControlUI::SetBorderColor(QRgb argb)
{
    SetStyle(m_widget, "kestrovaBorderColor", CssColor(argb));
}

QString CControlUI::GetUserData() const
{
    return m_widget ? m_widget->property(kUserDataProperty).toString() : QString();
}

void CControlUI::SetUserData(const QString& data)
{
    if (m_widget)
        m_widget->setProperty(kUserDataProperty, data);
}

void CControlUI::SetSelectColor(QRgb argb)
{
    if (auto* palette = Cast<CColorPaletteUI>(m_widget))
        palette->SetSelectColor(argb);
}

QRgb CControlUI::GetSelectColor() const
{
    auto* palette = Cast<CColorPaletteUI>(m_widget);
    return palette ? palette->GetSelectColor() : 0;
}

void CControlUI::SetFocus()
{
    if (m_widget)
        m_widget->setFocus();
}

CControlUI FindSubControlByName(QWidget* parent, const QString& name)
{
    if (!parent || name.isEmpty())
        return {};
    return CControlUI(parent->findChild<QWidget*>(name));
}
