#include "ui/controls/chart_view.h"

#include "ui/dpi.h"
#include "ui/font_table.h"
#include "ui/notify.h"
#include "ui/render_engine.h"
#include "ui/window_impl_base.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr int kMargin = 5;
constexpr int kLegendWidth = 100;
constexpr int kLegendSquare = 18;
constexpr int kLegendRowPitch = 22;
constexpr int kLegendGap = 5;
constexpr int kLabelBand = 25;
constexpr int kQtAngleUnit = 16;

constexpr std::array<QRgb, 18> kSliceColors = {
    qRgb(63, 150, 245),  qRgb(255, 90, 1),   qRgb(106, 244, 192), qRgb(245, 234, 106), qRgb(252, 123, 151),
    qRgb(162, 245, 63),  qRgb(157, 144, 252), qRgb(210, 144, 252), qRgb(127, 176, 203), qRgb(244, 196, 113),
    qRgb(162, 194, 133), qRgb(189, 23, 23),  qRgb(189, 23, 179),  qRgb(97, 23, 189),   qRgb(23, 43, 189),
    qRgb(18, 136, 76),   qRgb(136, 121, 18), qRgb(136, 38, 18),
};

double Share(double value)
{
    return std::isfinite(value) && value > 0 ? value : 0;
}

int ParseInt(const QString& value, int fallback)
{
    bool ok = false;
    const int number = value.trimmed().toInt(&ok);
    return ok ? number : fallback;
}

}  // namespace

QColor ChartSliceColor(size_t index)
{
    return QColor::fromRgb(kSliceColors[index % kSliceColors.size()]);
}

std::vector<TPieSlice> PieSlices(const std::vector<TChartItem>& items)
{
    double total = 0;
    for (const TChartItem& item : items)
        total += Share(item.value);
    if (!(total > 0) || !std::isfinite(total))
        return {};
    std::vector<TPieSlice> slices;
    double start = 0;
    for (const TChartItem& item : items) {
        const double sweep = Share(item.value) / total * 360.0;
        slices.push_back({start, sweep});
        start += sweep;
    }
    return slices;
}

std::vector<QRect> HistogramBars(const QRect& area, const std::vector<TChartItem>& items, int pillarWidth)
{
    double largest = 0;
    for (const TChartItem& item : items)
        largest = std::max(largest, Share(item.value));
    if (pillarWidth <= 0 || !(largest > 0) || !std::isfinite(largest) || area.isEmpty())
        return {};
    const int gap = 2 * (area.width() / pillarWidth);
    const int barWidth = std::min(pillarWidth, area.width());
    std::vector<QRect> bars;
    for (int x = area.left() + gap; bars.size() < items.size() && x <= area.right(); x += barWidth + gap) {
        const int height = static_cast<int>(Share(items[bars.size()].value) / largest * area.height());
        bars.emplace_back(x, area.bottom() - height + 1, barWidth, height);
    }
    return bars;
}

CChartViewUI::CChartViewUI(QWidget* parent) : CAttributedUI<QWidget>(parent) {}

void CChartViewUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("view")) {
        if (value == QLatin1String("pie"))
            m_view = View::Pie;
        else if (value == QLatin1String("histpgram") || value == QLatin1String("histogram"))
            m_view = View::Histogram;
    } else if (name == QLatin1String("shadowimage")) {
        m_shadowImage = value;
    } else if (name == QLatin1String("shadowimageheight")) {
        m_shadowImageHeight = std::max(0, ParseInt(value, m_shadowImageHeight));
    } else if (name == QLatin1String("pillarimage")) {
        m_pillarImage = value;
    } else if (name == QLatin1String("pillarimagewidth")) {
        m_pillarImageWidth = std::max(0, ParseInt(value, m_pillarImageWidth));
    } else if (name == QLatin1String("showtext")) {
        m_showText = IsTrueAttribute(value);
    } else if (name == QLatin1String("showhtml")) {
        m_showHtml = IsTrueAttribute(value);
    } else if (name == QLatin1String("font")) {
        m_font = ParseInt(value, m_font);
    } else {
        return;
    }
    update();
}

void CChartViewUI::AddItem(const QString& name, double value)
{
    m_items.push_back({name, value});
    update();
}

void CChartViewUI::RemoveAllItems()
{
    m_items.clear();
    update();
}

void CChartViewUI::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_view == View::Pie)
        PaintPie(painter);
    else
        PaintHistogram(painter);
}

QFont CChartViewUI::NameFont() const
{
    if (m_font < 0)
        return font();
    const WindowImplBase* window = OwnerWindow(this);
    return CFontTable::GetInstance().GetFont(m_font, window ? window->GetDPI() : kDefaultDpi);
}

void CChartViewUI::DrawName(QPainter& painter, const QRect& rect, const QString& name, int flags)
{
    const QRgb color = palette().color(foregroundRole()).rgba();
    if (m_showHtml)
        CRenderEngine::DrawHtmlText(painter, rect, name, color, NameFont());
    else
        CRenderEngine::DrawText(painter, rect, name, color, NameFont(), flags | Qt::TextSingleLine);
}

void CChartViewUI::PaintPie(QPainter& painter)
{
    const std::vector<TPieSlice> slices = PieSlices(m_items);
    const int legendWidth = m_showText ? kLegendWidth : 0;
    const int diameter = std::min(width() - legendWidth - 2 * kMargin, height() - 2 * kMargin);
    if (slices.empty() || diameter <= 0)
        return;
    const QRect pie(kMargin + (width() - legendWidth - 2 * kMargin - diameter) / 2,
                    kMargin + (height() - 2 * kMargin - diameter) / 2, diameter, diameter);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(30, 30, 30, 30));
    painter.drawEllipse(pie.adjusted(-4, -4, 4, 4));
    painter.setBrush(QColor(100, 100, 100, 100));
    painter.drawEllipse(pie.adjusted(-1, -1, 1, 1));
    for (size_t i = 0; i < slices.size(); ++i) {
        painter.setBrush(ChartSliceColor(i));
        painter.drawPie(pie, qRound(-slices[i].startDegrees * kQtAngleUnit),
                        qRound(-slices[i].sweepDegrees * kQtAngleUnit));
    }
    if (!m_showText)
        return;
    const int rows = static_cast<int>(m_items.size());
    int y = std::max(kMargin, (height() - rows * kLegendRowPitch) / 2);
    const int squareX = pie.right() + 1 + 2 * kMargin;
    for (size_t i = 0; i < m_items.size(); ++i, y += kLegendRowPitch) {
        painter.fillRect(QRect(squareX, y, kLegendSquare, kLegendSquare), ChartSliceColor(i));
        const int textX = squareX + kLegendSquare + kLegendGap;
        DrawName(painter, QRect(textX, y, width() - textX, kLegendSquare), m_items[i].name,
                 Qt::AlignLeft | Qt::AlignVCenter);
    }
}

void CChartViewUI::PaintHistogram(QPainter& painter)
{
    const int band = m_showText ? kLabelBand : 0;
    const QRect shadow(0, height() - band - m_shadowImageHeight, width(), m_shadowImageHeight);
    if (!m_shadowImage.isEmpty() && !shadow.isEmpty() && !CRenderEngine::DrawImageString(painter, shadow, m_shadowImage))
        m_shadowImage.clear();
    const QRect area(0, 0, width(), height() - band - m_shadowImageHeight);
    const std::vector<QRect> bars = HistogramBars(area, m_items, m_pillarImageWidth);
    for (size_t i = 0; i < bars.size(); ++i) {
        if (!m_pillarImage.isEmpty() && !CRenderEngine::DrawImageString(painter, bars[i], m_pillarImage))
            m_pillarImage.clear();
        if (m_pillarImage.isEmpty())
            painter.fillRect(bars[i], palette().color(QPalette::Highlight));
        if (m_showText) {
            const QRect label(bars[i].center().x() - kLegendWidth / 2, height() - band, kLegendWidth, band);
            DrawName(painter, label, m_items[i].name, Qt::AlignHCenter | Qt::AlignVCenter);
        }
    }
}
