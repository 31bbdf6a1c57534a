#pragma once
// The program's own fonts, loaded from its "Font" folder into this process
// only, in a fixed order, and removed again in the reverse order. A font that
// is missing, unreadable or rejected is skipped: the interface then falls back
// to the system's fonts. Needs a QGuiApplication.

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

    int LoadedCount() const;
    // The family names the loaded fonts brought, in loading order.
    QStringList Families() const;

private:
    bool Load(const std::string& path);
    std::vector<int> fontIds_;
};
