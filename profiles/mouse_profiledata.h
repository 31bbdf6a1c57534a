#pragma once
// The mouse's profile: DPI stages and the sixteen settings values besides the
// sections every family has.

#include "profiles/basic_profiledata.h"

class CMouseProfiledata : public CBasicProfiledata {
public:
    CMouseProfiledata() : CBasicProfiledata(kMouseSlot) {}

    // Stages the file holds replace the kept ones position by position; kept
    // stages beyond them stay.
    std::vector<DpiStage> ReadDpiStages();
    void WriteDpiStages(const std::vector<DpiStage>& stages);
    int GetActiveDpiStage() const { return m_activeDpiStage; }
    void WriteActiveDpiStage(int stage);
    MouseSettings ReadMouseSettings();
    void WriteMouseSettings(const MouseSettings& settings);

private:
    std::vector<DpiStage> m_dpiStages;
    int m_activeDpiStage = 0;
    MouseSettings m_settings;
};
