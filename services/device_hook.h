#pragma once
// CDeviceHook: the input capture behind key assignment and macro recording.
// While a capture is armed, the window grabs the keyboard (and, in the macro
// modes, the mouse), so other programs do not get the input, and every key
// event of the window (and every mouse-button event) is sent synchronously
// to the target window as the mode's hook message: wParam the window message
// of the event, lParam the address of its HookKeyRecord or HookMouseRecord,
// valid during the send.
//
// Keys are held back from the window's own controls too, except Caps Lock,
// Num Lock and Scroll Lock. Mouse buttons still reach the window's controls,
// so the stop button can end a recording.
//
// The capture ends by Uninstall, and by itself when the window is hidden or
// deactivated (the released handler then runs). UI thread only.

#include "platform/window_messages.h"
#include "services/hook_message.h"

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include <functional>

class QKeyEvent;
class QMouseEvent;

class CDeviceHook : public QObject {
public:
    CDeviceHook() = default;
    ~CDeviceHook() override;
    CDeviceHook(const CDeviceHook&) = delete;
    CDeviceHook& operator=(const CDeviceHook&) = delete;

    // Arms a capture of `mode` (a HookMode) on `window`, releasing any
    // capture armed before. False (nothing armed) without a shown window.
    // A grab the window system refuses still captures within the window.
    bool Install(int mode, QWidget* window, WindowHandle target);
    void Uninstall();
    bool IsInstalled() const { return mode_ != 0; }
    int Mode() const { return mode_; }
    // Whether the window system granted the grabs.
    bool HasKeyboardGrab() const { return keyboardGrabbed_; }
    bool HasMouseGrab() const { return mouseGrabbed_; }

    // True while one of this hook's messages is being handled: only then
    // does a hook message's lParam point at a record of ours. Other senders
    // (other programs reach the window by message name) get nothing read.
    bool IsDelivering() const { return delivering_; }

    // Runs after the capture ended because its window was hidden or
    // deactivated.
    void SetReleasedHandler(std::function<void()> handler) { released_ = std::move(handler); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool OnKey(const QKeyEvent& event);
    void OnMouseButton(const QMouseEvent& event);
    void Deliver(bool mouse, uint32_t message, const void* record);
    void Release();

    int mode_ = 0;
    WindowHandle target_ = 0;
    QPointer<QWidget> window_;
    QPointer<QWindow> handle_;
    bool keyboardGrabbed_ = false;
    bool mouseGrabbed_ = false;
    bool delivering_ = false;
    std::function<void()> released_;
};
