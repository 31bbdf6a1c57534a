#include "ui/tray_icon.h"

#include "ui/window_impl_base.h"

#include <QSystemTrayIcon>

namespace {

LPARAM MouseMessageOf(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return WM_LBUTTONUP;
    case QSystemTrayIcon::Context:
        return WM_RBUTTONUP;
    case QSystemTrayIcon::DoubleClick:
        return WM_LBUTTONDBLCLK;
    default:
        return 0;
    }
}

}  // namespace

CTrayIcon::~CTrayIcon()
{
    DeleteTrayIcon();
}

bool CTrayIcon::IsAvailable()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

bool CTrayIcon::CreateTrayIcon(WindowImplBase* owner, const QIcon& icon, const QString& tip,
                               UINT callbackMessage, UINT id)
{
    DeleteTrayIcon();
    if (!owner)
        return false;
    m_icon = new QSystemTrayIcon(icon, owner);
    m_icon->setToolTip(tip);
    const WindowHandle window = owner->GetHWND();
    QObject::connect(m_icon, &QSystemTrayIcon::activated, m_icon,
                     [window, callbackMessage, id](QSystemTrayIcon::ActivationReason reason) {
                         if (const LPARAM mouse = MouseMessageOf(reason))
                             SendWindowMessage(window, callbackMessage, id, mouse);
                     });
    m_icon->show();
    return true;
}

void CTrayIcon::DeleteTrayIcon()
{
    delete m_icon.data();
    m_icon = nullptr;
}

void CTrayIcon::SetTooltipText(const QString& tip)
{
    if (m_icon)
        m_icon->setToolTip(tip);
}
