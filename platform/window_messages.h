#pragma once
// Window messages between threads and windows of this process.
//
// A window owns a CMessageEndpoint; its handle (WindowHandle) is what other
// threads keep. PostWindowMessage queues a message and returns at once;
// SendWindowMessage returns after the window's thread has handled it, with
// the handler's result. Both work from any thread. A send to a window that
// is gone or being destroyed, or after the UI loop has ended, returns 0 at
// once (or wakes up and returns 0 if it was already waiting), so a worker
// that sends while the UI thread joins it cannot deadlock.
//
// Registered messages: RegisterWindowMessage gives the same number (0xC000
// and above) for the same name, for the life of the process.

#include <QByteArray>
#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>

using UINT = unsigned int;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using WindowHandle = std::uint64_t;  // 0 = no window

// The system messages the toolkit layer itself produces.
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_COPYDATA = 0x004A;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_USER = 0x0400;

constexpr UINT kFirstRegisteredMessage = 0xC000;
constexpr UINT kLastRegisteredMessage = 0xFFFF;

// A message that carries bytes (WM_COPYDATA and the like) reaches the
// handler with lParam pointing at this record, valid during the call.
struct COPYDATASTRUCT {
    std::uintptr_t dwData;
    std::uint32_t cbData;
    const void* lpData;
};

// Same name (without regard to case), same number; 0 when the name is
// empty or the numbers ran out.
UINT RegisterWindowMessage(const QString& name);
// The number of a name registered before, 0 when it was never registered.
UINT FindRegisteredMessage(const QString& name);

class IMessageHandler {
public:
    virtual LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

protected:
    ~IMessageHandler() = default;
};

// Lives on the thread that handles the messages (the UI thread). Not
// copyable; destroying it (or Close) makes every waiting send return.
class CMessageEndpoint : public QObject {
    Q_OBJECT
public:
    // receivesBroadcasts: top-level windows get BroadcastWindowMessage and
    // the registered messages of other programs.
    CMessageEndpoint(IMessageHandler& handler, bool receivesBroadcasts);
    ~CMessageEndpoint() override;

    WindowHandle Handle() const { return m_handle; }
    // Refuses further messages and releases waiting senders (result 0).
    void Close();
    bool IsClosed() const;

protected:
    bool event(QEvent* event) override;

private:
    friend struct MessageEndpointAccess;

    IMessageHandler& m_handler;
    const WindowHandle m_handle;
};

bool PostWindowMessage(WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendWindowMessage(WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam);

// Messages with bytes: the handler gets lParam = &COPYDATASTRUCT{dwData, bytes}.
bool PostWindowMessageData(WindowHandle window, UINT message, WPARAM wParam,
                           std::uintptr_t dwData, const QByteArray& bytes);
LRESULT SendWindowMessageData(WindowHandle window, UINT message, WPARAM wParam,
                              std::uintptr_t dwData, const QByteArray& bytes);
// WM_COPYDATA with wParam = the sending window.
LRESULT SendCopyData(WindowHandle window, WindowHandle from, std::uintptr_t dwData,
                     const QByteArray& bytes);

// Posts to every endpoint that receives broadcasts; returns how many.
int BroadcastWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);
int BroadcastWindowMessageData(UINT message, WPARAM wParam, std::uintptr_t dwData,
                               const QByteArray& bytes);

bool IsWindowHandle(WindowHandle window);  // exists and is not closed

// Called when the UI loop has ended (connected to QCoreApplication::aboutToQuit
// by the first endpoint): every waiting send returns, later sends return 0.
void EndWindowMessages();
