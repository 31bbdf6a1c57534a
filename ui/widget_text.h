#pragma once
// Text of the widget kinds that show one, and text identifiers: a widget
// whose text came from an identifier keeps it in the "textId" property so
// a language change can resolve it again.

#include <QObject>
#include <QString>

class QWidget;

QString WidgetText(const QObject* object);
bool SetWidgetText(QObject* object, const QString& text);

// Takes the current texts of root's tree (widgets, menu actions, combo
// items) as identifiers and shows their texts in the loaded language.
void AdoptTextIds(QWidget* root);
// Shows the texts of the identifiers kept in root's tree again.
void ResolveTextIds(QWidget* root);
// Sets an identifier on one object and shows its text.
void SetWidgetTextId(QObject* object, const QString& identifier);
void ClearWidgetTextId(QObject* object);
