#include "ui/controls/combo_edit_element.h"

#include "ui/dialog_builder.h"
#include "ui/notify.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QVBoxLayout>

CComboEditContainerElementUI::CComboEditContainerElementUI(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_Hover);
    setAttribute(Qt::WA_StyledBackground);  // the skin marks the row under the mouse
    setFocusPolicy(Qt::StrongFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    if (QWidget* content =
            CDialogBuilder::Create(QStringLiteral("XML\\CustomControlXML\\ComboEditElementItem.xml"), nullptr, this))
        layout->addWidget(content);
    m_text1 = FindSubControlByName(this, QStringLiteral("text1"));
    m_text2 = FindSubControlByName(this, QStringLiteral("text2"));
    m_delayEdit = FindSubControlByName(this, QStringLiteral("delay_edit"));
    WatchChanges();
}

void CComboEditContainerElementUI::WatchChanges()
{
    for (QAbstractButton* option : findChildren<QAbstractButton*>())
        connect(option, &QAbstractButton::toggled, this, [this] { m_changed = true; });
    if (auto* edit = m_delayEdit.As<QLineEdit>())
        connect(edit, &QLineEdit::returnPressed, this, [this] { m_changed = true; });
}

bool CComboEditContainerElementUI::Activate()
{
    if (!isEnabled())
        return false;
    SendNotify(this, QStringLiteral("itemactivate"));
    return true;
}

void CComboEditContainerElementUI::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return QWidget::keyPressEvent(event);
    if (!Activate())
        return;
    update();
    SendNotify(this, QStringLiteral("return"));
}

void CComboEditContainerElementUI::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !isEnabled())
        return QWidget::mousePressEvent(event);
    SelectRow(event->modifiers() & Qt::ControlModifier);
}

void CComboEditContainerElementUI::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !isEnabled())
        return QWidget::mouseReleaseEvent(event);
    SendNotify(this, QStringLiteral("itemclick"));
}

void CComboEditContainerElementUI::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mouseDoubleClickEvent(event);
    Activate();
}

// The row is the list cell this element is the widget of.
void CComboEditContainerElementUI::SelectRow(bool toggle)
{
    QAbstractItemView* view = nullptr;
    for (QWidget* ancestor = parentWidget(); ancestor && !view; ancestor = ancestor->parentWidget())
        view = qobject_cast<QAbstractItemView*>(ancestor);
    if (!view || !view->selectionModel())
        return;
    const QModelIndex row = view->indexAt(view->viewport()->mapFromGlobal(mapToGlobal(rect().center())));
    if (!row.isValid())
        return;
    view->selectionModel()->setCurrentIndex(
        row, toggle ? QItemSelectionModel::Toggle : QItemSelectionModel::ClearAndSelect);
}
