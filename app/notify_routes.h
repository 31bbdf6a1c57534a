#pragma once
// The main window's notification routes: which notification, from which
// control, goes where. Controls that exist once per index are named prefix
// + decimal index ("DPI_slider_3"); a route for them names the prefix.
// Rows are tried in order; the first that matches wins.

#include "devices/velmora_usb_device.h"

#include <QString>

#include <span>
#include <string_view>

// What the main window does with a routed notification.
enum class RouteAction {
    HandOff,               // to the current page's feature (the row's page kind must fit)
    HandOffThenWriteKeys,  // the same, then the key and macro write timer (1033)
    NoAction,
    SkipDefault,           // ignored, and the toolkit's default processing is skipped too
    WindowInit,
    WindowSize,
    CloseToTray,
    HideWindow,
    ToggleLightControl,
    ShareLighting,         // the current page's lighting on every device ("deng_same_mode")
    Minimise,
    Maximise,
    Restore,
    OpenSkinWindow,
    OpenSettingsAtEdge,
    OpenSettingsCentred,
    OpenAboutWindow,
    OpenMouseSettings,     // the desktop's mouse settings; index 0 or 1
    RestoreDefaults,
    ProfileAdd,
    ProfileDelete,
    ProfileCopy,
    ProfileImport,
    ProfileExport,
    ProfileRename,
    ProfileReset,
    MacroImport,
    MacroExport,
    RecoilImport,
    RecoilExport,
    StartKeyWrite,
    SelectKey,             // hand-off to the key panel, which may refuse with a message
    SelectPreviousDevice,
    SelectNextDevice,
    SelectDevice,
    OpenAudioLightWindow,
    OpenColorPicker,       // the colour of DPI stage N of the current page
    FunctionTab,           // argument: the tab number
    ShowMovingDpi,         // "kelvo_DPI_slider_"N shown in "kelvo_DPI_edit_"N
    CopyDpiEdit,           // "kelvo_DPI_edit_"N copied to "kelvo_DPI_slider_"N
    AudioColourSlider,     // argument: the audio window's channel (6 red, 7 green, 8 blue)
    StartProfileSwitch,
    MacroCapture,          // the macro editor arms or ends a capture; the window follows with the hook
    InstallKeyHook,
    RemoveKeyHook,
    OpenMacroActionMenu,
    Exit,
};

enum class NameMatch {
    Exact,       // the whole name, without regard to case
    ExactCase,   // the whole name, case counts
    Indexed,     // prefix + decimal index (prefix without regard to case)
    IndexedCase, // the same, case counts
    StartsWith,  // any name that begins with the text (case counts)
};

// Which current page a hand-off needs; with another page (or none) the
// route does nothing.
enum class PageNeed { Any, Mouse, Keyboard, MouseOrKeyboard };

struct NotifyRoute {
    std::string_view type;  // notification type; "menu" for menu commands
    std::string_view name;  // sender, or its prefix ending in '_'
    NameMatch match;
    RouteAction action;
    PageFeature feature = PageFeature::DeviceSettings;  // for the hand-offs
    PageNeed need = PageNeed::Any;
    int argument = 0;
};

struct ControlName {
    QString prefix;  // up to and including the last underscore; the whole name without one
    int index = -1;  // the decimal number after it; -1 when there is none
};
// "DPI_slider_3" -> {"DPI_slider_", 3}; "closebtn" -> {"closebtn", -1};
// "key_x" -> {"key_", -1}.
ControlName SplitControlName(const QString& name);

std::span<const NotifyRoute> NotifyRoutes();
// The first route for this notification type and sender, or nullptr.
const NotifyRoute* FindRoute(const QString& type, const QString& sender);
