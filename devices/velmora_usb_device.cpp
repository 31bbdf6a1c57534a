#include "devices/velmora_usb_device.h"

#include "panels/light_panel_rules.h"

#include "devices/feature_panel.h"
#include "devices/page/function_panel.h"
#include "platform/trace.h"
#include "ui/controls/device_key_button.h"

#include <QDateTime>
#include <QStackedWidget>

namespace {

constexpr LedColor kWhiteFullLevel = PackLed({255, 255, 255}, 255);

// The number after a "key_" or "light_" prefix (case ignored), or -1.
int NumberAfter(const QString& name, QLatin1String prefix)
{
    if (!name.startsWith(prefix, Qt::CaseInsensitive))
        return -1;
    bool ok = false;
    const int number = name.mid(prefix.size()).toInt(&ok);
    return ok ? number : -1;
}

void PlaceControl(QList<QPointer<CDeviceKeyButtonUI>>& list, int number, CDeviceKeyButtonUI* button)
{
    if (number >= 0 && number < list.size())
        list[number] = button;
}

uint32_t SteadyMs()
{
    return static_cast<uint32_t>(QDateTime::currentMSecsSinceEpoch());
}

}  // namespace

CVelmoraUSBDevice::CVelmoraUSBDevice(QWidget* parent)
    : QWidget(parent),
      cableListener_([this](uint16_t code) {
          QMetaObject::invokeMethod(this, [this, code] { OnNotification(code); }, Qt::QueuedConnection);
      }),
      receiverListener_([this](uint16_t code) {
          QMetaObject::invokeMethod(this, [this, code] { OnNotification(code); }, Qt::QueuedConnection);
      })
{
    syncTimer_.setSingleShot(true);
    connect(&syncTimer_, &QTimer::timeout, this, [this] {
        ++syncRefreshes_;
        RefreshFromDevice();
    });
}

CVelmoraUSBDevice::~CVelmoraUSBDevice()
{
    StopThreads();
}

void CVelmoraUSBDevice::StopThreads()
{
    // Threads first: they use the channel, the listeners and this page.
    worker_.Stop();
    CloseNotificationInterfaces();
}

namespace {

// The layout name of the panel that serves a feature, where a panel does.
QString FeaturePanelName(PageFeature feature)
{
    switch (feature) {
    case PageFeature::Keys:
    case PageFeature::Capture:
        return QStringLiteral("KeySetControlItem");
    case PageFeature::Macros:
        return QStringLiteral("MacroControlItem");
    case PageFeature::Lighting:
    case PageFeature::AudioLight:
    case PageFeature::GameEvents:
        return QStringLiteral("LightControlItem");
    case PageFeature::Recoil:
        return QStringLiteral("ShootControlItem");
    case PageFeature::Profiles:
        return QStringLiteral("DeviceProfileItem");
    default:
        return {};
    }
}

}  // namespace

int CVelmoraUSBDevice::HandleFeatureEvent(const PageEvent& event)
{
    const QString name = FeaturePanelName(event.feature);
    if (name.isEmpty())
        return 0;
    auto* panel = findChild<CFeaturePanel*>(name);
    return panel ? panel->HandleFeatureEvent(event) : 0;
}

void CVelmoraUSBDevice::BindFeaturePanels()
{
    for (CFeaturePanel* panel : findChildren<CFeaturePanel*>())
        panel->SetPage(this);
}

void CVelmoraUSBDevice::BindKeyAndLightControls()
{
    BindFeaturePanels();
    std::fill(keyControls_.begin(), keyControls_.end(), nullptr);
    std::fill(lightControls_.begin(), lightControls_.end(), nullptr);
    if (layoutPath_.isEmpty()) {
        SetKeyCount(0);
        SetLightCount(0);
        return;
    }
    BindButtonsIn(findChild<QWidget*>(QStringLiteral("SelectPanel")));
}

void CVelmoraUSBDevice::BindButtonsIn(QWidget* container)
{
    if (!container)
        return;
    for (auto* button : container->findChildren<CDeviceKeyButtonUI*>()) {
        const QString name = button->objectName();
        PlaceControl(keyControls_, NumberAfter(name, QLatin1String("key_")), button);
        PlaceControl(lightControls_, NumberAfter(name, QLatin1String("light_")), button);
        PlaceControl(lightControls_, NumberAfter(button->property("userdata").toString(), QLatin1String("light_")),
                     button);
    }
    for (int i = 0; i < lightControls_.size(); ++i) {
        preview_.SetLed(i, kWhiteFullLevel);
        if (lightControls_[i])
            lightControls_[i]->SetKeyLight(qRgb(255, 255, 255), 255, true);
    }
}

void CVelmoraUSBDevice::PreviewBlink()
{
    preview_.PreviewBlink(SteadyMs());
}

void CVelmoraUSBDevice::PreviewFourColorFlash()
{
    preview_.PreviewFourColorFlash(SteadyMs());
}

void CVelmoraUSBDevice::RenderLights()
{
    for (int i = 0; i < lightControls_.size() && i < preview_.LightCount(); ++i) {
        CDeviceKeyButtonUI* control = lightControls_[i];
        if (!control || !control->isVisible())
            continue;
        const LedColor led = preview_.GetLed(i);
        const Rgb color = LedRgb(led);
        const QRgb shown = qRgb(color.red, color.green, color.blue);
        // Painted every few milliseconds: a light that stays as it is is not drawn again.
        if (control->IsLightShown() && control->GetLightColor() == shown && control->GetLightLevel() == LedLevel(led))
            continue;
        control->SetKeyLight(shown, LedLevel(led), true);
    }
}

int CVelmoraUSBDevice::WriteKeyAssignments(const std::vector<KeyListEntry>&)
{
    return 0;
}

int CVelmoraUSBDevice::WriteSettings(int, int, int, int, int)
{
    return 0;
}

void CVelmoraUSBDevice::ShowFunctionPanel(int type)
{
    functionPanel_ = type;
    if (!switchesLooked_) {
        functionSwitch_ = findChild<QWidget*>(QStringLiteral("device_function_switch"));
        keyFunctionSwitch_ = findChild<QWidget*>(QStringLiteral("device_key_function_switch"));
        switchesLooked_ = true;
    }
    const FunctionPanelTabs tabs = FunctionPanelTabsFor(type, IsMousePage(this) || IsKeyboardPage(this));
    const auto select = [](QWidget* container, int tab) {
        if (auto* stack = qobject_cast<QStackedWidget*>(container); stack && tab != kTabUnchanged)
            stack->setCurrentIndex(tab);
    };
    select(functionSwitch_, tabs.functionTab);
    select(keyFunctionSwitch_, tabs.keyFunctionTab);
}

void CVelmoraUSBDevice::SetLightOptions(uint32_t a, uint32_t b, uint32_t c, uint32_t d)
{
    std::array<uint8_t, LightInfoRecord::kSize> bytes{};
    const uint32_t words[] = {a, b, c, d};
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(words[i / 4] >> (8 * (i % 4)));
    preview_.SetState(LightInfoRecord::FromBytes(bytes));
}

void CVelmoraUSBDevice::SetAudioLightState(uint32_t a, uint32_t b, uint32_t c)
{
    audioLight_ = {a, b, c};
}

void CVelmoraUSBDevice::SetLightCount(int count)
{
    count = std::max(count, 0);
    lightControls_ = QList<QPointer<CDeviceKeyButtonUI>>(count);
    lightRecords_.assign(static_cast<size_t>(count), LightListEntry{});
    preview_.SetLightCount(count);
}

void CVelmoraUSBDevice::SetKeyCount(int count)
{
    keyControls_ = QList<QPointer<CDeviceKeyButtonUI>>(std::max(count, 0));
}

void CVelmoraUSBDevice::SetWindowHidden(int hidden)
{
    if (powerDisplay_)
        windowHidden_ = hidden;
}

CNotificationListener& CVelmoraUSBDevice::ListenerFor(int kind)
{
    return kind == kKindMouseReceiver || kind == kKindKeyboardSecond ? receiverListener_ : cableListener_;
}

const CNotificationListener& CVelmoraUSBDevice::ListenerFor(int kind) const
{
    return kind == kKindMouseReceiver || kind == kKindKeyboardSecond ? receiverListener_ : cableListener_;
}

bool CVelmoraUSBDevice::OpenNotificationInterface(const std::string& path, int kind)
{
    return ListenerFor(kind).Open(path);
}

void CVelmoraUSBDevice::CloseNotificationInterface(int kind)
{
    ListenerFor(kind).Close();
}

void CVelmoraUSBDevice::CloseNotificationInterfaces()
{
    cableListener_.Close();
    receiverListener_.Close();
}

bool CVelmoraUSBDevice::IsNotificationOpen(int kind) const
{
    return ListenerFor(kind).IsOpen();
}

void CVelmoraUSBDevice::RunOnDevice(std::function<int()> exchange, std::function<void(int)> done)
{
    QPointer<CVelmoraUSBDevice> page(this);
    worker_.Post([page, exchange = std::move(exchange), done = std::move(done)] {
        const int result = exchange();
        if (!done)
            return;
        QMetaObject::invokeMethod(
            page.data(), [page, done, result] {
                if (page)
                    done(result);
            },
            Qt::QueuedConnection);
    });
}

void CVelmoraUSBDevice::TakeSharedLighting(const LightInfoRecord& state)
{
    const std::array<uint32_t, 4> words = PackLightOptions(state);
    SetLightOptions(words[0], words[1], words[2], words[3]);
    SaveProfile();
    ApplyProfileLighting();
    WriteSettings(0, 0, 0, 0, 0);
    SetLightingSync(1);
    MarkLoaded();  // the lighting panel shows it
}

void CVelmoraUSBDevice::MarkLoaded()
{
    hasData_ = true;
    ++loadCount_;
    emit DeviceDataChanged();
}

void CVelmoraUSBDevice::OnNotification(uint16_t code)
{
    if (code != kSyncRequestCode) {
        HandleNotification(code);
        return;
    }
    Trace("接收到自动添加设备的同步信息要求");
    // Re-armed, not queued: requests close together cause one refresh.
    syncTimer_.start(SyncRequestDelayMs());
}

bool IsMousePage(const CVelmoraUSBDevice* page)
{
    return page && (page->GetDeviceKind() == kKindMouseCable || page->GetDeviceKind() == kKindMouseReceiver);
}

bool IsKeyboardPage(const CVelmoraUSBDevice* page)
{
    return page && (page->GetDeviceKind() == kKindKeyboard || page->GetDeviceKind() == kKindKeyboardSecond);
}
