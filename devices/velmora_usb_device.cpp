#include "devices/velmora_usb_device.h"

#include "transport/device_table.h"

#include <QHBoxLayout>

CVelmoraUSBDevice::CVelmoraUSBDevice(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

int CVelmoraUSBDevice::HandleFeatureEvent(const PageEvent&)
{
    return 0;
}

void CVelmoraUSBDevice::ShowFunctionPanel(int type)
{
    functionPanel_ = type;
}

int CVelmoraUSBDevice::WriteCurrentKeys()
{
    return 0;
}

bool IsMousePage(const CVelmoraUSBDevice* page)
{
    return page && (page->GetDeviceKind() == kKindMouseCable || page->GetDeviceKind() == kKindMouseReceiver);
}

bool IsKeyboardPage(const CVelmoraUSBDevice* page)
{
    return page && (page->GetDeviceKind() == kKindKeyboard || page->GetDeviceKind() == kKindKeyboardSecond);
}
