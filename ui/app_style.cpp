#include "ui/app_style.h"

#include "platform/trace.h"
#include "ui/resource_manager.h"

#include <QApplication>
#include <QFile>
#include <QFont>

bool ApplyBaseStyle(QApplication& app)
{
    QFile style(CResourceManager::GetInstance().FindFile(QStringLiteral("STYLE_BASE")));
    if (style.fileName().isEmpty() || !style.open(QIODevice::ReadOnly | QIODevice::Text)) {
        Trace("base style sheet missing");
        return false;
    }
    // Without it a widget the sheet styles keeps the family it had when the
    // sheet first styled it, and a new face never reaches it.
    QCoreApplication::setAttribute(Qt::AA_UseStyleSheetPropagationInWidgetStyles);
    app.setStyleSheet(QString::fromUtf8(style.readAll()));
    return true;
}

bool SetInterfaceFamily(const QString& family)
{
    QFont font = QApplication::font();
    if (font.families() == QStringList{family})
        return false;
    font.setFamilies({family});
    QApplication::setFont(font);
    return true;
}
