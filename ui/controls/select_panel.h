#pragma once
// CSelectPanelUI: the panel that holds a device picture's key buttons and
// lets the user frame some of them with the mouse. A drag that starts on
// the panel (not on a key) marks every visible CDeviceKeyButtonUI inside
// it whose rectangle meets the dragged one, clears the others' marks, and
// raises "click_select_end" when the button is released. A click without
// movement changes nothing. The frame itself is not drawn.

#include <QPoint>
#include <QRect>
#include <QWidget>

class CSelectPanelUI : public QWidget {
    Q_OBJECT
public:
    explicit CSelectPanelUI(QWidget* parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void MarkFramedKeys();

    bool m_pressed = false;
    bool m_dragging = false;
    QPoint m_start;
    QPoint m_current;
    QRect m_selectRect;  // both corners included, in panel coordinates
};

// The rectangle a drag from `from` to `to` spans, in any direction.
QRect SpannedRect(QPoint from, QPoint to);
