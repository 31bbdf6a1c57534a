#pragma once
// The colour picker's swatch file, "color_option_info.config": the preset
// swatch chosen last and the user's own twenty swatches, kept in the user
// data folder; a shipped copy in the default data folder starts it. No
// widgets here.

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

inline constexpr const char* kSwatchFileName = "color_option_info.config";
constexpr int kSwatchCount = 20;

// Eight upper-case hexadecimal digits of 0xAARRGGBB ("FF00FF00").
std::string ColorToHexText(uint32_t argb);
// The leading hexadecimal digits of a text; 0 when there are none.
uint32_t ColorFromHexText(const std::string& text);

struct UserSwatch {
    uint32_t color = 0;
    std::string userData;  // "1" when the swatch holds a colour
    friend bool operator==(const UserSwatch&, const UserSwatch&) = default;
};

class CColorSwatchFile {
public:
    CColorSwatchFile(std::string userPath, std::string defaultPath);
    // The file of the user data folder and its default copy.
    static CColorSwatchFile Standard();

    // A missing or unreadable user file takes the default file's content
    // (a null document when that is missing too).
    void PrepareUserFile() const;
    // The preset chosen last, when the file names one.
    std::optional<int> SelectedPreset() const;
    // The user swatches the file holds a colour for, by index.
    std::map<int, UserSwatch> UserSwatches() const;
    // Whether the file names a selected user swatch.
    bool HasUserSelection() const;

    // Each write keeps what else the file holds; false when it failed.
    bool SavePresets(const std::map<int, uint32_t>& colors, int selected) const;
    bool SaveUserSwatches(const std::map<int, UserSwatch>& swatches, int selected) const;

private:
    std::string user_;
    std::string default_;
};

// True for a user swatch's data that says it holds a colour ("1").
bool HoldsColor(const std::string& userData);
