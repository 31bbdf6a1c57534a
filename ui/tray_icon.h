#pragma once
// The tray icon. Mouse actions reach the owner's HandleMessage as the
// callback message with wParam = the icon id and lParam = WM_LBUTTONUP,
// WM_RBUTTONUP or WM_LBUTTONDBLCLK.

#include "platform/window_messages.h"

#include <QIcon>
#include <QPointer>
#include <QString>

class QSystemTrayIcon;
class WindowImplBase;

class CTrayIcon {
public:
    CTrayIcon() = default;
    ~CTrayIcon();
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    static bool IsAvailable();  // false on desktops without a tray
    bool CreateTrayIcon(WindowImplBase* owner, const QIcon& icon, const QString& tip,
                        UINT callbackMessage, UINT id = 0);
    void DeleteTrayIcon();
    bool IsCreated() const { return !m_icon.isNull(); }
    void SetTooltipText(const QString& tip);

private:
    QPointer<QSystemTrayIcon> m_icon;
};
