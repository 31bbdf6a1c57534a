#pragma once
// The program's own fonts, registered from its "Font" folder for this process
// only, in a fixed order, and removed again in the reverse order. A font that
// is missing, unreadable or rejected is skipped: the interface then falls back
// to the system's fonts. A file that holds the same font as one registered
// before is not registered again. Needs a QGuiApplication.

#include <QByteArray>
#include <QStringList>
#include <array>
#include <string>
#include <vector>

struct PrivateFontFile {
    const char* path;
    // The large Chinese collections take tens of milliseconds to register:
    // they wait until a language that shows them is applied.
    bool atStart;
};

inline constexpr std::array<PrivateFontFile, 4> kPrivateFontFiles = {{
    {"Font/Simplified_Chinese.ttf", false},
    {"Font/Rozerire-Regular.otf", true},
    {"Font/NotoSansThai-Regular.ttf", true},
    {"Font/NotoSansCJKtc-Regular.otf", false},
}};

class CPrivateFonts {
public:
    // Loads the fonts of kPrivateFontFiles needed at start, relative to
    // `programFolder` (ending in '/'). While it lives, it is the program's
    // set that LoadRemainingPrivateFonts completes.
    explicit CPrivateFonts(const std::string& programFolder);
    ~CPrivateFonts();
    CPrivateFonts(const CPrivateFonts&) = delete;
    CPrivateFonts& operator=(const CPrivateFonts&) = delete;

    // The fonts left for later, in their order; nothing the second time.
    void LoadRest();
    // Fonts registered; a copy of an earlier one is not counted.
    int LoadedCount() const;
    // The family names the loaded fonts brought, in loading order.
    QStringList Families() const;

private:
    // File size and first bytes: what tells two font files apart.
    struct Signature {
        qint64 size = 0;
        QByteArray head;
        bool operator==(const Signature&) const = default;
    };

    bool Load(const std::string& path);

    std::string programFolder_;
    bool restLoaded_ = false;
    std::vector<int> fontIds_;
    std::vector<Signature> signatures_;
};

// Completes the program's private fonts (see CPrivateFonts::LoadRest); does
// nothing when there is no set.
void LoadRemainingPrivateFonts();

// The system's font configuration (fontconfig's files and caches). Run
// before the QApplication, whose set-up does not need it; wait for it
// before the first font is registered or drawn. Lowers the priority of the
// thread it runs on.
void ReadFontConfiguration();

// The installed fonts, read into the application's font database, which
// the first text needs. Needs the QApplication, and must end before it goes.
// The font database locks itself, so whatever needs it meanwhile waits.
void ReadInstalledFonts();
