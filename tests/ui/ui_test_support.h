#pragma once
// A window over the sample layouts of tests/ui/skin that records what it
// is told, and a wait that runs the event loop.

#include "ui/control_factory.h"
#include "ui/dialog_builder.h"
#include "ui/resource_manager.h"
#include "ui/ui_init.h"
#include "ui/window_impl_base.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <functional>
#include <ostream>
#include <vector>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

struct SeenNotify {
    QString type;
    QString sender;
    WPARAM wParam;
    LPARAM lParam;
};

struct SeenMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    QByteArray bytes;  // of a COPYDATASTRUCT, when the message carries one
    bool onWindowThread;
};

class TestWindow : public WindowImplBase {
public:
    explicit TestWindow(QString layout = QStringLiteral("XML_TEST_MAIN")) : m_layout(std::move(layout)) {}

    std::vector<SeenNotify> notifies;
    std::vector<SeenMessage> messages;
    std::function<LRESULT(UINT, WPARAM, LPARAM)> onMessage;  // result of HandleMessage
    int pageControlsCreated = 0;

    std::vector<QString> TypesFrom(const QString& sender) const
    {
        std::vector<QString> types;
        for (const SeenNotify& seen : notifies)
            if (seen.sender == sender)
                types.push_back(seen.type);
        return types;
    }

protected:
    QString GetSkinFile() override { return m_layout; }
    QString GetWindowClassName() const override { return QStringLiteral("TestWnd"); }

    void Notify(TNotifyUI& msg) override
    {
        notifies.push_back({msg.sType, msg.SenderName(), msg.wParam, msg.lParam});
        WindowImplBase::Notify(msg);
    }

    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override
    {
        QByteArray bytes;
        if (uMsg == WM_COPYDATA) {
            const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            bytes = QByteArray(static_cast<const char*>(data->lpData), data->cbData);
        }
        messages.push_back({uMsg, wParam, lParam, bytes, QThread::currentThread() == thread()});
        bHandled = true;
        return onMessage ? onMessage(uMsg, wParam, lParam) : 0;
    }

    // "DevicePage" stands for the classes a window creates itself,
    // "TestPanelUI" for those it builds from a sub-layout.
    QWidget* CreateControl(const QString& className, QWidget* parent) override
    {
        if (className.compare(QLatin1String("TestPanelUI"), Qt::CaseInsensitive) == 0)
            return CDialogBuilder::Create(QStringLiteral("XML\\CustomControlXML\\TestPanel.xml"), nullptr, parent);
        if (className.compare(QLatin1String("DevicePage"), Qt::CaseInsensitive) != 0)
            return nullptr;
        ++pageControlsCreated;
        return new QWidget(parent);
    }

private:
    QString m_layout;
};

inline void UseTestSkin()
{
    PrepareToolkit(QStringLiteral(UI_TEST_SKIN));
}

// Runs the event loop until done() or the time is up; returns done().
inline bool RunEventsUntil(const std::function<bool()>& done, int timeoutMs = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs) {
        QEventLoop loop;
        QTimer::singleShot(2, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return done();
}
