#include "app/frame_rules.h"

#include "ui/dpi.h"

#include <algorithm>

CloseAction CloseButtonAction(bool trayAvailable)
{
    return trayAvailable ? CloseAction::HideToTray : CloseAction::Minimise;
}

NoDeviceRefresh NoDeviceLayoutRefresh(const char* source, int connectedDevices)
{
    NoDeviceRefresh refresh;
    refresh.showNoDevice = connectedDevices <= 0;
    refresh.logLine = std::string(source) + ">pNoDeviceLinkLyout    " + (refresh.showNoDevice ? "true" : "false");
    return refresh;
}

int FitDpi(QSize monitor)
{
    constexpr int kLargeMonitorDpi = 144;
    const bool large = monitor.width() > 1500 && monitor.height() > 960;
    return ValidDpi(large ? kLargeMonitorDpi : kDefaultDpi);
}

QPoint PositionOnScreen(const QRect& frame, const QRect& available)
{
    const int x = std::min(frame.left(), available.left() + available.width() - frame.width());
    const int y = std::min(frame.top(), available.top() + available.height() - frame.height());
    return {std::max(x, available.left()), std::max(y, available.top())};
}

CMenuWnd::Align TrayMenuAlign(QPoint cursor, const QRect& screen)
{
    const bool lowerHalf = cursor.y() >= screen.center().y();
    const bool rightHalf = cursor.x() >= screen.center().x();
    if (lowerHalf)
        return rightHalf ? CMenuWnd::kAlignRightBottom : CMenuWnd::kAlignLeftBottom;
    return rightHalf ? CMenuWnd::kAlignRightTop : CMenuWnd::kAlignLeftTop;
}
