#include "ui/window_impl_base.h"

#include "platform/trace.h"
#include "ui/dpi.h"
#include "ui/font_table.h"
#include "ui/resource_manager.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QFile>
#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

WindowImplBase::WindowImplBase(bool topLevel)
    : QWidget(nullptr, Qt::Window), m_endpoint(new CMessageEndpoint(*this, topLevel))
{
    m_endpoint->setParent(this);
}

WindowImplBase::~WindowImplBase()
{
    // Senders waiting on this window return before anything else goes.
    m_endpoint->Close();
    if (m_modalLoop)
        m_modalLoop->quit();
}

bool WindowImplBase::Create(QWidget* parent, const QString& title)
{
    if (parent)  // an owned window: kept above its owner, flags set before stay
        setParent(parent, windowFlags() | Qt::Dialog);
    setObjectName(GetWindowClassName());
    setWindowTitle(title);
    m_root = CDialogBuilder::Create(GetSkinFile(), this, this);
    if (m_root) {
        m_root->setWindowFlags(Qt::Widget);  // a layout drawn as a QDialog still fills this window
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        layout->addWidget(m_root);
        m_layoutSize = m_root->size();
        m_baseFontSize = m_root->font().pointSizeF();
        resize(m_layoutSize);
        ApplyFonts();
    }
    InitWindow();
    QTimer::singleShot(0, this, [this] {
        if (!m_closed)
            SendNotify(m_root ? static_cast<QObject*>(m_root) : this, QStringLiteral("windowinit"));
    });
    return m_root != nullptr;
}

int WindowImplBase::ShowModal()
{
    if (m_closed || m_modalLoop)
        return IDCANCEL;
    setWindowModality(Qt::ApplicationModal);
    show();
    QEventLoop loop;
    m_modalLoop = &loop;
    QPointer<WindowImplBase> self(this);
    loop.exec();
    if (!self)  // deleted while modal
        return IDCANCEL;
    m_modalLoop = nullptr;
    return m_closeCode;
}

void WindowImplBase::ShowWindow(bool show, bool takeFocus)
{
    if (m_closed)
        return;
    setVisible(show);
    if (show && takeFocus) {
        raise();
        activateWindow();
    }
}

void WindowImplBase::CenterWindow()
{
    QWidget* owner = parentWidget();
    QRect area;
    if (owner && owner->isVisible())
        area = owner->frameGeometry();
    else if (const QScreen* screen = this->screen() ? this->screen() : QApplication::primaryScreen())
        area = screen->availableGeometry();
    if (!area.isValid())
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(area.center());
    move(frame.topLeft());
}

void WindowImplBase::Close(int code)
{
    if (m_closed)
        return;
    m_closed = true;
    m_closeCode = code;
    m_endpoint->Close();
    for (const TimerSlot& slot : std::as_const(m_timers))
        delete slot.timer;
    m_timers.clear();
    bool handled = false;
    HandleMessage(WM_DESTROY, 0, 0, handled);
    hide();
    if (m_modalLoop)
        m_modalLoop->quit();
    OnFinalMessage();
}

WindowHandle WindowImplBase::GetHWND() const
{
    return m_endpoint->Handle();
}

CControlUI WindowImplBase::FindControl(const QString& name) const
{
    if (!m_root || name.isEmpty())
        return {};
    if (m_root->objectName() == name)
        return CControlUI(m_root);
    return ::FindSubControlByName(m_root, name);
}

CControlUI WindowImplBase::FindSubControlByName(QWidget* parent, const QString& name) const
{
    return ::FindSubControlByName(parent, name);
}

CControlUI WindowImplBase::FindSubControlByName(const CControlUI& parent, const QString& name) const
{
    return ::FindSubControlByName(parent.Widget(), name);
}

void WindowImplBase::AddNotifier(INotifyUI* notifier)
{
    if (notifier && notifier != this && !m_notifiers.contains(notifier))
        m_notifiers.append(notifier);
}

void WindowImplBase::RemoveNotifier(INotifyUI* notifier)
{
    m_notifiers.removeAll(notifier);
}

void WindowImplBase::DeliverNotify(TNotifyUI& msg)
{
    if (m_closed)
        return;
    QPointer<WindowImplBase> self(this);
    Notify(msg);
    // A notifier may go (or close the window) while the list is walked.
    const QList<INotifyUI*> notifiers = m_notifiers;
    for (INotifyUI* notifier : notifiers) {
        if (!self || m_closed)
            return;
        if (m_notifiers.contains(notifier))
            notifier->Notify(msg);
    }
}

bool WindowImplBase::SetTimer(UINT id, UINT elapseMs, QWidget* control)
{
    if (m_closed)
        return false;
    auto it = m_timers.find(id);
    if (it == m_timers.end()) {
        auto* timer = new QTimer(this);
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, this, [this, id] { OnTimerExpired(id); });
        it = m_timers.insert(id, TimerSlot{timer, {}});
    }
    it->control = control;
    it->timer->start(static_cast<int>(elapseMs));
    return true;
}

bool WindowImplBase::KillTimer(UINT id)
{
    auto it = m_timers.find(id);
    if (it == m_timers.end())
        return false;
    delete it->timer;
    m_timers.erase(it);
    return true;
}

bool WindowImplBase::IsTimerRunning(UINT id) const
{
    return m_timers.contains(id);
}

void WindowImplBase::OnTimerExpired(UINT id)
{
    auto it = m_timers.find(id);
    if (it == m_timers.end())
        return;
    QObject* sender = it->control ? static_cast<QObject*>(it->control.data())
                                  : (m_root ? static_cast<QObject*>(m_root) : this);
    it->timer->deleteLater();
    m_timers.erase(it);
    TNotifyUI msg{QStringLiteral("timer"), sender, id, 0, {}};
    DeliverNotify(msg);
}

void WindowImplBase::SetDPI(int dpi)
{
    m_dpi = ValidDpi(dpi);
    if (!m_root)
        return;
    if (m_baseFontSize > 0) {
        QFont font = m_root->font();
        font.setPointSizeF(m_baseFontSize * m_dpi / kDefaultDpi);
        m_root->setFont(font);
    }
    ApplyFonts();
    if (m_layoutSize.isValid())
        resize(ScaleValue(m_layoutSize.width()), ScaleValue(m_layoutSize.height()));
}

void WindowImplBase::SetAllDPI(int dpi)
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<WindowImplBase*>(widget))
            window->SetDPI(dpi);
    }
}

void WindowImplBase::ApplyFonts()
{
    CFontTable::GetInstance().ApplyFonts(m_root, m_dpi);
}

int WindowImplBase::ScaleValue(int value) const
{
    return ScaleForDpi(value, m_dpi);
}

bool WindowImplBase::ApplyStyleSheet(const QString& nameOrPath)
{
    QFile file(CResourceManager::GetInstance().FindFile(nameOrPath));
    if (file.fileName().isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        TraceF("skin %s: file not found", qPrintable(nameOrPath));
        return false;
    }
    setStyleSheet(QString::fromUtf8(file.readAll()));
    return true;
}

void WindowImplBase::Notify(TNotifyUI& msg)
{
    NotifyPump(msg);
}

LRESULT WindowImplBase::HandleMessage(UINT, WPARAM, LPARAM, bool& bHandled)
{
    bHandled = false;
    return 0;
}

QWidget* WindowImplBase::CreateControl(const QString&, QWidget*)
{
    return nullptr;
}

void WindowImplBase::closeEvent(QCloseEvent* event)
{
    event->ignore();
    if (m_closed)
        return;
    bool handled = false;
    HandleMessage(WM_CLOSE, 0, 0, handled);
    if (!handled)
        Close(IDCANCEL);
}

void WindowImplBase::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_root && !m_closed)
        SendNotify(m_root, QStringLiteral("windowsize"));
}

LRESULT WindowImplBase::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    bool handled = false;
    return HandleMessage(message, wParam, lParam, handled);
}
