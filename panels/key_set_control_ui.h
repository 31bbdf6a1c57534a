#pragma once
// CKeySetControlUI: the key-setting panel: what the page's selected key
// does. The panel shows a key's code on the page of its function kind and
// stores what the user picks into the page's key list at once; the page
// writes the list to the device when the user asks ("key_butt_prosave").
// What a code means and how the shown values make one is decided in
// panels/key_assignment.h; the panel only copies values to and from its
// controls.

#include "devices/feature_panel.h"
#include "panels/key_assignment.h"

class CKeySetControlUI : public CFeaturePanel {
public:
    explicit CKeySetControlUI(QWidget* parent = nullptr);

    // 1 done, 0 nothing done, kKeyKeepsLeftButton for a refused key click.
    int HandleFeatureEvent(const PageEvent& event) override;

    void ShowKeyFunction(KeyFunctionCode code);
    // Values out of range are brought into it, in the controls too.
    KeyFunctionCode ReadKeyFunction();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int SelectKey(int key);
    void StoreKeyAssignment();
    void ChooseFunctionPage(int page);
    void TickModifierBox(int box);
    void TakeCapturedKey(uint32_t virtualKey, bool extended);
    void EnableSaveButtons(bool enabled);
    void FillCombos();
    void FillMacroCombo();
    // After the macro editor changed the list or another profile became
    // current: the macro names in the combo, the selected key's function and
    // the page's key texts as they are now.
    void FollowKeyList();
    void ShowValues(const KeyPanelValues& values);
    KeyPanelValues ValuesShown();
    int EditNumber(const char* name);

    KeyFunctionCode assigned_;
    KeyFunctionCode default_;
    uint8_t key_ = 0;  // the HID usage the key edit shows
};
