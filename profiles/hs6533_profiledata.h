#pragma once
// The headset's profile: sound settings, the stored values of the built-in
// equalizers and the user's own equalizers besides the lighting sections.

#include "profiles/basic_profiledata.h"

inline constexpr int kEqBandCount = 10;
// The equalizer type of the user's own equalizers: no stored preset values.
inline constexpr int kCustomEqType = 13;
inline constexpr int kMaxCustomEqualizers = 20;

class CHs6533Profiledata : public CBasicProfiledata {
public:
    CHs6533Profiledata() : CBasicProfiledata(kHeadsetSlot) {}

    HeadsetSettings ReadHeadsetSettings();
    void WriteHeadsetSettings(const HeadsetSettings& settings);

    // Ten band values of an equalizer type; empty for kCustomEqType. Bands the
    // profile lacks read as 0 and are added to it.
    std::vector<int> ReadEqValues(int type);
    // Writes ten bands (missing values as 0); nothing for kCustomEqType.
    void WriteEqValues(int type, const std::vector<int>& values);
    std::vector<std::wstring> ReadCustomEqNames();
    void WriteCustomEqNames(const std::vector<std::wstring>& names);
    // User equalizer n, 0..19; other numbers read as zeros and write nothing.
    std::vector<int> ReadCustomEqValues(int n);
    void WriteCustomEqValues(int n, const std::vector<int>& values);

private:
    HeadsetSettings m_settings;
};
