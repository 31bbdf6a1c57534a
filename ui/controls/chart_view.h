#pragma once
// CChartViewUI: the owner's named values as a pie with a legend, or as a
// histogram of image bars with their names below.
//
// Layout attributes: "view" ("pie", "histpgram" or "histogram"),
// "shadowimage" and "shadowimageheight" (the histogram's base),
// "pillarimage" and "pillarimagewidth" (its bars), "showtext" and
// "showhtml" ("true" or not), "font" (a font id of the font table).
// Without a pillar image the bars are filled with the highlight colour.
// Nothing is drawn when there is nothing to scale by: no positive value
// or, for the histogram, no bar width.

#include "ui/controls/control_base.h"

#include <QColor>
#include <QRect>
#include <QString>
#include <QWidget>

#include <vector>

struct TChartItem {
    QString name;
    double value = 0;
};

struct TPieSlice {
    double startDegrees;  // clockwise from three o'clock
    double sweepDegrees;
};

class CChartViewUI : public CAttributedUI<QWidget> {
    Q_OBJECT
public:
    enum class View { Pie, Histogram };

    explicit CChartViewUI(QWidget* parent = nullptr);

    void SetAttribute(const QString& name, const QString& value) override;

    void AddItem(const QString& name, double value);
    void RemoveAllItems();
    const std::vector<TChartItem>& GetItems() const { return m_items; }
    View GetView() const { return m_view; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void PaintPie(QPainter& painter);
    void PaintHistogram(QPainter& painter);
    void DrawName(QPainter& painter, const QRect& rect, const QString& name, int flags);
    QFont NameFont() const;

    std::vector<TChartItem> m_items;
    View m_view = View::Pie;
    QString m_shadowImage;
    int m_shadowImageHeight = 0;
    QString m_pillarImage;
    int m_pillarImageWidth = 0;
    bool m_showText = true;
    bool m_showHtml = false;
    int m_font = -1;
};

// The slices of the values in order, the first from 0 degrees. A value
// that is not a positive number gets no share; no slices when none is.
std::vector<TPieSlice> PieSlices(const std::vector<TChartItem>& items);

// One bar per item in area, bottoms on its bottom edge, heights in
// proportion to the largest value, bars pillarWidth wide (at most the
// area's width) and 2 * (width / pillarWidth) apart, up to the first that
// would start past the right edge. None without a width or a positive value.
std::vector<QRect> HistogramBars(const QRect& area, const std::vector<TChartItem>& items, int pillarWidth);

// The fill colour of the n-th slice.
QColor ChartSliceColor(size_t index);
