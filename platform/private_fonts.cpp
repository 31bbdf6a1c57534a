#include "platform/private_fonts.h"

#include "platform/trace.h"

#include <QFile>
#include <QFontDatabase>

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <sys/resource.h>

namespace {

// A font file's table directory, with every table's checksum, lies at its
// start: two files of one size that agree there are the same font.
constexpr qint64 kSignatureBytes = 4096;

// Linux gives each thread its own nice value: only this thread yields.
constexpr int kBackgroundNice = 19;

CPrivateFonts* gProgramFonts = nullptr;

}  // namespace

CPrivateFonts::CPrivateFonts(const std::string& programFolder) : programFolder_(programFolder)
{
    for (const PrivateFontFile& font : kPrivateFontFiles) {
        if (font.atStart)
            Load(programFolder_ + font.path);
    }
    gProgramFonts = this;
}

void CPrivateFonts::LoadRest()
{
    if (restLoaded_)
        return;
    restLoaded_ = true;
    for (const PrivateFontFile& font : kPrivateFontFiles) {
        if (!font.atStart)
            Load(programFolder_ + font.path);
    }
}

void LoadRemainingPrivateFonts()
{
    if (gProgramFonts)
        gProgramFonts->LoadRest();
}

CPrivateFonts::~CPrivateFonts()
{
    if (gProgramFonts == this)
        gProgramFonts = nullptr;
    for (auto id = fontIds_.rbegin(); id != fontIds_.rend(); ++id)
        QFontDatabase::removeApplicationFont(*id);
}

// Registered by path, not read into memory: the font system maps the file
// only when it needs glyphs from it. A copy of a font registered already
// (two names may hold one file) is not registered twice.
bool CPrivateFonts::Load(const std::string& path)
{
    const QString fileName = QString::fromStdString(path);
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        TraceF("font skipped, cannot open %s", path.c_str());
        return false;
    }
    const Signature signature{file.size(), file.read(kSignatureBytes)};
    if (std::find(signatures_.begin(), signatures_.end(), signature) != signatures_.end()) {
        TraceF("font %s registered already under another name", path.c_str());
        return true;
    }
    const int id = QFontDatabase::addApplicationFont(fileName);
    if (id < 0) {
        TraceF("font skipped, not a font: %s", path.c_str());
        return false;
    }
    fontIds_.push_back(id);
    signatures_.push_back(signature);
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

void ReadFontConfiguration()
{
    // Read beside the QApplication's set-up, whose every question to the
    // window system wakes the X server: at the lowest priority the reading
    // takes what CPU the two leave and never keeps the answers waiting.
    if (::setpriority(PRIO_PROCESS, 0, kBackgroundNice) != 0)
        Trace("font configuration read at normal priority");
    if (!FcInit())
        Trace("font configuration not loaded: the toolkit tries again");
}

void ReadInstalledFonts()
{
    QFontDatabase::families();
}
