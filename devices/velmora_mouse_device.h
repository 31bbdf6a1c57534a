#pragma once
// CVelmoraMouseDevice: the tri-mode mouse's page, on its cable or through its
// receiver. This first form reads what the device list needs: the
// information block when the device arrives or asks to be read again, and
// the battery.

#include "devices/velmora_usb_device.h"

class CVelmoraMouseDevice : public CVelmoraUSBDevice {
    Q_OBJECT
public:
    explicit CVelmoraMouseDevice(QWidget* parent = nullptr);
    ~CVelmoraMouseDevice() override { StopThreads(); }

    void LoadFromDevice() override;
    void RefreshFromDevice() override { LoadFromDevice(); }
    void ReadBattery() override;
    int IsReceiverLinked() override;
    bool HasWirelessFeatures() const override { return true; }
    // Read once the settings are; until then the keep-alive runs at its shortest.
    int GetSleepMinutes() override { return sleepMinutes_; }

protected:
    void HandleNotification(uint16_t code) override;

private:
    // Channel open and, through the receiver, the mouse linked.
    bool Ready();
    int ReadInfo(DeviceInfoBlock& block);
    void ShowInfo();

    int sleepMinutes_ = 1;
};
