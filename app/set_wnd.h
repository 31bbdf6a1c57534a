#pragma once
// CSetWnd: the settings window, from "setbtn" or the tray menu's
// "setwnd_menu": the interface language and the list of updatable items
// (each present device's firmware and the program) with their versions.
// Choosing a language tells the main window at once (message 3089). The
// update work itself belongs to an external update program, which reports
// through the relay message the main window passes on; while an item is
// on its way the window does not close.

#include "app/dialog_wnd.h"
#include "services/update_items.h"

#include <QPointer>

class CSetWnd : public CDialogWnd {
    Q_OBJECT
public:
    static constexpr int kWidth = 630;
    static constexpr int kHeight = 500;

    void SetOwnerWindow(WindowHandle owner) { owner_ = owner; }
    void SetLanguageIndex(int index) { languageIndex_ = index; }
    void SetRecords(std::vector<UpdateRecord> records) { items_ = CUpdateItems(std::move(records)); }
    const CUpdateItems& Items() const { return items_; }

protected:
    QString GetSkinFile() override { return QStringLiteral("setwnd.xml"); }
    QString GetWindowClassName() const override { return QStringLiteral("SetWnd"); }
    void InitWindow() override;
    void Notify(TNotifyUI& msg) override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    void OnFinalMessage() override;

private:
    void FillLanguages();
    void FillUpdateList();
    void ShowItem(int index);
    void ShowStatus(UpdateWindowStatus status);
    void ShowUpdateButton();
    int ItemIndexOf(QObject* sender) const;
    void QueueUpdates();

    WindowHandle owner_ = 0;
    int languageIndex_ = 0;
    CUpdateItems items_;
    UpdateWindowStatus status_ = UpdateWindowStatus::GettingInfo;
    QList<QPointer<QWidget>> itemWidgets_;
};

struct CDevicePages;

// One up-to-date row per device family present, then the program's row.
std::vector<UpdateRecord> UpdateRecordsOf(const CDevicePages& pages);

// Opens the settings window owned by `owner`, centred or beside the
// owner's right edge, and runs it modally; `handle` names it while open.
// Nothing happens while `handle` names an open one.
void ShowSettingsWindow(WindowImplBase* owner, int dpi, int languageIndex, std::vector<UpdateRecord> records,
                        bool centred, QPointer<WindowImplBase>& handle);
