#include "app/msg_box_standin.h"

#include "ui/resource_manager.h"

#include <QMessageBox>

int ShowMessageBox(QWidget* owner, const QString& titleId, const QString& text, int, bool textIsIdentifier,
                   bool withCancel)
{
    const CResourceManager& texts = CResourceManager::GetInstance();
    QMessageBox box(QMessageBox::NoIcon, texts.GetText(titleId),
                    textIsIdentifier ? texts.GetText(text) : text,
                    withCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok, owner);
    return box.exec() == QMessageBox::Ok ? 1 : 0;
}
