#include "ui/controls/wnd_ui.h"

#include <QEvent>

CWndUI::CWndUI(QWidget* parent) : QWidget(parent) {}

void CWndUI::Attach(QWidget* window)
{
    m_window = window;
    if (window && window->isWindow()) {
        window->setAttribute(Qt::WA_ShowWithoutActivating);
        this->window()->installEventFilter(this);  // a top-level host follows the window's moves
    }
    Follow();
}

void CWndUI::Follow()
{
    if (!m_window)
        return;
    const QPoint onScreen = mapToGlobal(QPoint(0, 0));
    const QPoint origin = m_window->isWindow() ? onScreen : m_window->parentWidget()->mapFromGlobal(onScreen);
    m_window->setGeometry(QRect(origin, size()));
    m_window->setVisible(isVisible());
}

void CWndUI::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    Follow();
}

void CWndUI::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Follow();
}

void CWndUI::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    Follow();
}

void CWndUI::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    Follow();
}

bool CWndUI::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window() && event->type() == QEvent::Move)
        Follow();
    return QWidget::eventFilter(watched, event);
}
