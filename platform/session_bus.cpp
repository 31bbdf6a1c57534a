#include "platform/session_bus.h"

#include "platform/trace.h"

#include <QDBusConnection>

void ConnectSessionBus()
{
    if (!QDBusConnection::sessionBus().isConnected())
        Trace("no session bus: screen readers cannot reach the window");
}
