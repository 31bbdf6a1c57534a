#include "ui/controls/select_panel.h"

#include "ui/controls/device_key_button.h"
#include "ui/notify.h"

#include <QMouseEvent>

#include <algorithm>

QRect SpannedRect(QPoint from, QPoint to)
{
    return QRect(QPoint(std::min(from.x(), to.x()), std::min(from.y(), to.y())),
                 QPoint(std::max(from.x(), to.x()), std::max(from.y(), to.y())));
}

CSelectPanelUI::CSelectPanelUI(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_StyledBackground);  // the skin may put the device picture behind the keys
}

void CSelectPanelUI::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !isEnabled())
        return QWidget::mousePressEvent(event);
    m_pressed = true;
    m_dragging = false;
    m_start = event->position().toPoint();
    m_current = m_start;
}

void CSelectPanelUI::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_pressed)
        return QWidget::mouseMoveEvent(event);
    m_current = event->position().toPoint();
    if (m_current != m_start)
        m_dragging = true;
    if (m_dragging)
        m_selectRect = SpannedRect(m_start, m_current);
}

void CSelectPanelUI::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_pressed || event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    m_pressed = false;
    if (!m_dragging)
        return;
    m_dragging = false;
    m_start = m_current;
    MarkFramedKeys();
    update();
    SendNotify(this, QStringLiteral("click_select_end"));
}

void CSelectPanelUI::MarkFramedKeys()
{
    for (CDeviceKeyButtonUI* key : findChildren<CDeviceKeyButtonUI*>()) {
        const QRect keyRect(key->mapTo(this, QPoint(0, 0)), key->size());
        key->SetDragSelected(key->isVisibleTo(this) && keyRect.intersects(m_selectRect));
    }
}
