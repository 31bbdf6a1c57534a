#include "app/dialog_wnd.h"

#include <QMouseEvent>
#include <QWindow>

CDialogWnd::CDialogWnd() : WindowImplBase(false) {}

void CDialogWnd::InitWindow()
{
    maxButton_ = FindControl("maxbtn");
    restoreButton_ = FindControl("restorebtn");
    if (CControlUI titleBar = FindControl("title_bar")) {
        setWindowFlag(Qt::FramelessWindowHint);
        titleBar.Widget()->installEventFilter(this);
    }
    SwapMaxRestoreButtons();
}

void CDialogWnd::Notify(TNotifyUI& msg)
{
    if (msg.sType == "click" && OnTitleButton(msg.SenderName()))
        return;
    WindowImplBase::Notify(msg);
}

bool CDialogWnd::OnTitleButton(const QString& sender)
{
    if (sender == "closebtn")
        Close(kClosedCode);
    else if (sender == "minbtn")
        showMinimized();
    else if (sender == "maxbtn")
        showMaximized();
    else if (sender == "restorebtn")
        showNormal();
    else
        return sender == "menubtn";
    return true;
}

LRESULT CDialogWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled)
{
    if (uMsg == WM_CLOSE) {
        bHandled = true;
        Close(kClosedCode);
        return 0;
    }
    return WindowImplBase::HandleMessage(uMsg, wParam, lParam, bHandled);
}

void CDialogWnd::SwapMaxRestoreButtons()
{
    if (!maxButton_ || !restoreButton_)
        return;
    maxButton_.SetVisible(!isMaximized());
    restoreButton_.SetVisible(isMaximized());
}

void CDialogWnd::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange)
        SwapMaxRestoreButtons();
    WindowImplBase::changeEvent(event);
}

bool CDialogWnd::eventFilter(QObject* watched, QEvent* event)
{
    const auto* mouse = dynamic_cast<QMouseEvent*>(event);
    if (mouse && mouse->button() == Qt::LeftButton && event->type() == QEvent::MouseButtonPress &&
        windowHandle()) {
        windowHandle()->startSystemMove();
        return true;
    }
    return WindowImplBase::eventFilter(watched, event);
}
