#pragma once
// CShootControlUI: the recoil panel: four patterns of 30 bullets each. The
// panel keeps no pattern in memory: every bullet shown is read from its
// pattern's working file and every edit is written there
// (panels/recoil_patterns.h); "shootdate_save_btn" sends the four files to
// the mouse.

#include "devices/feature_panel.h"
#include "panels/recoil_patterns.h"
#include "ui/control.h"

#include <string>

class CShootControlUI : public CFeaturePanel {
public:
    explicit CShootControlUI(QWidget* parent = nullptr);

    // Points the panel at the page family's pattern files (restoring damaged
    // ones) and shows bullet 1 of pattern 1.
    void SetPage(CVelmoraUSBDevice* page) override;
    // 1 done, 0 nothing done; an import answers with RecoilImportAnswer.
    int HandleFeatureEvent(const PageEvent& event) override;

    // Both folders end in '/'.
    void SetRecoilFolder(const std::string& folder);
    void SetRecoilDefaultFolder(const std::string& folder);
    void InitRecoilPanel();
    void SelectGun(int gun);
    void SelectBullet(int bullet);
    void SelectPreviousBullet() { SelectBullet(bullet_ - 1); }
    void SelectNextBullet() { SelectBullet(bullet_ + 1); }
    void ShowBullet();
    bool StoreBullet();
    void ShowXDirection();
    void ShowYDirection();
    void ResetGun(int gun);
    RecoilImport ImportRecoilFile(const std::string& path);
    bool ExportRecoilFile(const std::string& path);

    int SelectedGun() const { return gun_; }
    int SelectedBullet() const { return bullet_; }
    const CRecoilPatterns& Patterns() const { return patterns_; }

private:
    CControlUI Control(const QString& name) const;
    void SelectOption(const QString& prefix, int count, int selected);
    void SendRecoilPatterns();

    CRecoilPatterns patterns_;
    std::string working_;
    std::string defaults_;
    int gun_ = 0;
    int bullet_ = -1;
};

// What HandleFeatureEvent answers to an import: 1 imported, 0 nothing to
// do, or the negative RecoilImport code of a refusal.
int RecoilImportAnswer(RecoilImport result);
