#include "services/color_select_wnd.h"

#include "app/main_messages.h"
#include "panels/light_panel_rules.h"
#include "platform/trace.h"
#include "ui/widget_text.h"

#include <QColor>

#include <array>

namespace {

constexpr const char* kPresetPrefix = "color_option_";
constexpr const char* kUserPrefix = "collect_color_option_";
constexpr const char* kSevenColorImage = "common/base1.png";
constexpr std::array<const char*, 3> kEdits = {"color_edit_r", "color_edit_g", "color_edit_b"};
constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr std::array<int, 7> kAllowedDpi = {48, 72, 96, 120, 144, 168, 192};

// The prefix of "<prefix><index>" (lowered) and its index, or -1.
std::pair<QString, int> SplitIndexed(const QString& name)
{
    const QString lowered = name.toLower();
    const qsizetype underscore = lowered.lastIndexOf(QLatin1Char('_'));
    bool number = false;
    const int index = lowered.mid(underscore + 1).toInt(&number);
    if (underscore < 0 || !number || index < 0)
        return {lowered, -1};
    return {lowered.left(underscore + 1), index};
}

}  // namespace

CColorSelectWnd::CColorSelectWnd(CColorSwatchFile swatches) : swatches_(std::move(swatches)) {}

void CColorSelectWnd::SetDpi(int dpi)
{
    if (dpi == GetDPI())
        return;
    if (std::find(kAllowedDpi.begin(), kAllowedDpi.end(), dpi) == kAllowedDpi.end()) {
        Trace("SET_WND DPI SET ERROR");
        dpi = 96;
    }
    SetDPI(dpi);
}

void CColorSelectWnd::SetColor(uint32_t argb)
{
    CControlUI preview = FindControl(QStringLiteral("color_show_btn"));
    preview.SetBkImage({});
    preview.SetBkColor(argb);
    FindControl(QStringLiteral("Pallet")).SetSelectColor(argb);
    color_ = argb;
    ShowComponents(argb);
}

void CColorSelectWnd::SetSevenColorAvailable(bool available)
{
    CControlUI option = FindControl(QStringLiteral("7color"));
    option.SetEnabled(available);
    FindControl(QStringLiteral("7color_layout")).SetVisible(available);
    if (!available)
        option.SetSelected(false, false);
}

void CColorSelectWnd::SetSevenColor(bool on)
{
    sevenColor_ = on;
    FindControl(QStringLiteral("7color")).SetSelected(on, false);
    FindControl(QStringLiteral("color_show_btn")).SetBkImage(on ? QString::fromLatin1(kSevenColorImage) : QString());
}

void CColorSelectWnd::ShowComponents(uint32_t argb)
{
    const std::array<int, 3> components = {qRed(argb), qGreen(argb), qBlue(argb)};
    for (size_t i = 0; i < kEdits.size(); ++i)
        FindControl(QString::fromLatin1(kEdits[i])).SetText(QString::number(components[i]));
}

CControlUI CColorSelectWnd::Swatch(const char* prefix, int index) const
{
    return FindControl(QString::fromLatin1(prefix) + QString::number(index));
}

void CColorSelectWnd::Notify(TNotifyUI& msg)
{
    const QString sender = msg.SenderName();
    if (msg.sType == QLatin1String("colorchanged") && sender == QLatin1String("Pallet"))
        OnPaletteChanged();
    if (msg.sType == QLatin1String("windowinit"))
        OnWindowInit();
    else if (msg.sType == QLatin1String("click"))
        OnClick(sender);
    else if (msg.sType == QLatin1String("selectchanged") && msg.wParam != 0)
        OnSelectChanged(sender);
    else if (msg.sType == QLatin1String("killfocus"))
        OnEditKillFocus(sender);
    WindowImplBase::Notify(msg);
}

LRESULT CColorSelectWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled)
{
    if (uMsg == WM_LANGUAGE_CHANGED) {
        bHandled = true;
        ResolveTextIds(GetRoot());
        update();
        return 0;
    }
    return WindowImplBase::HandleMessage(uMsg, wParam, lParam, bHandled);
}

void CColorSelectWnd::OnWindowInit()
{
    swatches_.PrepareUserFile();
    SetColor(color_);
    SetSevenColor(sevenColor_);
    // The presets keep the layout's colours; only the last choice is read.
    if (const std::optional<int> preset = swatches_.SelectedPreset())
        preset_ = *preset;
    LoadUserSwatches();
}

void CColorSelectWnd::LoadUserSwatches()
{
    for (const auto& [index, swatch] : swatches_.UserSwatches()) {
        CControlUI option = Swatch(kUserPrefix, index);
        if (!option)
            continue;
        option.SetBkColor(kWhite);
        option.SetSelectedBkColor(kWhite);
        option.SetUserData(QString::fromStdString(swatch.userData));
        if (HoldsColor(swatch.userData)) {
            option.SetBkColor(swatch.color);
            option.SetSelectedBkColor(swatch.color);
            option.SetBorderSize(0);
        }
    }
    // A stored selection is not taken up again: no swatch takes colour
    // changes until the user picks one.
    if (swatches_.HasUserSelection())
        userSwatch_ = -1;
}

void CColorSelectWnd::OnClick(const QString& sender)
{
    if (sender == QLatin1String("closebtn") || sender == QLatin1String("laterbtn")) {
        Close(0);
    } else if (sender == QLatin1String("okbtn")) {
        if (!FindControl(QStringLiteral("Pallet"))) {
            Close(IDCANCEL);
            return;
        }
        color_ = FindControl(QStringLiteral("color_show_btn")).GetBkColor();
        Close(IDOK);
    }
}

void CColorSelectWnd::OnSelectChanged(const QString& sender)
{
    const auto [prefix, index] = SplitIndexed(sender);
    if (index < 0)
        return;
    if (prefix == QLatin1String(kPresetPrefix)) {
        preset_ = index;
        SavePresetSwatches();
        color_ = Swatch(kPresetPrefix, index).GetBkColor();
        FindControl(QStringLiteral("Pallet")).SetSelectColor(color_);
        StoreIntoUserSwatch();
        ShowComponents(color_);
    } else if (prefix == QLatin1String(kUserPrefix)) {
        userSwatch_ = index;
        const CControlUI swatch = Swatch(kUserPrefix, index);
        if (!HoldsColor(swatch.GetUserData().toStdString()))
            return;  // an empty swatch waits for the next colour change
        SaveUserSwatches();
        color_ = swatch.GetBkColor();
        FindControl(QStringLiteral("color_show_btn")).SetBkColor(color_);
        SetSevenColor(false);
        FindControl(QStringLiteral("Pallet")).SetSelectColor(color_);
        ShowComponents(color_);
    }
}

void CColorSelectWnd::OnEditKillFocus(const QString& sender)
{
    if (std::none_of(kEdits.begin(), kEdits.end(),
                     [&](const char* edit) { return sender.compare(QLatin1String(edit), Qt::CaseInsensitive) == 0; }))
        return;
    std::array<int, 3> components{};
    for (size_t i = 0; i < kEdits.size(); ++i) {
        CControlUI edit = FindControl(QString::fromLatin1(kEdits[i]));
        const ColorComponentText typed = ColorComponentFromText(edit.GetText());
        if (typed.shown)
            edit.SetText(*typed.shown);
        components[i] = typed.value;
    }
    color_ = OpaqueColor(static_cast<uint8_t>(components[0]), static_cast<uint8_t>(components[1]),
                         static_cast<uint8_t>(components[2]));
    FindControl(QStringLiteral("Pallet")).SetSelectColor(color_);
    StoreIntoUserSwatch();
}

void CColorSelectWnd::OnPaletteChanged()
{
    color_ = FindControl(QStringLiteral("Pallet")).GetSelectColor();
    StoreIntoUserSwatch();
    ShowComponents(color_);
}

void CColorSelectWnd::StoreIntoUserSwatch()
{
    CControlUI swatch = Swatch(kUserPrefix, userSwatch_);
    if (swatch && swatch.IsSelected()) {
        swatch.SetBkColor(color_);
        swatch.SetSelectedBkColor(color_);
        swatch.SetUserData(QStringLiteral("1"));
        swatch.SetBorderSize(0);
        SaveUserSwatches();
    }
    FindControl(QStringLiteral("color_show_btn")).SetBkColor(color_);
    SetSevenColor(false);
}

void CColorSelectWnd::SavePresetSwatches()
{
    std::map<int, uint32_t> colors;
    for (int i = 0; i < kSwatchCount; ++i) {
        if (const CControlUI swatch = Swatch(kPresetPrefix, i))
            colors[i] = swatch.GetBkColor();
    }
    if (!swatches_.SavePresets(colors, preset_))
        Trace("colour presets not saved");
}

void CColorSelectWnd::SaveUserSwatches()
{
    std::map<int, UserSwatch> swatches;
    for (int i = 0; i < kSwatchCount; ++i) {
        if (const CControlUI swatch = Swatch(kUserPrefix, i))
            swatches[i] = {swatch.GetBkColor(), swatch.GetUserData().toStdString()};
    }
    if (!swatches_.SaveUserSwatches(swatches, userSwatch_))
        Trace("user colour swatches not saved");
}

std::optional<uint32_t> PickStageColor(QWidget* owner, int dpi, uint32_t color, QPointer<WindowImplBase>& handle)
{
    if (handle && !handle->IsClosed())
        return std::nullopt;
    QPointer<CColorSelectWnd> picker = new CColorSelectWnd;
    handle = picker.data();
    if (!picker->Create(owner, QStringLiteral("PalletDialog")))
        Trace("colour picker layout missing");
    picker->SetDpi(dpi);
    picker->SetColor(color);
    picker->SetSevenColorAvailable(false);
    picker->CenterWindow();
    const int answer = picker->ShowModal();
    // The window goes at the next turn of the event loop; its colour is read first.
    if (answer != IDOK || !picker)
        return std::nullopt;
    return picker->GetColor();
}
