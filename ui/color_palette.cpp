#include "ui/color_palette.h"

#include "ui/notify.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {

constexpr int kBarHeight = 12;
constexpr int kGap = 4;
constexpr int kMarkerRadius = 4;

}  // namespace

CColorPaletteUI::CColorPaletteUI(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(2 * kBarHeight, 3 * kBarHeight + kGap);
}

void CColorPaletteUI::SetSelectColor(QRgb argb)
{
    const QColor color = QColor::fromRgb(argb).toHsv();
    m_hue = std::max(0, color.hsvHue());  // grey has no hue (-1)
    m_saturation = color.hsvSaturation();
    m_value = color.value();
    update();
}

QRgb CColorPaletteUI::GetSelectColor() const
{
    return QColor::fromHsv(m_hue, m_saturation, m_value).rgba();
}

QRect CColorPaletteUI::FieldRect() const
{
    return QRect(0, 0, width(), std::max(1, height() - kBarHeight - kGap));
}

QRect CColorPaletteUI::BarRect() const
{
    return QRect(0, height() - kBarHeight, width(), kBarHeight);
}

void CColorPaletteUI::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect field = FieldRect();
    QLinearGradient hues(field.topLeft(), field.topRight());
    for (int step = 0; step <= 6; ++step)
        hues.setColorAt(step / 6.0, QColor::fromHsv((step * 60) % 360, 255, m_value));
    painter.fillRect(field, hues);
    QLinearGradient fade(field.topLeft(), field.bottomLeft());
    fade.setColorAt(0, Qt::transparent);
    fade.setColorAt(1, QColor::fromHsv(0, 0, m_value));
    painter.fillRect(field, fade);

    const QRect bar = BarRect();
    QLinearGradient values(bar.topLeft(), bar.topRight());
    values.setColorAt(0, Qt::black);
    values.setColorAt(1, QColor::fromHsv(m_hue, m_saturation, 255));
    painter.fillRect(bar, values);

    painter.setPen(Qt::white);
    const QPoint fieldMarker(field.left() + m_hue * (field.width() - 1) / 359,
                             field.top() + (255 - m_saturation) * (field.height() - 1) / 255);
    painter.drawEllipse(fieldMarker, kMarkerRadius, kMarkerRadius);
    const int barX = bar.left() + m_value * (bar.width() - 1) / 255;
    painter.drawLine(barX, bar.top(), barX, bar.bottom());
}

void CColorPaletteUI::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !isEnabled())
        return;
    m_picking = true;
    m_pickingBar = BarRect().contains(event->position().toPoint());
    PickAt(event->position().toPoint());
}

void CColorPaletteUI::mouseMoveEvent(QMouseEvent* event)
{
    if (m_picking)
        PickAt(event->position().toPoint());
}

void CColorPaletteUI::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_picking || event->button() != Qt::LeftButton)
        return;
    m_picking = false;
    PickAt(event->position().toPoint());
    SendNotify(this, QStringLiteral("colorchanged"), GetSelectColor());
}

void CColorPaletteUI::PickAt(QPoint point)
{
    if (m_pickingBar) {
        const QRect bar = BarRect();
        m_value = std::clamp((point.x() - bar.left()) * 255 / std::max(1, bar.width() - 1), 0, 255);
    } else {
        const QRect field = FieldRect();
        m_hue = std::clamp((point.x() - field.left()) * 359 / std::max(1, field.width() - 1), 0, 359);
        m_saturation = 255 - std::clamp((point.y() - field.top()) * 255 / std::max(1, field.height() - 1), 0, 255);
    }
    update();
}
