#pragma once
// Stands in for the program's message box until it lands: the same call.

#include <QString>
#include <QWidget>

int ShowMessageBox(QWidget* owner, const QString& titleId, const QString& text, int dpi, bool textIsIdentifier,
                   bool withCancel);
