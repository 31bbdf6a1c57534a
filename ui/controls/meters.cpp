#include "ui/controls/meters.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <numeric>

namespace {

constexpr int kRingThickness = 10;
constexpr int kFullTurn = 360;
constexpr int kRingStart = -90;    // the bottom; Qt counts anticlockwise from 3 o'clock

QPainterPath RingPath(const QRectF& outer)
{
    QPainterPath ring;
    ring.addEllipse(outer);
    ring.addEllipse(outer.adjusted(kRingThickness, kRingThickness, -kRingThickness, -kRingThickness));
    return ring;  // odd-even fill leaves the inner disc empty
}

QPainterPath SectorPath(const QRectF& outer, int sweepDegrees)
{
    QPainterPath sector;
    sector.moveTo(outer.center());
    sector.arcTo(outer, kRingStart, -sweepDegrees);  // negative: clockwise
    sector.closeSubpath();
    return sector;
}

}  // namespace

int RingSweepDegrees(int value, int minimum, int maximum)
{
    if (maximum <= minimum)
        return 0;
    const float share = static_cast<float>(value) * 1.0f / static_cast<float>(maximum - minimum);
    return std::clamp(static_cast<int>(share * kFullTurn), 0, kFullTurn);
}

CCircleProgressUI::CCircleProgressUI(QWidget* parent) : QProgressBar(parent) {}

void CCircleProgressUI::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QRectF outer = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const QPainterPath ring = RingPath(outer);
    painter.fillPath(ring, palette().color(backgroundRole()));
    const int sweep = RingSweepDegrees(value(), minimum(), maximum());
    if (sweep > 0)
        painter.fillPath(ring.intersected(SectorPath(outer, sweep)), palette().color(QPalette::Highlight));
    if (isTextVisible()) {
        painter.setPen(palette().color(foregroundRole()));
        painter.drawText(rect(), Qt::AlignCenter, text());
    }
}

CAudioRecordUI::CAudioRecordUI(QWidget* parent) : QLabel(parent)
{
    // A rising ramp until the first real samples arrive.
    std::iota(m_samples.begin(), m_samples.begin() + 256, 0);
}

void CAudioRecordUI::SetSamples(std::vector<int> levels)
{
    RunOnControlThread(this, [this, levels = std::move(levels)] {
        const size_t count = std::min(levels.size(), m_samples.size());
        std::transform(levels.begin(), levels.begin() + count, m_samples.begin(),
                       [](int level) { return std::clamp(level, 0, kWaveFullScale); });
        update();
    });
}

std::vector<QLine> WaveformLines(const QRect& area, std::span<const int> samples)
{
    std::vector<QLine> lines;
    const int count = static_cast<int>(std::min<size_t>(samples.size(), kWaveSampleCount));
    for (int i = 0; i < count && i * kWaveLineSpacing < area.width(); ++i) {
        const int level = std::clamp(samples[i], 0, kWaveFullScale);
        const int height = level * area.height() / kWaveFullScale;
        const int x = area.left() + i * kWaveLineSpacing;
        lines.emplace_back(x, std::clamp(area.bottom() - height + 1, area.top(), area.bottom()), x, area.bottom());
    }
    return lines;
}

void CAudioRecordUI::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(backgroundRole()));
    painter.setPen(palette().color(foregroundRole()));
    const std::vector<QLine> lines = WaveformLines(rect(), m_samples);
    painter.drawLines(lines.data(), static_cast<int>(lines.size()));
}
