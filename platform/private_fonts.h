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

inline constexpr std::array<const char*, 4> kPrivateFontFiles = {
    "Font/Simplified_Chinese.ttf",
    "Font/Rozerire-Regular.otf",
    "Font/NotoSansThai-Regular.ttf",
    "Font/NotoSansCJKtc-Regular.otf",
};

class CPrivateFonts {
public:
    // Loads kPrivateFontFiles relative to `programFolder` (ending in '/').
    explicit CPrivateFonts(const std::string& programFolder);
    ~CPrivateFonts();
    CPrivateFonts(const CPrivateFonts&) = delete;
    CPrivateFonts& operator=(const CPrivateFonts&) = delete;

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
    std::vector<int> fontIds_;
    std::vector<Signature> signatures_;
};
