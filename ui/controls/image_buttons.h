#pragma once
// Buttons that draw an image string over their own look.
//
// CHandImgButtonUI: a button with a picture ("handimage"). Raises "msenter"
// and "msleave" as the mouse comes and goes, "click" as any button.
// "deletenormalimage" and "deletehotimage" are accepted; the delete mark
// they would draw is not offered.
//
// CHandImgSelectButtonUI: a window onto a picture larger than the button
// that the user pans by dragging ("handimage", "cursor"). A picture that
// fits the button is shown whole and does not pan. It raises no "click".
//
// CRedioMacroButtonUI: the record button. Its record image ("redioimage")
// is drawn over the button; while it blinks, the image fades between 80
// and 255 in steps of 20 every 50 ms.

#include "ui/controls/control_base.h"

#include <QPushButton>
#include <QRect>
#include <QSize>
#include <QTimer>

#include <optional>

class CHandImgButtonUI : public CAttributedUI<QPushButton> {
    Q_OBJECT
public:
    explicit CHandImgButtonUI(QWidget* parent = nullptr);

    void SetAttribute(const QString& name, const QString& value) override;
    QString GetHandImage() const { return m_handImage; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QString m_handImage;
};

class CHandImgSelectButtonUI : public CAttributedUI<QPushButton> {
    Q_OBJECT
public:
    explicit CHandImgSelectButtonUI(QWidget* parent = nullptr);

    void SetAttribute(const QString& name, const QString& value) override;
    // The image string drawn: the file, with the source window while it pans.
    QString GetDrawnImage() const;
    QRect GetSourceWindow() const { return m_window; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void SetHandImage(const QString& file);
    void FitWindow();
    bool Pans() const;

    QString m_file;
    QSize m_imageSize;
    QRect m_window;  // in image pixels
    QPoint m_lastPoint;
    bool m_dragging = false;
};

// The source window after the mouse moved by delta: the picture follows the
// mouse, so the window moves the other way, always inside the picture.
QRect PanSourceWindow(const QRect& window, QPoint delta, const QSize& image);

// The cursor a "cursor" attribute names; nothing for an unknown name.
std::optional<Qt::CursorShape> CursorByName(const QString& name);

struct TBlinkFade {
    int level = 255;
    bool rising = false;
};

// One blink step: 20 up to 255, then 20 down to 80, and again.
TBlinkFade NextBlinkFade(TBlinkFade fade);

class CRedioMacroButtonUI : public CAttributedUI<QPushButton> {
    Q_OBJECT
public:
    explicit CRedioMacroButtonUI(QWidget* parent = nullptr);

    void SetAttribute(const QString& name, const QString& value) override;
    // Starts or stops blinking; a stopped button shows its image at full level.
    void SetKeepBlinking(bool blinking);
    bool IsKeepBlinking() const { return m_keepBlinking; }
    int GetFadeLevel() const { return m_fade.level; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void OnBlinkTimer();

    QString m_recordImage;
    TBlinkFade m_fade;
    bool m_keepBlinking = false;
    QTimer m_blinkTimer;
};
