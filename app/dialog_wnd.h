#pragma once
// CDialogWnd: the base of the program's small modal windows (message box,
// about window). Their layouts draw their own title bar ("title_bar"),
// which moves the window; the title-bar buttons behave alike:
//   "closebtn"                        closes with 0
//   "minbtn", "maxbtn", "restorebtn"  minimise, maximise, restore
//   "menubtn"                         nothing
// "maxbtn" and "restorebtn" swap visibility as the window is maximised and
// restored. The window manager's close closes with 0 too; it ends only
// this window, never the program.

#include "ui/window_impl_base.h"

class CDialogWnd : public WindowImplBase {
    Q_OBJECT
public:
    static constexpr int kClosedCode = 0;

    CDialogWnd();

protected:
    void InitWindow() override;
    void Notify(TNotifyUI& msg) override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool OnTitleButton(const QString& sender);
    void SwapMaxRestoreButtons();

    CControlUI maxButton_;
    CControlUI restoreButton_;
};
