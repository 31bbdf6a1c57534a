#include "app/main_discovery_sink.h"

#include "app/registered_messages.h"

void CMainDiscoverySink::OnSlotArrived(int slot)
{
    SendWindowMessage(window_, WM_USB_MAINMESS_DEVICE_ARRIVED, static_cast<WPARAM>(slot), 0);
}

void CMainDiscoverySink::OnSlotReleased(int slot)
{
    SendWindowMessage(window_, WM_USB_MAINMESS_DEVICE_LEFT, static_cast<WPARAM>(slot), 0);
}

void CMainDiscoverySink::OnFirstPass()
{
    PostWindowMessage(window_, UWM_INSTANCE_MSG, 0, 0);
}
