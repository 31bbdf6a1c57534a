#pragma once
// CMacroControlUI: the macro editor of a device page: the family's macro list
// ("macro.config" and one ".mac" file a macro), the steps of the selected
// macro, live recording with the three delay modes, inserted mouse steps,
// moves and deletes, import and export. Built from the sub-layout
// "XML\CustomControlXML\MacroControl.xml"; the page's feature events reach it
// through HandleFeatureEvent. The decisions live in CMacroLibrary,
// CMacroRecorder and the command tables; this class binds them to widgets.

#include "devices/feature_panel.h"
#include "panels/macro_library.h"
#include "panels/macro_recorder.h"

#include <QTimer>

#include <string>
#include <vector>

class QListWidget;

class CMacroControlUI : public CFeaturePanel {
public:
    explicit CMacroControlUI(QWidget* parent = nullptr);

    // Takes the family's data folder from the page and shows its macros.
    void SetPage(CVelmoraUSBDevice* page) override;
    // 1 done, 0 nothing done; a command that arms a capture answers its
    // CaptureTarget, one that ends it kMacroCaptureEnded.
    int HandleFeatureEvent(const PageEvent& event) override;

    void SetMacroFolder(const std::string& folder);
    void LoadMacroList();
    std::vector<std::wstring> GetMacroNames() const { return library_.Names(); }
    const CMacroLibrary& Library() const { return library_; }
    const CMacroRecorder& Recorder() const { return recorder_; }
    // The selected macro's position in the list, -1 for none.
    int SelectedMacro() const;

protected:
    // A message box over the panel's window; 1 when the user confirms.
    virtual int Ask(const char* textId, bool withCancel = false);

private:
    using Command = int (CMacroControlUI::*)(const PageEvent& event);
    struct NamedCommand {
        const char* name;
        Command run;
    };
    static const NamedCommand kCommands[];

    // Macro list.
    int ShowSelectedMacro(const PageEvent& = {});
    int AddMacro(const PageEvent&);
    int DeleteMacro(const PageEvent&);
    int RenameMacro(const PageEvent&);
    int ImportMacro(const PageEvent& event);
    int ExportMacro(const PageEvent& event);
    int SaveMacro(const PageEvent& = {});
    void FillNameList(int selected);
    void MacroListChanged();

    // Steps.
    int StartCapture(const PageEvent& event);
    int StopCapture(const PageEvent&);
    int CaptureEvent(const PageEvent& event);
    int InsertMouseStep(const PageEvent& event);
    int EditSteps(const PageEvent& event);
    void SetEditingEnabled(bool enabled);
    void SetActionAreaEnabled(bool enabled);
    void TakeDelayEdits();
    void ShowRows();
    void SelectRow(int row);
    int ConstantDelay();

    QWidget* Find(const char* name) const;
    QListWidget* NameList() const;
    QListWidget* ActionList() const;

    QWidget* content_ = nullptr;
    CMacroLibrary library_;
    CMacroRecorder recorder_;
    int constantDelay_ = kDefaultConstantDelay;
    QTimer scrollTimer_;
};
