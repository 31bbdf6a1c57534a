#pragma once
// Where the discovery thread's reports reach the main window: arrivals and
// departures as messages sent to it (the thread waits until they are
// handled), the end of the first pass as the posted instance message that
// shows the window.

#include "platform/window_messages.h"
#include "transport/device_discovery.h"

inline constexpr UINT WM_USB_MAINMESS_DEVICE_ARRIVED = 3090;
inline constexpr UINT WM_USB_MAINMESS_DEVICE_LEFT = 3091;

class CMainDiscoverySink : public CDiscoverySink {
public:
    void SetWindow(WindowHandle window) { window_ = window; }
    void OnSlotArrived(int slot) override;
    void OnSlotReleased(int slot) override;
    void OnFirstPass() override;

private:
    WindowHandle window_ = 0;
};
