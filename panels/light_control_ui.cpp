#include "panels/light_control_ui.h"

#include "platform/trace.h"
#include "profiles/default_light.h"
#include "profiles/profile_paths.h"
#include "ui/dialog_builder.h"
#include "ui/widget_text.h"

#include <QComboBox>
#include <QListView>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <array>
#include <tuple>

namespace {

constexpr const char* kLayout = "XML\\CustomControlXML\\LightControl.xml";
constexpr const char* kModeCombo = "light_combo_modeSelect";
constexpr const char* kZzccCombo = "light_combo_ZZCCmodeSelect";
constexpr const char* kCustomCombo = "light_combo_custommodeSelect";
constexpr const char* kBrightnessSlider = "deng_light_slider";
constexpr const char* kSpeedSlider = "deng_speed_slider";
constexpr const char* kLeftCheck = "deng_FXL_check";
constexpr const char* kRightCheck = "deng_FXR_check";
constexpr const char* kPalette = "deng_Color_Pallet";
constexpr const char* kColorPreview = "deng_colordp_btn";
constexpr const char* kColorOption = "color_option_";
constexpr const char* kSameMode = "deng_same_mode";
constexpr const char* kColorTabs = "light_color_tablayout";
constexpr std::array<const char*, 3> kColorEdits = {"deng_edit_R", "deng_edit_G", "deng_edit_B"};
constexpr uint32_t kNoColor = 0xFF000000;

// The audio style controls.
constexpr const char* kAudioModeCombo = "light_combo_audiomodeSelect";
constexpr const char* kAudioMultiColor = "deng_7audiocolor_check";
constexpr const char* kAudioBackground = "audio_BkColor_check";
constexpr const char* kAudioForeground = "audio_FgColor_check";
constexpr const char* kAudioPreview = "deng_audiocolordp_btn";
constexpr const char* kAudioPalette = "deng_audioColor_Pallet";
constexpr std::array<const char*, 3> kAudioEdits = {"deng_audioedit_R", "deng_audioedit_G", "deng_audioedit_B"};

bool Is(const PageEvent& event, const char* type, const char* name)
{
    return event.type == QLatin1String(type) && event.name == QLatin1String(name);
}

std::array<uint8_t, 3> Components(uint32_t argb)
{
    return {static_cast<uint8_t>(argb >> 16), static_cast<uint8_t>(argb >> 8), static_cast<uint8_t>(argb)};
}

}  // namespace

CLightControlUI::CLightControlUI(QWidget* parent) : CFeaturePanel(parent)
{
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    QWidget* content = CDialogBuilder::Create(QString::fromLatin1(kLayout), nullptr, this);
    if (!content) {
        Trace("lighting panel layout missing");
        return;
    }
    box->addWidget(content);
}

void CLightControlUI::SetPage(CVelmoraUSBDevice* page)
{
    CFeaturePanel::SetPage(page);
    disconnect(pageRead_);
    if (!page)
        return;
    FillDefaultLightModes();
    pageRead_ = connect(page, &CVelmoraUSBDevice::DeviceDataChanged, this, [this] { FollowPage(); });
    shownLoad_ = page->LoadCount();
    ShowLightInfo(page->Preview().State());
}

CControlUI CLightControlUI::Control(const QString& name)
{
    auto found = controls_.find(name);
    if (found == controls_.end() || !found.value())
        found = controls_.insert(name, FindSubControlByName(this, name));
    return found.value();
}

CControlUI CLightControlUI::Control(const char* name)
{
    return Control(QString::fromLatin1(name));
}

int CLightControlUI::SetupKind() const
{
    return LightSetupKind(Page() ? Page()->GetDeviceKind() : 0);
}

void CLightControlUI::FillDefaultLightModes()
{
    const int slot = LightFamilySlot(Page()->GetDeviceKind());
    if (slot < 0 || Control(kModeCombo).GetCount() > 0)
        return;
    const DefaultLightNames names = ReadDefaultLightNames(DefaultLightNamesPath(), slot);
    QStringList modes;
    for (const std::wstring& name : names.modeNames)
        modes << QString::fromStdWString(name);
    const CControlUI brightness = Control(kBrightnessSlider), speed = Control(kSpeedSlider);
    FillLightModes(modes, names.modeVisible, brightness.GetMaxValue(), speed.GetMaxValue());
}

void CLightControlUI::FollowPage()
{
    // Battery reads announce themselves too; only a fresh read of the device
    // is shown again, so an edit being typed in keeps its text.
    if (!Page() || Page()->LoadCount() == shownLoad_)
        return;
    shownLoad_ = Page()->LoadCount();
    ShowLightInfo(Page()->Preview().State());
}

void CLightControlUI::FillLightModes(const QStringList& names, const std::vector<bool>& visible, int brightnessMax,
                                    int speedMax)
{
    CControlUI combo = Control(kModeCombo);
    combo.RemoveAllItems();
    for (const QString& name : names)
        combo.AddItem(name, name);
    if (auto* box = combo.As<QComboBox>()) {
        AdoptTextIds(box);
        auto* view = qobject_cast<QListView*>(box->view());
        for (int i = 0; view && i < names.size(); ++i)
            view->setRowHidden(i, i < static_cast<int>(visible.size()) && !visible[static_cast<size_t>(i)]);
    }
    Control(kBrightnessSlider).SetMaxValue(brightnessMax);
    Control(kSpeedSlider).SetMaxValue(speedMax);
}

void CLightControlUI::ShowLightInfo(const LightInfoRecord& record)
{
    Control(kModeCombo).SelectItem(record.selectItem, false);
    Control(kBrightnessSlider).SetValue(record.light);
    Control(kSpeedSlider).SetValue(record.speed);
    Control(kLeftCheck).SetSelected(record.fx != 0, false);
    Control(kRightCheck).SetSelected(record.fx == 0, false);
    Control(kLightMultiColorCheck).SetSelected(record.multiColor != 0, false);
    Control(kZzccCombo).SelectItem(record.zzccLedMode, false);
    Control(kCustomCombo).SelectItem(record.customGroup, false);
    ShowComponents(record);
    ShowColor(RecordColor(record));
    SetMode(record.selectItem);
}

void CLightControlUI::SetMode(int mode)
{
    mode_ = mode & 0xFF;
    const CControlUI combo = Control(kModeCombo);
    UpdateModeLayout(SetupKind(), combo ? combo.GetCurSel() : -1);
}

void CLightControlUI::UpdateModeLayout(int kind, int mode)
{
    const LightLayoutPlan plan = LightLayoutFor(kind, mode);
    for (const auto& [name, enabled] : plan.enabled)
        Control(name).SetEnabled(enabled);
    for (const auto& [name, visible] : plan.visible)
        Control(name).SetVisible(visible);
    if (plan.sameMode)
        SetSameModeVisible(*plan.sameMode ? 1 : 0);
    if (auto* tabs = Control(kColorTabs).As<QStackedWidget>(); tabs && plan.colorTab)
        tabs->setCurrentIndex(*plan.colorTab);
    if (plan.directionTexts) {
        Control(kLeftCheck).SetTextId(QString::fromLatin1(plan.directionTexts->first));
        Control(kRightCheck).SetTextId(QString::fromLatin1(plan.directionTexts->second));
    }
}

void CLightControlUI::SetSameModeVisible(int flag)
{
    Control(kSameMode).SetVisible(SameModeShown(flag == 1, mode_));
}

void CLightControlUI::ShowComponents(const LightInfoRecord& record)
{
    const std::array<uint8_t, 3> components = {record.red, record.green, record.blue};
    for (size_t i = 0; i < kColorEdits.size(); ++i)
        Control(kColorEdits[i]).SetText(QString::number(components[i]));
}

void CLightControlUI::ShowColor(uint32_t argb)
{
    Control(kPalette).SetSelectColor(argb);
    Control(kColorPreview).SetBkColor(argb);
}

int CLightControlUI::HandleFeatureEvent(const PageEvent& event)
{
    if (!Page())
        return 0;
    if (event.feature == PageFeature::GameEvents)
        return HandleGameEvent(event);
    if (event.feature == PageFeature::Lighting)
        return HandleLightingEvent(event);
    return 0;
}

int CLightControlUI::HandleLightingEvent(const PageEvent& event)
{
    const std::optional<std::pair<LightChange, uint32_t>> change = ChangeOf(event);
    if (!change)
        return 0;
    Apply(change->first, change->second);
    return 1;
}

std::optional<std::pair<LightChange, uint32_t>> CLightControlUI::ChangeOf(const PageEvent& event)
{
    using Change = std::pair<LightChange, uint32_t>;
    const auto value = static_cast<uint32_t>(event.value);
    if (Is(event, "itemselect", kModeCombo))
        return Change{LightChange::Mode, value};
    if (Is(event, "valuechanged", kBrightnessSlider))
        return Change{LightChange::Brightness, value};
    if (Is(event, "valuechanged", kSpeedSlider))
        return Change{LightChange::Speed, value};
    // Of the two direction checks only the one that became selected counts.
    if (Is(event, "selectchanged", kLeftCheck) || Is(event, "selectchanged", kRightCheck))
        return value ? std::optional(Change{LightChange::Direction, event.name == QLatin1String(kLeftCheck)})
                     : std::nullopt;
    if (Is(event, "selectchanged", kLightMultiColorCheck))
        return Change{LightChange::MultiColor, value};
    if (Is(event, "colorchanged", kPalette)) {
        const CControlUI palette = Control(kPalette);
        return Change{LightChange::Color, palette ? palette.GetSelectColor() : kNoColor};
    }
    if (event.type == QLatin1String("click") && event.index >= 0 && event.name.startsWith(QLatin1String(kColorOption)))
        return Change{LightChange::Color, Control(event.name).GetBkColor()};
    for (size_t i = 0; i < kColorEdits.size(); ++i) {
        if (!Is(event, "killfocus", kColorEdits[i]))
            continue;
        CControlUI edit = Control(kColorEdits[i]);
        const ColorComponentText typed = ColorComponentFromText(edit.GetText());
        if (typed.shown)
            edit.SetText(*typed.shown);
        constexpr std::array<LightChange, 3> kComponents = {LightChange::Red, LightChange::Green, LightChange::Blue};
        return Change{kComponents[i], static_cast<uint32_t>(typed.value)};
    }
    if (IsKeyboardPage(Page()) && Is(event, "itemselect", kZzccCombo))
        return Change{LightChange::ZzccMode, value};
    if (IsKeyboardPage(Page()) && Is(event, "itemselect", kCustomCombo))
        return Change{LightChange::CustomGroup, value};
    return std::nullopt;
}

void CLightControlUI::Apply(LightChange change, uint32_t value)
{
    CVelmoraUSBDevice* page = Page();
    if (LightChangeEndsSync(change))
        page->SetLightingSync(0);
    const LightInfoRecord record = ApplyLightChange(page->Preview().State(), change, value);
    if (change == LightChange::Mode) {
        Control(kModeCombo).SelectItem(record.selectItem, false);
        mode_ = record.selectItem;
        UpdateModeLayout(SetupKind(), record.selectItem);
    }
    const std::array<uint32_t, 4> words = PackLightOptions(record);
    page->SetLightOptions(words[0], words[1], words[2], words[3]);
    page->SaveProfile();
    if (change != LightChange::CustomGroup)
        page->ApplyProfileLighting();
    ShowChange(change, record);
    page->WriteSettings(0, 0, 0, 0, 0);
}

void CLightControlUI::ShowChange(LightChange change, const LightInfoRecord& record)
{
    switch (change) {
    case LightChange::Brightness:
        Control(kBrightnessSlider).SetValue(record.light);
        break;
    case LightChange::Speed:
        Control(kSpeedSlider).SetValue(record.speed);
        break;
    case LightChange::Direction:
        Control(kLeftCheck).SetSelected(record.fx != 0, false);
        Control(kRightCheck).SetSelected(record.fx == 0, false);
        break;
    case LightChange::MultiColor:
        Control(kLightMultiColorCheck).SetSelected(record.multiColor != 0, false);
        break;
    case LightChange::Color:
    case LightChange::Red:
    case LightChange::Green:
    case LightChange::Blue:
        ShowComponents(record);
        Control(kLightMultiColorCheck).SetSelected(false, false);
        ShowColor(RecordColor(record));
        break;
    case LightChange::ZzccMode:
        Control(kZzccCombo).SelectItem(record.zzccLedMode, false);
        break;
    case LightChange::Mode:
    case LightChange::CustomGroup:
        break;
    }
}

int CLightControlUI::HandleGameEvent(const PageEvent& event)
{
    CVelmoraUSBDevice* page = Page();
    if (event.type == QLatin1String("message")) {
        // The game's lighting reaches the device only: the profile keeps the
        // user's own, which comes back when the game event ends.
        return page->WriteLightState(ApplyGameEvent(page->Preview().State(), event.value, event.extra)) > 0 ? 1 : 0;
    }
    if (event.type == QLatin1String("timer")) {
        page->ApplyProfileLighting();
        page->WriteSettings(0, 0, 0, 0, 0);
        ShowLightInfo(page->Preview().State());
        return 1;
    }
    return 0;
}

bool CLightControlUI::SetAudioLightInfo(const AudioLightRecord& record)
{
    CControlUI mode = Control(kAudioModeCombo), multi = Control(kAudioMultiColor), preview = Control(kAudioPreview);
    CControlUI background = Control(kAudioBackground), foreground = Control(kAudioForeground);
    if (!mode || !multi || !preview || !background || !foreground) {
        Trace(" SetAudioLightInfo control is NULL");
        return false;
    }
    audio_ = record;
    mode.SelectItem(record.audioMode, false);
    multi.SetSelected(record.sevenColorFlags != 0, false);
    const bool showsForeground = record.colorTypeFlags == 1;
    foreground.SetSelected(showsForeground, false);
    background.SetSelected(!showsForeground, false);
    const uint32_t colour = showsForeground ? OpaqueColor(record.fgColorR, record.fgColorG, record.fgColorB)
                                            : OpaqueColor(record.bkColorR, record.bkColorG, record.bkColorB);
    preview.SetBkColor(colour);
    Control(kAudioPalette).SetSelectColor(colour);
    const std::array<uint8_t, 3> components = Components(colour);
    for (size_t i = 0; i < kAudioEdits.size(); ++i)
        Control(kAudioEdits[i]).SetText(QString::number(components[i]));
    return true;
}

std::optional<AudioLightRecord> CLightControlUI::GetAudioLightInfo(bool refresh)
{
    const CControlUI mode = Control(kAudioModeCombo), multi = Control(kAudioMultiColor);
    const CControlUI background = Control(kAudioBackground), foreground = Control(kAudioForeground);
    const CControlUI preview = Control(kAudioPreview);
    if (!mode || !multi || !background || !foreground || !preview) {
        Trace("GetAudioLightInfo control is NULL");
        return std::nullopt;
    }
    audio_.audioMode = static_cast<uint8_t>(mode.GetCurSel());
    audio_.sevenColorFlags = multi.IsSelected() ? 1 : 0;
    audio_.colorTypeFlags = AudioColorTarget(audio_.colorTypeFlags, background.IsSelected(), foreground.IsSelected());
    if (refresh) {
        const std::array<uint8_t, 3> c = Components(preview.GetBkColor());
        if (audio_.colorTypeFlags == 1)
            std::tie(audio_.fgColorR, audio_.fgColorG, audio_.fgColorB) = std::tie(c[0], c[1], c[2]);
        else
            std::tie(audio_.bkColorR, audio_.bkColorG, audio_.bkColorB) = std::tie(c[0], c[1], c[2]);
    }
    return audio_;
}
