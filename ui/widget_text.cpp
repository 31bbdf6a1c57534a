#include "ui/widget_text.h"

#include "ui/resource_manager.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

namespace {

const char* const kTextIdProperty = "textId";
constexpr int kItemTextIdRole = Qt::UserRole + 101;

void AdoptComboItems(QComboBox* combo)
{
    const CResourceManager& resources = CResourceManager::GetInstance();
    for (int i = 0; i < combo->count(); ++i) {
        const QString id = combo->itemData(i, kItemTextIdRole).toString();
        const QString identifier = id.isEmpty() ? combo->itemText(i) : id;
        combo->setItemData(i, identifier, kItemTextIdRole);
        combo->setItemText(i, resources.GetText(identifier));
    }
}

void Resolve(QObject* object)
{
    const QString identifier = object->property(kTextIdProperty).toString();
    if (!identifier.isEmpty())
        SetWidgetText(object, CResourceManager::GetInstance().GetText(identifier));
}

template <class Visit>
void ForEachTextObject(QWidget* root, Visit visit)
{
    visit(root);
    for (QObject* object : root->findChildren<QObject*>()) {
        if (object->isWidgetType() || qobject_cast<QAction*>(object))
            visit(object);
    }
}

}  // namespace

QString WidgetText(const QObject* object)
{
    if (auto* button = qobject_cast<const QAbstractButton*>(object))
        return button->text();
    if (auto* label = qobject_cast<const QLabel*>(object))
        return label->text();
    if (auto* edit = qobject_cast<const QLineEdit*>(object))
        return edit->text();
    if (auto* combo = qobject_cast<const QComboBox*>(object))
        return combo->currentText();
    if (auto* group = qobject_cast<const QGroupBox*>(object))
        return group->title();
    if (auto* action = qobject_cast<const QAction*>(object))
        return action->text();
    if (auto* text = qobject_cast<const QTextEdit*>(object))
        return text->toPlainText();
    if (auto* plain = qobject_cast<const QPlainTextEdit*>(object))
        return plain->toPlainText();
    return {};
}

bool SetWidgetText(QObject* object, const QString& text)
{
    if (auto* button = qobject_cast<QAbstractButton*>(object))
        button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(object))
        label->setText(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(object))
        edit->setText(text);
    else if (auto* combo = qobject_cast<QComboBox*>(object); combo && combo->isEditable())
        combo->setEditText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(object))
        group->setTitle(text);
    else if (auto* action = qobject_cast<QAction*>(object))
        action->setText(text);
    else if (auto* rich = qobject_cast<QTextEdit*>(object))
        rich->setPlainText(text);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(object))
        plain->setPlainText(text);
    else
        return false;
    return true;
}

void AdoptTextIds(QWidget* root)
{
    ForEachTextObject(root, [](QObject* object) {
        if (auto* combo = qobject_cast<QComboBox*>(object))
            AdoptComboItems(combo);
        // Edits hold what the user types, not identifiers.
        if (qobject_cast<QLineEdit*>(object) || qobject_cast<QTextEdit*>(object) ||
            qobject_cast<QPlainTextEdit*>(object) || qobject_cast<QComboBox*>(object))
            return;
        const QString text = WidgetText(object);
        if (!text.isEmpty() && object->property(kTextIdProperty).toString().isEmpty())
            SetWidgetTextId(object, text);
    });
}

void ResolveTextIds(QWidget* root)
{
    ForEachTextObject(root, [](QObject* object) {
        if (auto* combo = qobject_cast<QComboBox*>(object))
            AdoptComboItems(combo);
        Resolve(object);
    });
}

void SetWidgetTextId(QObject* object, const QString& identifier)
{
    object->setProperty(kTextIdProperty, identifier);
    Resolve(object);
}

void ClearWidgetTextId(QObject* object)
{
    object->setProperty(kTextIdProperty, QVariant());
}
