// The mouse page's settings controls: showing the profile's values and
// taking the user's changes. What each control means is in
// devices/mouse/mouse_page_rules.h; here the controls are only bound.

#include "devices/mouse/mouse_page_rules.h"
#include "devices/velmora_mouse_device.h"
#include "ui/controls/device_key_button.h"
#include "ui/resource_manager.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QIntValidator>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>
#include <QStackedWidget>

namespace {

const QString kSettingsTabs = QStringLiteral("mouse_device_seting_layout");
const QString kSettingsTabOption = QStringLiteral("mouse_device_seting_option_");
const QString kSettingsTabOptions = QStringLiteral("mouse_option_layout");
const QString kEnableCheck = QStringLiteral("DPI_enable_check_");
const QString kSelectCheck = QStringLiteral("DPI_select_check_");
const QString kStageSlider = QStringLiteral("DPI_slider_");
const QString kStageEdit = QStringLiteral("DPI_edit_");
const QString kStageLayout = QStringLiteral("DPI_layout_");
const QString kStageColor = QStringLiteral("DPI_color_option_");
// A combo's item values, one per item, where the layout gives them.
const char* const kItemUserData = "itemuserdata";

QString Numbered(const QString& prefix, int number)
{
    return prefix + QString::number(number);
}

QString NameOf(const MouseSettingControl& control)
{
    return QString::fromLatin1(control.name.data(), static_cast<qsizetype>(control.name.size()));
}

void SetChecked(QAbstractButton* button, bool checked)
{
    if (!button)
        return;
    const QSignalBlocker quiet(button);
    button->setChecked(checked);
}

// A stage's edit takes whole numbers from 0 to `highest`.
void LimitTypedValue(QLineEdit* edit, int highest)
{
    if (auto* numbers = qobject_cast<QIntValidator*>(const_cast<QValidator*>(edit->validator())))
        numbers->setTop(highest);
    else
        edit->setValidator(new QIntValidator(0, highest, edit));
}

QString ColorStyle(const DpiStage& stage)
{
    return QStringLiteral("background-color: rgb(%1, %2, %3);").arg(stage.red).arg(stage.green).arg(stage.blue);
}

}  // namespace

CDpiMapping CVelmoraMouseDevice::Dpi() const
{
    return CDpiMapping(InfoBlock().data(), layoutDpiRange_);
}

void CVelmoraMouseDevice::TakeLayoutValues()
{
    if (const auto* slider = findChild<QSlider*>(Numbered(kStageSlider, 0)))
        layoutDpiRange_ = DpiRange{slider->minimum(), slider->maximum()};
    for (QComboBox* combo : findChildren<QComboBox*>()) {
        const QStringList values = combo->property(kItemUserData).toString().split(QLatin1Char(','));
        for (int i = 0; i < combo->count() && i < values.size(); ++i)
            combo->setItemData(i, values[i].trimmed());
    }
}

void CVelmoraMouseDevice::SetSliderRanges()
{
    const CDpiMapping dpi = Dpi();
    const DpiRange range = dpi.SliderRange();
    for (int stage = 0; stage < kShownDpiStages; ++stage) {
        if (auto* slider = findChild<QSlider*>(Numbered(kStageSlider, stage))) {
            const QSignalBlocker quiet(slider);
            slider->setRange(range.lowest, range.highest);
        }
        if (auto* edit = findChild<QLineEdit*>(Numbered(kStageEdit, stage)))
            LimitTypedValue(edit, dpi.HighestValue());
    }
}

// Showing.

void CVelmoraMouseDevice::ShowSettings()
{
    LoadLightNames();
    ShowKeyTexts();
    ShowLogoTip();
    ShowDpiStages();
    ShowSettingControls();
}

void CVelmoraMouseDevice::ShowLogoTip()
{
    if (!logo_)
        return;
    const CResourceManager& texts = CResourceManager::GetInstance();
    const size_t effect = Preview().State().selectItem;
    QString name;
    if (effect < kMouseFirstCustomEffect && effect < lightNames_.modeNames.size())
        name = texts.GetText(QString::fromStdWString(lightNames_.modeNames[effect]));
    else if (effect >= kMouseFirstCustomEffect && effect - kMouseFirstCustomEffect < customEffectNames_.size())
        name = QString::fromStdWString(customEffectNames_[effect - kMouseFirstCustomEffect]);
    logo_->setToolTip(texts.GetText(QStringLiteral("Light_Set")) + texts.GetText(QStringLiteral("Overall_Light_Set")) +
                      name);
}

void CVelmoraMouseDevice::ShowDpiStages()
{
    for (int stage = 0; stage < kShownDpiStages && stage < std::ssize(stages_); ++stage)
        ShowDpiStage(stage);
}

void CVelmoraMouseDevice::ShowDpiStage(int stage)
{
    if (stage < 0 || stage >= std::ssize(stages_))
        return;
    const DpiStage& shown = stages_[static_cast<size_t>(stage)];
    const CDpiMapping dpi = Dpi();
    const int code = dpi.ShownCode(shown.dpiX);
    auto* enable = findChild<QAbstractButton*>(Numbered(kEnableCheck, stage));
    SetChecked(enable, shown.stageActive != 0);
    if (enable)
        enable->setEnabled(!DpiEnableCheckLocked(stages_, profile_.GetActiveDpiStage(), stage));
    if (auto* layout = findChild<QWidget*>(Numbered(kStageLayout, stage)))
        layout->setEnabled(shown.stageActive != 0);
    SetChecked(findChild<QAbstractButton*>(Numbered(kSelectCheck, stage)), stage == profile_.GetActiveDpiStage());
    if (auto* slider = findChild<QSlider*>(Numbered(kStageSlider, stage))) {
        const QSignalBlocker quiet(slider);
        slider->setValue(code);
    }
    ShowDpiValue(stage, code);
    if (auto* color = findChild<QWidget*>(Numbered(kStageColor, stage)))
        color->setStyleSheet(ColorStyle(shown));
}

void CVelmoraMouseDevice::ShowDpiValue(int stage, int code)
{
    if (auto* edit = findChild<QLineEdit*>(Numbered(kStageEdit, stage)))
        edit->setText(QString::number(Dpi().CodeToValue(code)));
}

void CVelmoraMouseDevice::ShowSettingControls()
{
    for (const MouseSettingControl& control : MouseSettingControls())
        ShowSettingControl(control);
}

void CVelmoraMouseDevice::ShowSettingControl(const MouseSettingControl& control)
{
    const int value = settings_[control.field];
    const QString name = NameOf(control);
    switch (control.kind) {
    case SettingControlKind::Options: {
        // Every option of the group quiet: an exclusive group unchecks the old one itself.
        std::vector<std::unique_ptr<QSignalBlocker>> quiet;
        QList<QAbstractButton*> options;
        for (int option = 0; option < control.optionCount; ++option) {
            if (auto* button = findChild<QAbstractButton*>(Numbered(name, option))) {
                quiet.push_back(std::make_unique<QSignalBlocker>(button));
                options.append(button);
            }
        }
        const int shown = ShownOption(control, value);
        for (QAbstractButton* button : options)
            button->setChecked(button->objectName() == Numbered(name, shown));
        break;
    }
    case SettingControlKind::ComboIndex:
    case SettingControlKind::ComboUserData:
        if (auto* combo = findChild<QComboBox*>(name)) {
            const QSignalBlocker quiet(combo);
            combo->setCurrentIndex(control.kind == SettingControlKind::ComboIndex ? value
                                                                                 : combo->findData(QString::number(value)));
        }
        break;
    case SettingControlKind::Check:
        SetChecked(findChild<QAbstractButton*>(name), value != 0);
        break;
    case SettingControlKind::Slider:
        if (auto* slider = findChild<QSlider*>(name)) {
            const QSignalBlocker quiet(slider);
            slider->setValue(value);
        }
        break;
    }
}

void CVelmoraMouseDevice::ShowSettingsTab(int tab)
{
    auto* tabs = findChild<QStackedWidget*>(kSettingsTabs);
    if (!tabs)
        return;
    const int shown = tab >= 0 && tab < tabs->count() ? tab : 0;
    tabs->setCurrentIndex(shown);
    auto* options = findChild<QWidget*>(kSettingsTabOptions);
    if (!options)
        return;
    for (QAbstractButton* option : options->findChildren<QAbstractButton*>()) {
        if (option->isCheckable())
            SetChecked(option, option->objectName().compare(Numbered(kSettingsTabOption, shown), Qt::CaseInsensitive) == 0);
    }
}

// Setting events.

int CVelmoraMouseDevice::HandleFeatureEvent(const PageEvent& event)
{
    if (event.feature != PageFeature::DeviceSettings)
        return CVelmoraUSBDevice::HandleFeatureEvent(event);
    if (event.name.startsWith(kSettingsTabOption)) {
        if (event.value == 0)
            return 0;  // the tab that was left
        ShowSettingsTab(event.index);
        return 1;
    }
    if (event.name.startsWith(QLatin1String("DPI_")))
        return OnDpiEvent(event);
    if (event.name == QLatin1String("default_btn"))
        return RestoreDefaults() ? 1 : 0;
    // Reconnecting, and a mouse back from its firmware update: read it again.
    if (event.name == QLatin1String("errordevice_connect_btn") || event.name == QLatin1String("firmware_updated")) {
        LoadFromDevice();
        return 1;
    }
    return OnSettingEvent(event);
}

std::optional<int> CVelmoraMouseDevice::ValueOfControl(const MouseSettingControl& control, const PageEvent& event) const
{
    switch (control.kind) {
    case SettingControlKind::Options:
        // An option that lost its selection chose nothing.
        return event.value != 0 ? std::optional<int>(event.index) : std::nullopt;
    case SettingControlKind::ComboUserData: {
        const auto* combo = findChild<QComboBox*>(NameOf(control));
        bool number = false;
        const int value = combo ? combo->itemData(static_cast<int>(event.value)).toString().toInt(&number) : 0;
        return number ? std::optional<int>(value) : std::nullopt;
    }
    default:
        return static_cast<int>(event.value);
    }
}

int CVelmoraMouseDevice::OnSettingEvent(const PageEvent& event)
{
    const MouseSettingControl* control = FindMouseSettingControl(event.name.toStdString());
    if (!control)
        return 0;
    const std::optional<int> value = ValueOfControl(*control, event);
    const std::optional<MouseSettings> changed = value ? ChangedSettings(settings_, *control, *value) : std::nullopt;
    if (!changed)
        return 0;
    settings_ = *changed;
    profile_.WriteMouseSettings(settings_);
    SaveProfile();
    if (control->sentToMouse)
        WriteSettings(0, 0);
    if (control->field == kDeviceSleep1 || control->field == kDeviceSleep2)
        emit SleepTimeChanged();
    ShowSettingControls();
    return 1;
}

int CVelmoraMouseDevice::OnDpiEvent(const PageEvent& event)
{
    const int stage = event.index;
    if (event.name.startsWith(kStageColor))
        return 0;  // the colour picker answers with SetDpiStageColor
    if (event.name.startsWith(kStageSlider) && event.type == QLatin1String("movevaluechanged")) {
        ShowDpiValue(stage, static_cast<int>(event.value));
        return 1;
    }
    bool changed = false;
    if (event.name.startsWith(kSelectCheck)) {
        SetActiveDpiStage(stage);
        changed = true;
    } else if (event.name.startsWith(kEnableCheck)) {
        changed = PutStageEnabled(stages_, stage, event.value != 0);
    } else if (event.name.startsWith(kStageSlider)) {
        changed = PutStageCode(stages_, stage, static_cast<int>(event.value), Dpi());
    } else if (event.name.startsWith(kStageEdit)) {
        const auto* edit = findChild<QLineEdit*>(Numbered(kStageEdit, stage));
        const bool known = stage >= 0 && stage < std::ssize(stages_);
        const int current = known ? Dpi().ShownCode(stages_[static_cast<size_t>(stage)].dpiX) : 0;
        const std::string typed = edit ? edit->text().trimmed().toStdString() : std::string();
        changed = PutStageCode(stages_, stage, TypedDpiCode(typed, Dpi(), current), Dpi());
    }
    if (!changed)
        return 0;
    StoreStagesAndSend();
    return 1;
}

// The active stage moves; every stage takes its slider's code, as the page shows it.
void CVelmoraMouseDevice::SetActiveDpiStage(int stage)
{
    profile_.WriteActiveDpiStage(stage);
    for (int i = 0; i < kShownDpiStages; ++i) {
        if (const auto* slider = findChild<QSlider*>(Numbered(kStageSlider, i)))
            PutStageCode(stages_, i, slider->value(), Dpi());
    }
}

void CVelmoraMouseDevice::SetDpiStageColor(int stage, uint8_t red, uint8_t green, uint8_t blue)
{
    if (PutStageColor(stages_, stage, red, green, blue))
        StoreStagesAndSend();
}

void CVelmoraMouseDevice::StoreStagesAndSend()
{
    profile_.WriteDpiStages(stages_);
    SaveProfile();
    WriteSettings(0, 0);
    ShowDpiStages();
}
