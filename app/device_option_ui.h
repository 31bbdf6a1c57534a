#pragma once
// One entry of the device list ("DeviceOption") and the battery display of
// its device ("MpDevicePower"), each built from its own layout. The entry
// drives its page with one-shot timers: poll, connection check, battery,
// link watch and keep-alive. Exchanges with the device run on the page's
// worker; the timers and everything they show stay on the UI thread.

#include "devices/velmora_usb_device.h"

#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <map>

class CMpDevicePowerUI : public QWidget {
    Q_OBJECT
public:
    explicit CMpDevicePowerUI(QWidget* parent = nullptr);
    void SetDeviceKind(int kind, int subKind = 0);
    void SetStatus(const PowerStatus& status);
    QString LevelText() const;

private:
    QPointer<QLabel> value_, wireless_, state_, phone_;
    QPointer<QProgressBar> progress_;
    int kind_ = 0;
};

// Icon and name choice of an entry.
struct DeviceCategory {
    int category = 0;
    int subCategory = 0;
};
DeviceCategory CategoryOfKind(int kind);
// "kb", "ms", "hard_mp", "soft_mp", "hd", "hub", "unknow".
const char* CategoryPrefix(DeviceCategory category);

class CDeviceOptionUI : public QWidget {
    Q_OBJECT
public:
    enum TimerId : int {
        kPollTimer = 1000,
        kConnectionTimer = 1001,
        kBatteryTimer = 1005,
        kLinkWatchTimer = 1007,
        kKeepAliveTimer = 1008,
    };
    static constexpr int kFailureWrap = 20;
    static constexpr int kMinKeepAliveMs = 50000;

    CDeviceOptionUI(int index, CVelmoraUSBDevice* page, CMpDevicePowerUI* power, int powerIndex,
                    QWidget* parent = nullptr);

    int Index() const { return index_; }
    CVelmoraUSBDevice* Page() const { return page_; }
    CMpDevicePowerUI* Power() const { return power_; }
    int PowerIndex() const { return powerIndex_; }
    DeviceCategory Category() const { return category_; }
    QPushButton* SelectButton() const { return select_; }
    QPushButton* SynchroButton() const { return synchro_; }

    // The list's state of this entry, shown.
    void Show(bool visible, bool selected, bool synchro);
    bool IsEntryVisible() const { return visible_; }
    bool IsEntrySelected() const { return selected_; }

    void StartTimer(TimerId id, int ms);
    void StopTimers();
    bool IsTimerActive(TimerId id) const;
    int FailureCount() const { return failures_; }
    bool IsLinked() const { return linked_; }

    // The keep-alive interval for a device that sleeps after `minutes`.
    static int KeepAliveMs(int minutes);

signals:
    void Clicked(int index);
    void SynchroToggled(int index, bool on);

private:
    void OnTimer(TimerId id);
    void Poll();
    void CheckConnection();
    void OnConnectionChecked(bool linked);
    void ReadBattery();
    void WatchLink();
    void KeepAlive();
    void SendState(int linked);
    void ShowImages();
    void ShowPower();

    int index_;
    QPointer<CVelmoraUSBDevice> page_;
    QPointer<CMpDevicePowerUI> power_;
    int powerIndex_;
    DeviceCategory category_;
    QPointer<QPushButton> select_, synchro_;
    QPointer<QLabel> name_;
    std::map<int, QTimer*> timers_;
    bool visible_ = false;
    bool selected_ = false;
    bool synchroOn_ = false;
    bool linked_ = false;
    int failures_ = 0;
};
