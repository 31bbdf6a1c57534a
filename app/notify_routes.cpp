#include "app/notify_routes.h"

#include <algorithm>
#include <array>

namespace {

using A = RouteAction;
using F = PageFeature;
using M = NameMatch;
using P = PageNeed;

// A macro command that saves the macro or changes the list: the key and
// macro write follows it, so the device plays what the editor shows.
constexpr NotifyRoute MacroThenWrite(std::string_view type, std::string_view name, M match = M::Exact)
{
    return {type, name, match, A::HandOffThenWriteKeys, F::Macros, P::Any, 0};
}
constexpr NotifyRoute Click(std::string_view name, RouteAction action, M match = M::Exact)
{
    return {"click", name, match, action, F::DeviceSettings, P::Any, 0};
}
constexpr NotifyRoute ClickTo(std::string_view name, PageFeature feature, M match = M::Exact, P need = P::Any)
{
    return {"click", name, match, A::HandOff, feature, need, 0};
}
// Option, slider, combo and edit names are matched as written.
constexpr NotifyRoute On(std::string_view type, std::string_view name, PageFeature feature, M match = M::ExactCase,
                         P need = P::Any)
{
    return {type, name, match, A::HandOff, feature, need, 0};
}
constexpr NotifyRoute OnAction(std::string_view type, std::string_view name, RouteAction action,
                               M match = M::ExactCase, int argument = 0)
{
    return {type, name, match, action, F::DeviceSettings, P::Any, argument};
}
constexpr NotifyRoute Tab(std::string_view name, int number)
{
    return OnAction("selectchanged", name, A::FunctionTab, M::ExactCase, number);
}
constexpr NotifyRoute Menu(std::string_view name, RouteAction action)
{
    return {"menu", name, M::Exact, action, F::DeviceSettings, P::Any, 0};
}
// A click or menu item that arms or ends a macro capture.
constexpr NotifyRoute MacroCapture(std::string_view type, std::string_view name)
{
    return {type, name, M::Exact, A::MacroCapture, F::Macros, P::Any, 0};
}
constexpr NotifyRoute MacroMenu(std::string_view name)
{
    return MacroThenWrite("menu", name);
}

constexpr NotifyRoute kRoutes[] = {
    // The window itself.
    OnAction("windowinit", "", A::WindowInit, M::StartsWith),
    OnAction("windowsize", "root", A::WindowSize),
    OnAction("click_wpremove", "", A::SkipDefault, M::StartsWith),
    OnAction("click_wpedit", "", A::SkipDefault, M::StartsWith),
    OnAction("itemactivate", "macro_action", A::OpenMacroActionMenu),
    OnAction("setfocus", "keyset_keyboard_text_edit", A::InstallKeyHook),
    On("colorchanged", "deng_Color_Pallet", F::Lighting),
    On("colorchanged", "deng_audioColor_Pallet", F::AudioLight),
    OnAction("click_select_end", "device_key_light", A::NoAction),
    On("click_select_end", "mouse_device_key_light", F::DeviceSettings, M::ExactCase, P::Mouse),

    // Clicks.
    Click("closebtn", A::CloseToTray),
    Click("nodevice_ok_btn", A::HideWindow),
    Click("errordevice_ok_btn", A::HideWindow),
    ClickTo("errordevice_connect_btn", F::DeviceSettings, M::Exact, P::Mouse),
    Click("control_light_status", A::ToggleLightControl),
    Click("minbtn", A::Minimise),
    Click("maxbtn", A::Maximise),
    Click("restorebtn", A::Restore),
    Click("skinbtn", A::OpenSkinWindow),
    Click("setbtn", A::OpenSettingsAtEdge),
    {"click", "key_", M::Indexed, A::SelectKey, F::Keys, P::MouseOrKeyboard},
    ClickTo("color_option_", F::Lighting, M::Indexed),
    ClickTo("audiocolor_option_", F::AudioLight, M::Indexed),
    Click("windowdeviceset_", A::OpenMouseSettings, M::Indexed),
    Click("DPI_color_option_", A::OpenColorPicker, M::Indexed),
    Click("default_btn", A::RestoreDefaults),
    ClickTo("reset_repeat_btn", F::DeviceSettings, M::Exact, P::Keyboard),
    Click("device_add_btn", A::ProfileAdd),
    Click("device_sub_btn", A::ProfileDelete),
    Click("device_export_btn", A::ProfileExport),
    Click("device_import_btn", A::ProfileImport),
    Click("device_copy_btn", A::ProfileCopy),
    Click("device_reset_btn", A::ProfileReset),
    Click("device_profile_edit_save_btn", A::ProfileRename),
    ClickTo("key_butt_keysave", F::Keys),
    ClickTo("key_butt_keydefalut", F::Keys),
    ClickTo("key_butt_keycancel", F::Keys),
    Click("key_butt_prosave", A::StartKeyWrite),
    MacroCapture("click", "macro_btn_starredio"),
    MacroCapture("click", "macro_btn_stopredio"),
    ClickTo("macro_btn_name_add", F::Macros),
    ClickTo("macro_btn_name_sub", F::Macros),
    ClickTo("macro_btn_name_edit", F::Macros),
    MacroThenWrite("click", "macro_btn_save"),
    ClickTo("macro_btn_cancel", F::Macros),
    Click("macro_btn_export", A::MacroExport),
    Click("macro_btn_import", A::MacroImport),
    MacroThenWrite("click", "macro_btn_up"),
    MacroThenWrite("click", "macro_btn_down"),
    MacroThenWrite("click", "macro_btn_uptop"),
    MacroThenWrite("click", "macro_btn_downbottom"),
    MacroThenWrite("click", "macro_btn_delete"),
    MacroThenWrite("click", "macro_btn_deleteall"),
    MacroThenWrite("click", "macro_inset_moveleftkey_btn", M::ExactCase),
    MacroThenWrite("click", "macro_inset_moverightkey_btn", M::ExactCase),
    MacroThenWrite("click", "macro_inset_moveupkey_btn", M::ExactCase),
    MacroThenWrite("click", "macro_inset_movedownkey_btn", M::ExactCase),
    ClickTo("shootdate_save_btn", F::Recoil),
    ClickTo("shootdate_reset_btn", F::Recoil),
    Click("shootdate_import_btn", A::RecoilImport),
    Click("shootdate_export_btn", A::RecoilExport),
    ClickTo("bullet_selected_prev", F::Recoil),
    ClickTo("bullet_selected_next", F::Recoil),
    ClickTo("custom_bright_color_btn", F::Lighting),
    ClickTo("custom_off_color_btn", F::Lighting),
    Click("deng_same_mode", A::ShareLighting),
    ClickTo("hs_EQ_btn_save", F::Sound),
    ClickTo("hs_EQ_btn_delete", F::Sound),
    ClickTo("profile_fun_spread_btn", F::Profiles, M::ExactCase),
    Click("device_select_prev", A::SelectPreviousDevice),
    Click("device_select_next", A::SelectNextDevice),
    ClickTo("Close_bkColor_btn", F::AudioLight),
    Click("music_setting_btn", A::OpenAudioLightWindow),

    // Options.
    On("selectchanged", "DPI_enable_check_", F::DeviceSettings, M::IndexedCase),
    On("selectchanged", "DPI_select_check_", F::DeviceSettings, M::IndexedCase),
    On("selectchanged", "polling_rate_option_", F::DeviceSettings, M::IndexedCase),
    On("selectchanged", "Silent_Altitude_option_", F::DeviceSettings, M::IndexedCase),
    On("selectchanged", "Linear_Calibration_option_", F::DeviceSettings, M::IndexedCase),
    On("selectchanged", "Ripple_option_", F::DeviceSettings, M::IndexedCase),
    On("selectchanged", "pointer_precision_check", F::DeviceSettings),
    On("selectchanged", "scrolls_page_check", F::DeviceSettings),
    On("selectchanged", "repeat_delay_check_", F::DeviceSettings, M::IndexedCase),
    On("selectchanged", "winlockflag_option", F::DeviceSettings),
    On("selectchanged", "wflag_option", F::DeviceSettings),
    On("selectchanged", "6flag_option", F::DeviceSettings),
    On("selectchanged", "mouse_device_seting_option_", F::DeviceSettings, M::IndexedCase),
    On("selectchanged", "shoot_gun_op_", F::Recoil, M::IndexedCase),
    On("selectchanged", "bullet_op_", F::Recoil, M::IndexedCase),
    On("selectchanged", "bullet_x_check", F::Recoil),
    On("selectchanged", "bullet_y_check", F::Recoil),
    On("selectchanged", "magic_option_", F::Sound, M::IndexedCase),
    On("selectchanged", "magic_enable_option", F::Sound),
    On("selectchanged", "6533_eq_option_", F::Sound, M::IndexedCase),
    On("selectchanged", "6533_MicIn_option", F::Sound),
    On("selectchanged", "6533_MicMoniter_option", F::Sound),
    On("selectchanged", "key_ComBox_check_", F::Keys, M::IndexedCase),
    OnAction("selectchanged", "device_select", A::SelectDevice),
    OnAction("selectchanged", "synchro_device_select", A::NoAction),
    Tab("deng_Op_tab", 1),
    Tab("key_Op_tab", 2),
    Tab("macro_Op_tab", 3),
    Tab("system_Op_tab", 4),
    Tab("cursor_Op_tab", 5),
    Tab("6533_voice_Op_tab", 6),
    Tab("magic_Op_tab", 7),
    Tab("Virtual7.1_Op_tab", 8),
    Tab("otherset_Op_tab", 9),
    On("selectchanged", "deng_FXL_check", F::Lighting),
    On("selectchanged", "deng_FXR_check", F::Lighting),
    On("selectchanged", "deng_7color_check", F::Lighting),
    On("selectchanged", "deng_7audiocolor_check", F::AudioLight),
    On("selectchanged", "audio_FgColor_check", F::AudioLight),
    OnAction("selectchanged", "audio_BkColor_check", A::NoAction),

    // Sliders.
    On("valuechanged", "DPI_slider_", F::DeviceSettings, M::IndexedCase),
    On("valuechanged", "6533_eq_hz_slider_", F::Sound, M::IndexedCase),
    On("valuechanged", "6533_MicIn_slider", F::Sound),
    On("valuechanged", "6533_MicMoniter_slider", F::Sound),
    On("valuechanged", "pointer_speed_slider", F::DeviceSettings),
    On("valuechanged", "scroll_speed_slider", F::DeviceSettings),
    On("valuechanged", "double_click_slider", F::DeviceSettings),
    On("valuechanged", "repeat_rate_slider", F::DeviceSettings),
    On("valuechanged", "deng_light_slider", F::Lighting),
    On("valuechanged", "deng_speed_slider", F::Lighting),
    OnAction("valuechanged", "R_light_slider", A::AudioColourSlider, M::ExactCase, 6),
    OnAction("valuechanged", "G_light_slider", A::AudioColourSlider, M::ExactCase, 7),
    OnAction("valuechanged", "B_light_slider", A::AudioColourSlider, M::ExactCase, 8),
    OnAction("movevaluechanged", "kelvo_DPI_slider_", A::ShowMovingDpi, M::IndexedCase),
    On("movevaluechanged", "DPI_slider_", F::DeviceSettings, M::IndexedCase),

    // Combos.
    OnAction("itemselect", "device_profile_combo", A::StartProfileSwitch),
    On("itemselect", "light_combo_modeSelect", F::Lighting),
    On("itemselect", "light_combo_custommodeSelect", F::Lighting),
    On("itemselect", "light_combo_ZZCCmodeSelect", F::Lighting),
    On("itemselect", "light_combo_audiomodeSelect", F::AudioLight),
    On("itemselect", "Anti_Shake_combo_timeSelect", F::DeviceSettings, M::ExactCase, P::Mouse),
    On("itemselect", "ble_sleep1_combo", F::DeviceSettings, M::ExactCase, P::Mouse),
    On("itemselect", "ble_sleep2_combo", F::DeviceSettings, M::ExactCase, P::Mouse),
    On("itemselect", "device_sleep1_combo", F::DeviceSettings, M::ExactCase, P::Mouse),
    On("itemselect", "device_sleep2_combo", F::DeviceSettings, M::ExactCase, P::Mouse),
    On("itemselect", "logo_led_mode_combo", F::DeviceSettings, M::ExactCase, P::Mouse),
    On("itemselect", "macro_name_list", F::Macros),
    On("itemselect", "custom_eq_name_combo", F::Sound),
    On("itemselect", "keyset_function_combo", F::Keys),
    On("itemselect", "keyset_mousekey_combo", F::Keys),
    On("itemselect", "keyset_mouseswing_combo", F::Keys),
    On("itemselect", "keyset_mousewheel_combo", F::Keys),
    On("itemselect", "keyset_mousedpi_combo", F::Keys),
    On("itemselect", "keyset_media_combo", F::Keys),
    On("itemselect", "keyset_system_combo", F::Keys),
    On("itemselect", "keyset_macro_combo", F::Keys),
    On("itemselect", "keyset_macro_over_combo", F::Keys),
    On("itemselect", "keyset_gunkey_combo", F::Keys),
    On("itemselect", "keyset_combokey_combo", F::Keys),

    // Edits losing the focus.
    OnAction("killfocus", "kelvo_DPI_edit_", A::CopyDpiEdit, M::IndexedCase),
    On("killfocus", "DPI_edit_", F::DeviceSettings, M::IndexedCase),
    On("killfocus", "deng_edit_R", F::Lighting),
    On("killfocus", "deng_edit_G", F::Lighting),
    On("killfocus", "deng_edit_B", F::Lighting),
    On("killfocus", "deng_audioedit_R", F::AudioLight),
    On("killfocus", "deng_audioedit_G", F::AudioLight),
    On("killfocus", "deng_audioedit_B", F::AudioLight),
    OnAction("killfocus", "keyset_keyboard_text_edit", A::RemoveKeyHook),
    On("killfocus", "bullet_x_eidt", F::Recoil),
    On("killfocus", "bullet_y_eidt", F::Recoil),
    On("killfocus", "bullet_delay_eidt", F::Recoil),
    MacroThenWrite("killfocus", "macro_delay", M::ExactCase),
    On("killfocus", "keyset_", F::Keys, M::StartsWith),

    // Menu commands.
    Menu("exit", A::Exit),
    Menu("about_menu", A::OpenAboutWindow),
    Menu("setwnd_menu", A::OpenSettingsCentred),
    MacroCapture("menu", "redio_previous_record_time"),
    MacroCapture("menu", "redio_previous_constant_time"),
    MacroCapture("menu", "redio_previous_ignore_time"),
    MacroCapture("menu", "redio_later_record_time"),
    MacroCapture("menu", "redio_later_constant_time"),
    MacroCapture("menu", "redio_later_ignore_time"),
    MacroCapture("menu", "macro_action_edit"),
    MacroMenu("left_down"),
    MacroMenu("left_up"),
    MacroMenu("left_click"),
    MacroMenu("middle_down"),
    MacroMenu("middle_up"),
    MacroMenu("middle_click"),
    MacroMenu("right_down"),
    MacroMenu("right_up"),
    MacroMenu("right_click"),
    MacroMenu("forward_down"),
    MacroMenu("forward_up"),
    MacroMenu("forward_click"),
    MacroMenu("back_down"),
    MacroMenu("back_up"),
    MacroMenu("back_click"),
};

QLatin1StringView Text(std::string_view text)
{
    return QLatin1StringView(text.data(), static_cast<qsizetype>(text.size()));
}

bool NameMatches(const NotifyRoute& route, const QString& sender, const ControlName& split)
{
    const QLatin1StringView name = Text(route.name);
    switch (route.match) {
    case M::Exact:
        return sender.compare(name, Qt::CaseInsensitive) == 0;
    case M::ExactCase:
        return sender == name;
    case M::Indexed:
        return split.index >= 0 && split.prefix.compare(name, Qt::CaseInsensitive) == 0;
    case M::IndexedCase:
        return split.index >= 0 && split.prefix == name;
    case M::StartsWith:
        return sender.startsWith(name);
    }
    return false;
}

}  // namespace

ControlName SplitControlName(const QString& name)
{
    // More digits than an int holds are no index.
    constexpr qsizetype kMaxIndexDigits = 9;
    const qsizetype underscore = name.lastIndexOf(QLatin1Char('_'));
    if (underscore < 0)
        return {name, -1};
    ControlName split{name.left(underscore + 1), -1};
    const QString rest = name.mid(underscore + 1);
    const bool digits = !rest.isEmpty() && rest.size() <= kMaxIndexDigits &&
                        std::all_of(rest.begin(), rest.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (digits)
        split.index = rest.toInt();
    return split;
}

std::span<const NotifyRoute> NotifyRoutes()
{
    return kRoutes;
}

const NotifyRoute* FindRoute(const QString& type, const QString& sender)
{
    const ControlName split = SplitControlName(sender);
    for (const NotifyRoute& route : kRoutes) {
        if (type == Text(route.type) && NameMatches(route, sender, split))
            return &route;
    }
    return nullptr;
}
