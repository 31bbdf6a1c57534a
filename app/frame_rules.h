#pragma once
// Decisions of the main window's frame that need no window: what the close
// button does, how the no-device layout is refreshed, which scale fits a
// monitor, where a grown window goes, and where the tray menu opens.

#include "ui/menu_wnd.h"

#include <QMenu>  // CMenuWnd::Menu() is inline and needs the whole class

#include <QPoint>
#include <QRect>
#include <QSize>
#include <string>

enum class CloseAction { HideToTray, Minimise };
// Without a tray there is no way back to a hidden window: minimise instead.
CloseAction CloseButtonAction(bool trayAvailable);

struct NoDeviceRefresh {
    bool showNoDevice = true;  // visibility of "No_device_Link"
    std::string logLine;       // e.g. "Open>pNoDeviceLinkLyout    true"
};
// source: who refreshes ("Open", "UIMSG_TRAYICON", ...).
NoDeviceRefresh NoDeviceLayoutRefresh(const char* source, int connectedDevices);

// 144 on monitors wider than 1500 and taller than 960 pixels, else 96.
int FitDpi(QSize monitor);

// Where a window with frame `frame` goes to lie on the screen area
// `available`: unchanged when it lies there; a frame larger than the area
// keeps its top-left corner on it.
QPoint PositionOnScreen(const QRect& frame, const QRect& available);

// The corner of the tray menu that sits at the cursor, so that the menu
// opens away from the screen edge the tray lies on.
CMenuWnd::Align TrayMenuAlign(QPoint cursor, const QRect& screen);
