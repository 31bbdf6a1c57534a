#pragma once
// CWndUI: a place in a layout for a window made elsewhere. The hosted
// window is kept over the control's rectangle and shown only while the
// control is visible; it is moved without being activated or raised. A
// hosted child of the control's window is placed in its parent's
// coordinates, a top-level one on the screen. The control does not own it.

#include <QPointer>
#include <QWidget>

class CWndUI : public QWidget {
    Q_OBJECT
public:
    explicit CWndUI(QWidget* parent = nullptr);

    void Attach(QWidget* window);  // nullptr detaches
    QWidget* GetAttached() const { return m_window.data(); }

protected:
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Follow();

    QPointer<QWidget> m_window;
};
