// The capture on a shown window: which key and mouse events are sent as hook
// messages and held back, and when the capture lets go by itself.

#include "services/device_hook.h"

#include "panels/macro_key_tables.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

struct Sent {
    QString name;
    WPARAM message;
    HookKeyRecord key;
    HookMouseRecord mouse;
};

class RecordingTarget : public IMessageHandler {
public:
    LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        for (int mode : {kHookSingleKey, kHookMacroAppend, kHookMacroReplace}) {
            for (bool mouse : {false, true}) {
                const char* name = HookMessageNameFor(mode, mouse);
                if (name == nullptr || FindRegisteredMessage(QString::fromLatin1(name)) != message)
                    continue;
                Sent sent{QString::fromLatin1(name), wParam, {}, {}};
                if (mouse)
                    sent.mouse = *reinterpret_cast<const HookMouseRecord*>(lParam);
                else
                    sent.key = *reinterpret_cast<const HookKeyRecord*>(lParam);
                sent_.push_back(sent);
            }
        }
        return 0;
    }
    std::vector<Sent> sent_;
};

// Counts the input that reaches it.
class InputCountingWindow : public QWidget {
public:
    int keys = 0;
    int clicks = 0;

protected:
    void keyPressEvent(QKeyEvent*) override { ++keys; }
    void keyReleaseEvent(QKeyEvent*) override { ++keys; }
    void mousePressEvent(QMouseEvent*) override { ++clicks; }
};

// X11 key codes (kernel code + 8).
constexpr uint32_t kX11A = 38;
constexpr uint32_t kX11CapsLock = 66;
constexpr uint32_t kX11NumLock = 77;
constexpr uint32_t kX11ScrollLock = 78;

class DeviceHookTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int mode : {kHookSingleKey, kHookMacroAppend, kHookMacroReplace})
            for (bool mouse : {false, true})
                if (const char* name = HookMessageNameFor(mode, mouse))
                    RegisterWindowMessage(QString::fromLatin1(name));
        window.resize(200, 100);
        window.show();
        hook.SetReleasedHandler([this] { ++released; });
    }
    // True when the event went on to the window.
    bool Key(int qtKey, uint32_t x11Code, bool press = true)
    {
        const int before = window.keys;
        QKeyEvent event(press ? QEvent::KeyPress : QEvent::KeyRelease, qtKey, Qt::NoModifier, x11Code, 0, 0);
        QCoreApplication::sendEvent(window.windowHandle(), &event);
        return window.keys > before;
    }
    void Click(Qt::MouseButton button)
    {
        const QPointF local(5, 6);
        QMouseEvent event(QEvent::MouseButtonPress, local, window.mapToGlobal(local), button, button,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(window.windowHandle(), &event);
    }

    InputCountingWindow window;
    RecordingTarget handler;
    CMessageEndpoint target{handler, false};
    CDeviceHook hook;
    int released = 0;
};

TEST_F(DeviceHookTest, KeysAreSentAndHeldBackExceptTheLockKeys)
{
    ASSERT_TRUE(hook.Install(kHookMacroAppend, &window, target.Handle()));
    struct Case {
        const char* what;
        int qtKey;
        uint32_t x11Code;
        bool sent;
    };
    const Case cases[] = {
        {"A", Qt::Key_A, kX11A, true},
        {"Caps Lock", Qt::Key_CapsLock, kX11CapsLock, false},
        {"Num Lock", Qt::Key_NumLock, kX11NumLock, false},
        {"Scroll Lock", Qt::Key_ScrollLock, kX11ScrollLock, false},
    };
    for (const Case& c : cases) {
        handler.sent_.clear();
        const bool passed = Key(c.qtKey, c.x11Code);
        EXPECT_EQ(handler.sent_.size(), c.sent ? 1u : 0u) << c.what;
        EXPECT_EQ(passed, !c.sent) << c.what;
    }
    Key(Qt::Key_A, kX11A, false);
    ASSERT_EQ(handler.sent_.size(), 1u);
    EXPECT_EQ(handler.sent_[0].name, "WM_HOOK_KEY_KBMACRO_MSG");
    EXPECT_EQ(handler.sent_[0].message, kKeyUpMessage);
    EXPECT_EQ(handler.sent_[0].key.scanCode, 0x1Eu);
    EXPECT_FALSE(hook.IsDelivering());
}

TEST_F(DeviceHookTest, MouseButtonsAreSentInTheMacroModesOnly)
{
    ASSERT_TRUE(hook.Install(kHookSingleKey, &window, target.Handle()));
    Click(Qt::LeftButton);
    EXPECT_TRUE(handler.sent_.empty());

    ASSERT_TRUE(hook.Install(kHookMacroReplace, &window, target.Handle()));
    Click(Qt::BackButton);
    EXPECT_EQ(window.clicks, 2);  // the window's own controls still get the clicks
    ASSERT_EQ(handler.sent_.size(), 1u);
    EXPECT_EQ(handler.sent_[0].name, "WM_HOOK_KEY_MSMACROSINGLE_MSG");
    EXPECT_EQ(handler.sent_[0].mouse.mouseData >> 16, kFirstExtraButton);
    const QPoint screen = window.mapToGlobal(QPoint(5, 6));
    EXPECT_EQ(handler.sent_[0].mouse.x, screen.x());
    EXPECT_EQ(handler.sent_[0].mouse.y, screen.y());
}

TEST_F(DeviceHookTest, HidingOrDeactivatingTheWindowEndsTheCapture)
{
    const std::function<void()> endings[] = {
        [&] { window.hide(); },
        [&] {
            QEvent deactivate(QEvent::WindowDeactivate);
            QCoreApplication::sendEvent(&window, &deactivate);
        },
    };
    for (const auto& end : endings) {
        window.show();
        released = 0;
        ASSERT_TRUE(hook.Install(kHookMacroAppend, &window, target.Handle()));
        end();
        EXPECT_FALSE(hook.IsInstalled());
        EXPECT_EQ(released, 1);
        handler.sent_.clear();
        window.show();
        EXPECT_TRUE(Key(Qt::Key_A, kX11A));  // typing reaches the window again
        EXPECT_TRUE(handler.sent_.empty());
    }
}

TEST_F(DeviceHookTest, NoCaptureOnAHiddenWindowAndUninstallLetsKeysThrough)
{
    window.hide();
    EXPECT_FALSE(hook.Install(kHookSingleKey, &window, target.Handle()));
    EXPECT_FALSE(hook.IsInstalled());
    window.show();
    ASSERT_TRUE(hook.Install(kHookSingleKey, &window, target.Handle()));
    EXPECT_FALSE(Key(Qt::Key_A, kX11A));
    hook.Uninstall();
    EXPECT_TRUE(Key(Qt::Key_A, kX11A));
    EXPECT_EQ(released, 0);  // only a capture that ends by itself says so
}

}  // namespace
