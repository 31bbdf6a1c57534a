#pragma once
// CMsgWnd: the one message box of the program, for every confirmation and
// notice, built from "XML_MSG". ShowMessageBox runs it modally:
//
//   if (ShowMessageBox(this, "UpdateTiShi", "UpdateTiShiText", GetDPI(), true, true) == 1)
//       StartUpdate();
//
// titleId: a text identifier for "MessageTitle" (empty keeps the layout's).
// text: a text identifier when textIsIdentifier is set, else a ready text
// (see NumberText); empty keeps the layout's. dpi: one of the allowed
// values, anything else shows the box at 96. withCancel: a "cancel_btn"
// beside "confirm_btn". Returns 1 when confirmed, 0 on "cancel_btn" or the
// close button. The box deletes itself after it closed.

#include "app/dialog_wnd.h"

#include <functional>

class CMsgWnd : public CDialogWnd {
    Q_OBJECT
public:
    static constexpr int kConfirmedCode = 1;

    void SetTitleId(const QString& titleId);
    void SetMessage(const QString& text, bool textIsIdentifier);
    void SetCancelVisible(bool withCancel);

protected:
    QString GetSkinFile() override { return QStringLiteral("XML_MSG"); }
    QString GetWindowClassName() const override { return QStringLiteral("MsgWnd"); }
    void Notify(TNotifyUI& msg) override;
    void OnFinalMessage() override;
};

int ShowMessageBox(QWidget* owner, const QString& titleId, const QString& text, int dpi,
                   bool textIsIdentifier, bool withCancel);

// The DPI a box is shown at: dpi when allowed, else 96 with the trace
// "MSG_WND DPI SET ERROR".
int MessageBoxDpi(int dpi);

// For tests: called with each box once its modal run has started, to
// answer it as a user would (click one of its buttons). Without a hook the
// box waits for the user.
using MessageBoxHook = std::function<void(CMsgWnd& box)>;
void SetMessageBoxHook(MessageBoxHook hook);
