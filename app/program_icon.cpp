#include "app/program_icon.h"

#include "ui/resource_manager.h"

#include <QImageReader>
#include <QPixmap>

#include <optional>
#include <utility>

namespace {

std::optional<QImage> gIconReadAhead;

// Read as the PNG it is: a reader left to guess the format asks every image
// plugin, and loading them all costs milliseconds of the start.
QImage ReadProgramIcon()
{
    QImageReader reader(CResourceManager::GetInstance().FindFile("ICON_MAIN"), "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

}  // namespace

void ReadProgramIconAhead()
{
    gIconReadAhead = ReadProgramIcon();
}

QIcon ProgramIcon()
{
    QImage image = gIconReadAhead ? std::move(*gIconReadAhead) : ReadProgramIcon();
    gIconReadAhead.reset();
    return QIcon(QPixmap::fromImage(std::move(image)));
}
