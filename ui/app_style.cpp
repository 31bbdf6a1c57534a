#include "ui/app_style.h"

#include "platform/trace.h"
#include "ui/resource_manager.h"

#include <QApplication>
#include <QFile>

namespace {

QString gBaseSheet;
QString gFamily;

QString FamilyRule(const QString& family)
{
    if (family.isEmpty())
        return {};
    QString quoted = family;
    quoted.replace('\\', QStringLiteral("\\\\")).replace('"', QStringLiteral("\\\""));
    return QStringLiteral("QWidget { font-family: \"%1\"; }\n").arg(quoted);
}

void Restyle()
{
    if (qApp)
        qApp->setStyleSheet(FamilyRule(gFamily) + gBaseSheet);
}

}  // namespace

bool ApplyBaseStyle(QApplication& app)
{
    QFile style(CResourceManager::GetInstance().FindFile(QStringLiteral("STYLE_BASE")));
    if (style.fileName().isEmpty() || !style.open(QIODevice::ReadOnly | QIODevice::Text)) {
        Trace("base style sheet missing");
        return false;
    }
    gBaseSheet = QString::fromUtf8(style.readAll());
    app.setStyleSheet(FamilyRule(gFamily) + gBaseSheet);
    return true;
}

void SetInterfaceFamily(const QString& family)
{
    if (family == gFamily)
        return;
    gFamily = family;
    Restyle();
}
