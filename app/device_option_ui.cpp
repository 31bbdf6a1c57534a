#include "app/device_option_ui.h"

#include "app/main_messages.h"
#include "app/main_wnd.h"
#include "platform/trace.h"
#include "ui/dialog_builder.h"
#include "ui/resource_manager.h"
#include "ui/widget_text.h"

#include <QIcon>

namespace {

constexpr int kConnectionRetryMs = 5000;
constexpr int kPollWirelessMs = 500;
constexpr int kPollWiredMs = 5;
constexpr int kBatteryIntervalMs = 3000;
constexpr int kLinkWatchFirstMs = 2000;
constexpr int kLinkWatchIntervalMs = 3000;
constexpr int kKeepAliveFirstMs = 50;
constexpr int kKeepAliveMarginMs = 10000;

QString SkinImage(const QString& relative)
{
    return CResourceManager::GetInstance().GetResourcePath() + relative;
}

QString PowerImage(uint8_t power)
{
    switch (power) {
    case kPowerOnBattery:
        return QStringLiteral("power/powered.png");
    case kPowerCharging:
        return QStringLiteral("power/powering.png");
    default:
        return QStringLiteral("power/power.png");
    }
}

QString PhoneText(uint8_t phone)
{
    switch (phone) {
    case kPhoneIphone:
        return QStringLiteral("Phone_type_iphone");
    case kPhoneSamsung:
        return QStringLiteral("Phone_type_samsung");
    case kPhoneOther:
        return QStringLiteral("Phone_type_other");
    default:
        return QStringLiteral("Phone_type_no_device");
    }
}

void ShowImage(QLabel* label, const QString& relative)
{
    if (label)
        label->setPixmap(QPixmap(SkinImage(relative)));
}

}  // namespace

CMpDevicePowerUI::CMpDevicePowerUI(QWidget* parent) : QWidget(parent)
{
    QWidget* root = CDialogBuilder::BuildInto(this, QStringLiteral("XML\\CustomControlXML\\MpDevicePower.xml"));
    if (!root)
        return;
    value_ = root->findChild<QLabel*>(QStringLiteral("device_power_value"));
    wireless_ = root->findChild<QLabel*>(QStringLiteral("device_wuxian_logo"));
    state_ = root->findChild<QLabel*>(QStringLiteral("device_power_status"));
    phone_ = root->findChild<QLabel*>(QStringLiteral("device_phone_type"));
    progress_ = root->findChild<QProgressBar*>(QStringLiteral("device_Power_progress"));
    if (phone_)
        phone_->hide();
}

void CMpDevicePowerUI::SetDeviceKind(int kind, int)
{
    kind_ = kind;
    if (phone_)
        phone_->setVisible(kind == kKindMousePad);
}

void CMpDevicePowerUI::SetStatus(const PowerStatus& status)
{
    if (value_)
        value_->setText(QStringLiteral("%1%2").arg(status.level).arg(QLatin1Char('%')));
    if (progress_)
        progress_->setValue(100 - status.level);
    ShowImage(state_, PowerImage(status.power));
    if (wireless_)
        wireless_->setVisible(status.wireless);
    if (phone_ && kind_ == kKindMousePad) {
        SetWidgetTextId(phone_, PhoneText(status.phone));
        ShowImage(phone_, QStringLiteral("power/%1.png").arg(PhoneText(status.phone)));
    }
}

QString CMpDevicePowerUI::LevelText() const
{
    return value_ ? value_->text() : QString();
}

DeviceCategory CategoryOfKind(int kind)
{
    switch (kind) {
    case kKindKeyboard:
    case kKindKeyboardSecond:
        return {1, 0};
    case kKindMouseCable:
    case kKindMouseReceiver:
        return {2, 0};
    case kKindMousePad:
        return {3, 0};
    case kKindHeadset:
        return {7, 0};
    default:
        return {0, 0};
    }
}

const char* CategoryPrefix(DeviceCategory category)
{
    switch (category.category) {
    case 1:
        return "kb";
    case 2:
        return "ms";
    case 3:
        return category.subCategory == 1 ? "soft_mp" : "hard_mp";
    case 4:
    case 7:
        return "hd";
    case 5:
        return "hub";
    default:
        return "unknow";
    }
}

CDeviceOptionUI::CDeviceOptionUI(int index, CVelmoraUSBDevice* page, CMpDevicePowerUI* power, int powerIndex,
                                 QWidget* parent)
    : QWidget(parent), index_(index), page_(page), power_(power), powerIndex_(powerIndex),
      category_(CategoryOfKind(page ? page->GetDeviceKind() : 0))
{
    if (QWidget* root = CDialogBuilder::BuildInto(this, QStringLiteral("XML\\CustomControlXML\\DeviceOption.xml"))) {
        select_ = root->findChild<QPushButton*>(QStringLiteral("device_select"));
        synchro_ = root->findChild<QPushButton*>(QStringLiteral("synchro_device_select"));
        name_ = root->findChild<QLabel*>(QStringLiteral("device_select_name"));
    }
    if (select_)
        connect(select_, &QPushButton::clicked, this, [this] { emit Clicked(index_); });
    if (synchro_)
        connect(synchro_, &QPushButton::toggled, this, [this](bool on) { emit SynchroToggled(index_, on); });
    if (name_)
        SetWidgetTextId(name_, QStringLiteral("%1_device_name_text").arg(QLatin1String(CategoryPrefix(category_))));
    if (page_) {
        connect(page_, &CVelmoraUSBDevice::DeviceDataChanged, this, &CDeviceOptionUI::ShowPower);
        connect(page_, &CVelmoraUSBDevice::SleepTimeChanged, this, [this] {
            if (linked_)
                StartTimer(kKeepAliveTimer, KeepAliveMs(page_->GetSleepMinutes()));
        });
    }
    hide();
    ShowImages();
}

void CDeviceOptionUI::Show(bool visible, bool selected, bool synchro)
{
    visible_ = visible;
    selected_ = selected;
    synchroOn_ = synchro;
    setVisible(visible);
    if (select_) {
        const QSignalBlocker quiet(select_);
        select_->setChecked(selected);
    }
    if (synchro_) {
        const QSignalBlocker quiet(synchro_);
        synchro_->setChecked(synchro);
    }
    ShowImages();
}

void CDeviceOptionUI::ShowImages()
{
    if (!select_)
        return;
    const QString state = QLatin1String(synchroOn_ ? "_device_synchro_" : "_device_") +
                          QLatin1String(selected_ ? "selected" : "normal");
    const QString image =
        QStringLiteral("common/device_ico/%1%2.png").arg(QLatin1String(CategoryPrefix(category_)), state);
    select_->setIcon(QIcon(SkinImage(image)));
}

void CDeviceOptionUI::ShowPower()
{
    if (power_ && page_ && page_->HasData())
        power_->SetStatus(page_->GetPowerStatus());
}

void CDeviceOptionUI::StartTimer(TimerId id, int ms)
{
    QTimer*& timer = timers_[id];
    if (!timer) {
        timer = new QTimer(this);
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, this, [this, id] { OnTimer(id); });
    }
    timer->start(ms);
}

void CDeviceOptionUI::StopTimers()
{
    for (auto& [id, timer] : timers_)
        timer->stop();
}

bool CDeviceOptionUI::IsTimerActive(TimerId id) const
{
    const auto found = timers_.find(id);
    return found != timers_.end() && found->second->isActive();
}

int CDeviceOptionUI::KeepAliveMs(int minutes)
{
    const long long interval = static_cast<long long>(minutes) * 60000 - kKeepAliveMarginMs;
    return interval < kMinKeepAliveMs ? kMinKeepAliveMs : static_cast<int>(std::min<long long>(interval, INT32_MAX));
}

void CDeviceOptionUI::OnTimer(TimerId id)
{
    if (!page_)
        return;
    switch (id) {
    case kPollTimer:
        return Poll();
    case kConnectionTimer:
        return CheckConnection();
    case kBatteryTimer:
        return ReadBattery();
    case kLinkWatchTimer:
        return WatchLink();
    case kKeepAliveTimer:
        return KeepAlive();
    }
}

void CDeviceOptionUI::Poll()
{
    if (selected_ && page_->HasData())
        ShowPower();
    page_->RenderLights();
    if (page_->Channel().IsOpen())
        StartTimer(kPollTimer, page_->IsReceiver() ? kPollWirelessMs : kPollWiredMs);
}

void CDeviceOptionUI::CheckConnection()
{
    if (!page_->Channel().IsOpen())
        return;
    if (!page_->IsReceiver()) {
        OnConnectionChecked(true);
        return;
    }
    QPointer<CDeviceOptionUI> self(this);
    CVelmoraUSBDevice* page = page_;
    page->RunOnDevice([page] { return page->IsReceiverLinked(); },
                      [self](int linked) {
                          if (self)
                              self->OnConnectionChecked(linked == 1);
                      });
}

void CDeviceOptionUI::OnConnectionChecked(bool linked)
{
    const bool wireless = page_->IsReceiver() != 0;
    if (!linked) {
        failures_ = (failures_ + 1) % kFailureWrap;
        if (visible_) {
            linked_ = false;
            SendState(0);
        }
        StartTimer(kConnectionTimer, kConnectionRetryMs);
        return;
    }
    if (wireless) {
        StartTimer(kKeepAliveTimer, kKeepAliveFirstMs);
        linked_ = true;
        SendState(1);
    }
    page_->LoadFromDevice();
    failures_ = 0;
    StartTimer(kPollTimer, kPollWiredMs);
    if (wireless)
        StartTimer(kLinkWatchTimer, kLinkWatchFirstMs);
    if (page_->HasWirelessFeatures())
        StartTimer(kBatteryTimer, kBatteryIntervalMs);
}

void CDeviceOptionUI::ReadBattery()
{
    page_->ReadBattery();
    if (page_->HasWirelessFeatures() && page_->Channel().IsOpen())
        StartTimer(kBatteryTimer, kBatteryIntervalMs);
}

void CDeviceOptionUI::WatchLink()
{
    if (!page_->Channel().IsOpen())
        return;
    if (!page_->IsReceiver()) {
        Trace("2.4gcesvdfherhue  12312423");
        return;
    }
    QPointer<CDeviceOptionUI> self(this);
    CVelmoraUSBDevice* page = page_;
    page->RunOnDevice([page] { return page->IsReceiverLinked(); },
                      [self, page](int linked) {
                          if (!self || !page->IsReceiver())
                              return;
                          if (linked == 1 && !self->visible_) {
                              self->linked_ = true;
                              self->SendState(1);
                              Trace("2.4gcesvdfherhue  12312423 123342341");
                              // The mouse is back: read it again, it may have changed meanwhile.
                              page->LoadFromDevice();
                          } else if (linked != 1 && self->visible_) {
                              self->linked_ = false;
                              self->SendState(0);
                              Trace("2.4gcesvdfherhue");
                          }
                          self->StartTimer(kLinkWatchTimer, kLinkWatchIntervalMs);
                      });
}

void CDeviceOptionUI::KeepAlive()
{
    QPointer<CDeviceOptionUI> self(this);
    CVelmoraUSBDevice* page = page_;
    page->RunOnDevice(
        [page] {
            CCommandChannel& channel = page->Channel();
            if (!channel.IsOpen())
                return 0;
            const int begun = channel.BeginConfig();
            return begun == kResultSuccess ? channel.EndConfig() : begun;
        },
        [self, page](int) {
            if (self && page->Channel().IsOpen())
                self->StartTimer(kKeepAliveTimer, KeepAliveMs(page->GetSleepMinutes()));
        });
}

void CDeviceOptionUI::SendState(int linked)
{
    SendWindowMessage(MainWindowHandle(), WM_DEVICE_ENTRY_STATE, static_cast<WPARAM>(index_), linked);
}
