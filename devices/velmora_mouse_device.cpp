#include "devices/velmora_mouse_device.h"

#include <QLabel>
#include <memory>

namespace {

constexpr size_t kInfoSensor = 9;  // 16 bits, little-endian
constexpr size_t kInfoKeyCount = 5;
// The device's own buttons send these high bytes (profile, DPI stage).
constexpr uint8_t kProfileNotifyHigh = 0x10;
constexpr uint8_t kDpiNotifyHigh = 0x11;

QString InfoText(const DeviceInfoBlock& block)
{
    const int sensor = block[kInfoSensor] | block[kInfoSensor + 1] << 8;
    return QStringLiteral("sensor %1 · %2 keys").arg(sensor, 4, 16, QLatin1Char('0')).arg(block[kInfoKeyCount]);
}

}  // namespace

CVelmoraMouseDevice::CVelmoraMouseDevice(QWidget* parent) : CVelmoraUSBDevice(parent)
{
    SetDeviceKind(kKindMouseCable);
    SetFamilyName(QStringLiteral("mouse"));
}

bool CVelmoraMouseDevice::Ready()
{
    CCommandChannel& channel = Channel();
    return channel.IsOpen() && (!channel.InReceiverMode() || channel.CheckLink());
}

int CVelmoraMouseDevice::ReadInfo(DeviceInfoBlock& block)
{
    if (!Ready())
        return kResultNoReply;
    CCommandChannel& channel = Channel();
    int result = channel.BeginConfig();
    if (result == kResultSuccess)
        result = channel.ReadInfoBlock(block.data());
    const int ended = channel.EndConfig();
    return result == kResultSuccess ? ended : result;
}

void CVelmoraMouseDevice::LoadFromDevice()
{
    auto block = std::make_shared<DeviceInfoBlock>();
    RunOnDevice([this, block] { return ReadInfo(*block); },
                [this, block](int result) {
                    if (result != kResultSuccess)
                        return;
                    SetInfoBlock(*block);
                    ShowInfo();
                    MarkLoaded();
                    ReadBattery();
                });
}

void CVelmoraMouseDevice::ReadBattery()
{
    if (GetWindowHidden())
        return;
    auto block = std::make_shared<std::array<uint8_t, kPowerBlockLength>>();
    RunOnDevice([this, block] { return Ready() ? Channel().ReadStatus(block->data(), kPowerBlockLength, 0) : 0; },
                [this, block](int result) {
                    if (result != kResultSuccess)
                        return;
                    SetPowerStatus(PowerStatusFromBlock(block->data(), block->size()));
                    emit DeviceDataChanged();
                });
}

int CVelmoraMouseDevice::IsReceiverLinked()
{
    return Channel().CheckLink() ? 1 : 0;
}

void CVelmoraMouseDevice::HandleNotification(uint16_t code)
{
    const uint8_t high = static_cast<uint8_t>(code >> 8);
    if (high == kProfileNotifyHigh || high == kDpiNotifyHigh)
        LoadFromDevice();
}

void CVelmoraMouseDevice::ShowInfo()
{
    if (auto* label = findChild<QLabel*>(QStringLiteral("mouse_info_text")))
        label->setText(InfoText(InfoBlock()));
}
