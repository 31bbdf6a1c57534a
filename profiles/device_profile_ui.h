#pragma once
// CDeviceProfileUI: the profile panel of a device page. It shows the page's
// profile list (CProfileList) in "device_profile_combo" and carries out the
// main window's profile commands on it; whenever another profile becomes
// current the page reloads it and the device follows. It also offers the
// option of a profile that follows the program in front, and shows the
// operation tabs that fit the page's device kind.

#include "devices/feature_panel.h"
#include "profiles/profile_bindings.h"

#include <QTimer>

#include <memory>
#include <optional>

class CDeviceProfileUI : public CFeaturePanel {
public:
    explicit CDeviceProfileUI(QWidget* parent = nullptr);

    void SetPage(CVelmoraUSBDevice* page) override;
    // Profile commands answer with ProfileCommandAnswer.
    int HandleFeatureEvent(const PageEvent& event) override;

    // Selects tab n (1..9) and clears the others; any other n clears all.
    void SelectOperationTab(int number);
    void ShowProfileMenu(bool show);
    bool IsProfileMenuShown();

    // Where the desktop names the program in front; tests hand in a stand-in.
    void SetActiveWindowSource(std::unique_ptr<IActiveWindowSource> source);
    CProfileBindingController* Bindings() { return bindings_ ? &*bindings_ : nullptr; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    CProfileList* List() const;
    int RunCommand(const PageEvent& event);
    void ShowProfiles();
    void FollowCurrentProfile();
    void RevertNameEdit();
    void ShowOperationTabs();
    void ShowBindingOption();
    void TakeBoundPrograms();
    void EnableBindings(bool enabled);

    std::unique_ptr<IActiveWindowSource> source_;
    std::optional<CProfileBindingController> bindings_;
    QTimer bindingPoll_;
};
