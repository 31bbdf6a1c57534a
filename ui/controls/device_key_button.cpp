#include "ui/controls/device_key_button.h"

#include "ui/notify.h"
#include "ui/render_engine.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

CDeviceKeyButtonUI::CDeviceKeyButtonUI(QWidget* parent) : CAttributedUI<QPushButton>(parent) {}

void CDeviceKeyButtonUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("lightimage"))
        m_lightImage = value;
    else if (name == QLatin1String("keysetimage"))
        m_keysetImage = value;
    else
        return;
    update();
}

void CDeviceKeyButtonUI::SetKeyLight(QRgb color, int level, bool shown)
{
    RunOnControlThread(this, [this, color, level, shown] {
        m_lightColor = color;
        m_lightLevel = level;
        m_lightShown = shown;
        update();
    });
}

void CDeviceKeyButtonUI::SetKeysetImageHidden(bool hidden)
{
    if (m_keysetImageHidden == hidden)
        return;
    m_keysetImageHidden = hidden;
    update();
}

void CDeviceKeyButtonUI::SetDragSelected(bool selected)
{
    if (m_dragSelected == selected)
        return;
    m_dragSelected = selected;
    // The style sheet reads the property only when the widget is polished again.
    style()->unpolish(this);
    style()->polish(this);
    update();
}

void CDeviceKeyButtonUI::paintEvent(QPaintEvent* event)
{
    QPushButton::paintEvent(event);
    QPainter painter(this);
    if (m_lightShown)
        CRenderEngine::DrawImageString(painter, rect(), m_lightImage, m_lightColor, m_lightLevel, m_lightShown);
    if (!m_keysetImageHidden)
        CRenderEngine::DrawImageString(painter, rect(), m_keysetImage);
}

void CDeviceKeyButtonUI::mouseDoubleClickEvent(QMouseEvent* event)
{
    QPushButton::mouseDoubleClickEvent(event);  // pressed and holding the mouse, as on a press
    if (isEnabled() && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        SendNotify(this, QStringLiteral("dbclick"));
        update();
    }
}
