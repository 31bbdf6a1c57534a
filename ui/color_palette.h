#pragma once
// CColorPaletteUI: a hue/saturation field over a brightness bar. Picking a
// colour with the mouse raises "colorchanged" (wParam = ARGB) when the
// button is released; SetSelectColor moves the marker without notifying.
// Layouts name it "ColorPalette" or "CColorPaletteUI".

#include <QColor>
#include <QWidget>

class CColorPaletteUI : public QWidget {
    Q_OBJECT
public:
    explicit CColorPaletteUI(QWidget* parent = nullptr);

    void SetSelectColor(QRgb argb);
    QRgb GetSelectColor() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QRect FieldRect() const;
    QRect BarRect() const;
    void PickAt(QPoint point);

    int m_hue = 0;          // 0..359
    int m_saturation = 255;  // 0..255
    int m_value = 255;       // 0..255
    bool m_picking = false;
    bool m_pickingBar = false;
};
