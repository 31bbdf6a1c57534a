// The main window's input captures: the key panel's single-key capture while
// its key edit has the focus, and the macro editor's recordings. While a
// macro capture is armed the device list, the profile panel and the key
// panel are locked; the capture ends with the stop button, when the window
// is hidden or deactivated, and when the recording page's device goes away.

#include "app/main_wnd.h"
#include "app/registered_messages.h"
#include "panels/macro_event.h"
#include "platform/trace.h"

void CMainWnd::SwitchKeyCapture(bool on)
{
    if (IsMacroHookMode(hook_.Mode()))
        return;  // a recording keeps the keys
    if (!on)
        hook_.Uninstall();
    else if (!hook_.Install(kHookSingleKey, this, GetHWND()))
        Trace("key capture: the window is not shown");
}

void CMainWnd::RunMacroCaptureRoute(const NotifyRoute& route, const PageEvent& event)
{
    const int answer = HandOff(route.feature, route.need, event);
    if (IsMacroHookMode(answer))
        StartMacroCapture(answer);
    else if (answer == kMacroCaptureEnded)
        EndMacroCapture(false);
}

void CMainWnd::StartMacroCapture(int mode)
{
    capturePage_ = CurrentPage();
    hook_.SetReleasedHandler([this] { EndMacroCapture(true); });
    if (!hook_.Install(mode, this, GetHWND())) {
        Trace("macro capture: the window is not shown");
        EndMacroCapture(true);
        return;
    }
    SetInterfaceEnabled(false);
}

void CMainWnd::EndMacroCapture(bool tellEditor)
{
    hook_.Uninstall();
    SetInterfaceEnabled(true);
    CVelmoraUSBDevice* page = capturePage_;
    capturePage_ = nullptr;
    if (page == nullptr)
        return;
    if (tellEditor) {
        // The editor stops recording and saves the macro.
        PageEvent stop = PageEvent::Of("command", "capture_ended");
        stop.feature = PageFeature::Macros;
        page->HandleFeatureEvent(stop);
    }
    if (page == CurrentPage())
        SetTimer(kKeyWriteTimer, 100);  // the device gets the macros
}

void CMainWnd::EndCaptureIfDeviceGone()
{
    if (!IsMacroHookMode(hook_.Mode()))
        return;
    CVelmoraUSBDevice* page = capturePage_;
    if (page == nullptr || page != CurrentPage() || !page->Channel().IsOpen())
        EndMacroCapture(true);
}

void CMainWnd::SetInterfaceEnabled(bool enabled)
{
    FindControl(QStringLiteral("device_select_layout")).SetEnabled(enabled);
    if (CVelmoraUSBDevice* page = capturePage_ ? capturePage_.data() : CurrentPage()) {
        FindSubControlByName(page, QStringLiteral("DeviceProfileItem")).SetEnabled(enabled);
        FindSubControlByName(page, QStringLiteral("KeySetControlItem")).SetEnabled(enabled);
    }
}
