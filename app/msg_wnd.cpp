#include "app/msg_wnd.h"

#include "platform/trace.h"
#include "ui/dpi.h"

#include <QTimer>

static MessageBoxHook& Hook()
{
    static MessageBoxHook hook;
    return hook;
}

void SetMessageBoxHook(MessageBoxHook hook)
{
    Hook() = std::move(hook);
}

int MessageBoxDpi(int dpi)
{
    if (IsAllowedDpi(dpi))
        return dpi;
    TraceF("MSG_WND DPI SET ERROR %d", dpi);
    return kDefaultDpi;
}

void CMsgWnd::SetTitleId(const QString& titleId)
{
    if (!titleId.isEmpty())
        FindControl("MessageTitle").SetTextId(titleId);
}

void CMsgWnd::SetMessage(const QString& text, bool textIsIdentifier)
{
    if (text.isEmpty())
        return;
    CControlUI message = FindControl("MessageText");
    if (textIsIdentifier)
        message.SetTextId(text);
    else
        message.SetText(text);
}

void CMsgWnd::SetCancelVisible(bool withCancel)
{
    FindControl("confirm_btn").SetVisible(true);
    FindControl("cancel_btn").SetVisible(withCancel);
}

void CMsgWnd::Notify(TNotifyUI& msg)
{
    if (msg.sType == "click" && msg.SenderName() == "confirm_btn")
        Close(kConfirmedCode);
    else if (msg.sType == "click" && msg.SenderName() == "cancel_btn")
        Close(kClosedCode);
    else
        CDialogWnd::Notify(msg);
}

void CMsgWnd::OnFinalMessage()
{
    deleteLater();
}

int ShowMessageBox(QWidget* owner, const QString& titleId, const QString& text, int dpi,
                   bool textIsIdentifier, bool withCancel)
{
    auto* box = new CMsgWnd;
    if (!box->Create(owner, QStringLiteral("msgwnd")))
        Trace("message box layout missing");
    box->SetTitleId(titleId);
    box->SetMessage(text, textIsIdentifier);
    box->SetDPI(MessageBoxDpi(dpi));
    box->SetCancelVisible(withCancel);
    box->adjustSize();
    box->CenterWindow();
    if (const MessageBoxHook& hook = Hook())
        QTimer::singleShot(0, box, [box, hook] { hook(*box); });
    // Anything but the confirm button (the box gone with its owner, too) is no.
    return box->ShowModal() == CMsgWnd::kConfirmedCode ? 1 : 0;
}
