#include "platform/private_fonts.h"

#include "platform/trace.h"

#include <QFile>
#include <QFontDatabase>

CPrivateFonts::CPrivateFonts(const std::string& programFolder)
{
    for (const char* relativePath : kPrivateFontFiles)
        Load(programFolder + relativePath);
}

CPrivateFonts::~CPrivateFonts()
{
    for (auto id = fontIds_.rbegin(); id != fontIds_.rend(); ++id)
        QFontDatabase::removeApplicationFont(*id);
}

bool CPrivateFonts::Load(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        TraceF("font skipped, cannot open %s", path.c_str());
        return false;
    }
    const int id = QFontDatabase::addApplicationFontFromData(file.readAll());
    if (id < 0) {
        TraceF("font skipped, not a font: %s", path.c_str());
        return false;
    }
    fontIds_.push_back(id);
    return true;
}

int CPrivateFonts::LoadedCount() const
{
    return static_cast<int>(fontIds_.size());
}

QStringList CPrivateFonts::Families() const
{
    QStringList families;
    for (int id : fontIds_)
        families += QFontDatabase::applicationFontFamilies(id);
    return families;
}
