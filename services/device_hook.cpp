#include "services/device_hook.h"

#include "platform/trace.h"

#include <QKeyEvent>
#include <QMouseEvent>

CDeviceHook::~CDeviceHook()
{
    Uninstall();
}

bool CDeviceHook::Install(int mode, QWidget* window, WindowHandle target)
{
    Uninstall();
    if (window == nullptr || window->windowHandle() == nullptr || !window->isVisible())
        return false;
    mode_ = mode;
    target_ = target;
    window_ = window;
    handle_ = window->windowHandle();
    window_->installEventFilter(this);
    handle_->installEventFilter(this);
    keyboardGrabbed_ = handle_->setKeyboardGrabEnabled(true);
    mouseGrabbed_ = IsMacroHookMode(mode) && handle_->setMouseGrabEnabled(true);
    if (!keyboardGrabbed_)
        Trace("capture: the window system refused the keyboard grab; only this window's keys are captured");
    return true;
}

void CDeviceHook::Uninstall()
{
    if (handle_) {
        handle_->removeEventFilter(this);
        if (keyboardGrabbed_ && !handle_->setKeyboardGrabEnabled(false))
            Trace("capture: the keyboard grab could not be released");
        if (mouseGrabbed_ && !handle_->setMouseGrabEnabled(false))
            Trace("capture: the mouse grab could not be released");
    }
    if (window_)
        window_->removeEventFilter(this);
    mode_ = 0;
    target_ = 0;
    window_ = nullptr;
    handle_ = nullptr;
    keyboardGrabbed_ = false;
    mouseGrabbed_ = false;
}

void CDeviceHook::Release()
{
    Uninstall();
    if (released_)
        released_();
}

bool CDeviceHook::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window_ && (event->type() == QEvent::Hide || event->type() == QEvent::WindowDeactivate)) {
        Release();
        return false;
    }
    if (watched != handle_)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return OnKey(static_cast<const QKeyEvent&>(*event));
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
        OnMouseButton(static_cast<const QMouseEvent&>(*event));
        return false;
    default:
        return false;
    }
}

bool CDeviceHook::OnKey(const QKeyEvent& event)
{
    const HookKeyMessage hook = HookMessageForKey(event.key(), event.modifiers(), event.nativeScanCode(),
                                                  event.type() == QEvent::KeyPress);
    if (PassesThroughCapture(hook.record.virtualKey))
        return false;
    Deliver(false, hook.message, &hook.record);
    return true;
}

void CDeviceHook::OnMouseButton(const QMouseEvent& event)
{
    const QPoint screen = event.globalPosition().toPoint();
    const HookMouseMessage hook = HookMessageForMouseButton(event.button(), event.type() == QEvent::MouseButtonPress,
                                                            screen.x(), screen.y());
    if (hook.message != 0)
        Deliver(true, hook.message, &hook.record);
}

void CDeviceHook::Deliver(bool mouse, uint32_t message, const void* record)
{
    const char* name = HookMessageNameFor(mode_, mouse);
    const UINT number = name != nullptr ? FindRegisteredMessage(QString::fromLatin1(name)) : 0;
    if (number == 0)
        return;
    delivering_ = true;
    SendWindowMessage(target_, number, message, reinterpret_cast<LPARAM>(record));
    delivering_ = false;
}
