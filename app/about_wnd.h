#pragma once
// CAboutWnd: the about window with the software version, from the tray
// menu's "about_menu". Built from "AboutWnd.xml"; the version text is the
// language's text of "software_rev_text". A language change (message 3089)
// shows it again in the new language.

#include "app/dialog_wnd.h"
#include "app/main_messages.h"

#include <QPointer>

class CAboutWnd : public CDialogWnd {
    Q_OBJECT
protected:
    QString GetSkinFile() override { return QStringLiteral("AboutWnd.xml"); }
    QString GetWindowClassName() const override { return QStringLiteral("AboutWnd"); }
    void InitWindow() override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    void OnFinalMessage() override;

private:
    void ShowVersion();
};

// Opens the about window owned by `owner` at `dpi` and runs it modally;
// `handle` names it while it is open (so the owner can close it or tell it
// of a language change). Nothing happens while `handle` names an open one.
void ShowAboutWindow(QWidget* owner, int dpi, QPointer<WindowImplBase>& handle);
