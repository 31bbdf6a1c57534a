#include "platform/folders.h"

#include "platform/product.h"
#include "platform/trace.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

static std::string WithSlash(const QString& folder)
{
    std::string path = folder.toStdString();
    if (path.empty() || path.back() != '/')
        path += '/';
    return path;
}

std::string ProgramFolder()
{
    // The executable's own path, independent of the working folder and of
    // whether an application object exists yet.
    const QFileInfo self(QStringLiteral("/proc/self/exe"));
    return WithSlash(QFileInfo(self.symLinkTarget()).absolutePath());
}

std::string ResourceRoot()
{
    const std::string beside = ProgramFolder();
    if (QFileInfo(QString::fromStdString(beside + kSkinFolderName)).isDir())
        return beside;
    const QString installed = QDir::cleanPath(QString::fromStdString(beside + KESTROVA_DATA_FROM_BIN));
    return QFileInfo(installed).isDir() ? WithSlash(installed) : beside;
}

std::string ResourceFolder(const char* name)
{
    return ResourceRoot() + name + '/';
}

std::string DefaultDataFolder()
{
    return ResourceFolder(kDefaultDataFolderName);
}

std::string DataHome()
{
    return WithSlash(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

std::string UserDataFolder()
{
    const std::string folder = DataHome() + kProductTitle + '/';
    if (!QDir().mkpath(QString::fromStdString(folder)))
        TraceF("unable to create the user data folder %s", folder.c_str());
    return folder;
}
