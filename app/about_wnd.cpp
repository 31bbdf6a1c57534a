#include "app/about_wnd.h"

#include "platform/trace.h"

void CAboutWnd::InitWindow()
{
    CDialogWnd::InitWindow();
    ShowVersion();
}

void CAboutWnd::ShowVersion()
{
    // The version is the displayed text of its identifier, as a language
    // file gives it (or the identifier itself).
    CControlUI probe = FindControl("text_test");
    probe.SetTextId("software_rev_text");
    FindControl("software_ver_label").SetText(probe.GetText());
}

LRESULT CAboutWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled)
{
    if (uMsg == WM_LANGUAGE_CHANGED) {
        bHandled = true;
        ShowVersion();
        update();
        return 0;
    }
    return CDialogWnd::HandleMessage(uMsg, wParam, lParam, bHandled);
}

void CAboutWnd::OnFinalMessage()
{
    deleteLater();
}

void ShowAboutWindow(QWidget* owner, int dpi, QPointer<WindowImplBase>& handle)
{
    if (handle && !handle->IsClosed())
        return;
    handle = new CAboutWnd;
    if (!handle->Create(owner, QStringLiteral("  ")))
        Trace("about window layout missing");
    handle->SetDPI(dpi);
    handle->CenterWindow();
    handle->ShowModal();
}
