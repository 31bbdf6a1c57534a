#pragma once
// The numbers of the window messages the main window handles. The
// registered ones (instance, relay, lighting, status query, hook and game
// messages) are in registered_messages.h, the discovery's in
// main_discovery_sink.h.

#include "platform/window_messages.h"

// From the window system (the toolkit layer produces them from its events).
inline constexpr UINT WM_ACTIVATE = 0x0006;
inline constexpr UINT WM_DISPLAYCHANGE = 0x007E;
inline constexpr UINT WM_MOUSEWHEEL = 0x020A;
inline constexpr UINT WM_POWERBROADCAST = 0x0218;
inline constexpr UINT WM_MOUSEHOVER = 0x02A1;
inline constexpr UINT WM_MOUSELEAVE = 0x02A3;
inline constexpr WPARAM PBT_APMSUSPEND = 4;
inline constexpr WPARAM PBT_APMRESUMEAUTOMATIC = 18;

// The program's own.
inline constexpr UINT WM_KEY_HOOK_SWITCH = 1054;  // wParam 1 install, 0 remove
inline constexpr UINT WM_TOOLKIT_DPI_CHANGED = 1224;
inline constexpr UINT WM_LANGUAGE_CHANGED = 3089;  // wParam: the language index
inline constexpr UINT WM_UPDATE_BADGE_SEEN = 3094;
inline constexpr UINT WM_DEVICE_ENTRY_STATE = 3331;    // wParam entry, lParam 1 link back, 0 lost
inline constexpr UINT WM_DEVICE_FIRMWARE_VERSION = 3332;  // lParam: the mouse's firmware version
inline constexpr UINT WM_USB_MAINMESS_DEVICE_IS_INITUI = 3333;  // wParam 1: device data initialised
