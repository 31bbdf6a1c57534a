#include "ui/controls/image_buttons.h"

#include "ui/image_string.h"
#include "ui/notify.h"
#include "ui/render_engine.h"
#include "ui/resource_manager.h"

#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <array>
#include <utility>

namespace {

constexpr int kBlinkIntervalMs = 50;
constexpr int kBlinkStep = 20;
constexpr int kBlinkLowest = 80;
constexpr int kBlinkHighest = 255;

void NotifyHover(QPushButton* button, const char* type)
{
    if (button->isEnabled())
        SendNotify(button, QString::fromLatin1(type));
    button->update();
}

// One axis of the pan: the window's start moved against the mouse, kept
// between 0 and the last start where the window still fits the picture.
int PannedStart(int start, int delta, int windowLength, int imageLength)
{
    return std::clamp(start - delta, 0, std::max(0, imageLength - windowLength));
}

}  // namespace

CHandImgButtonUI::CHandImgButtonUI(QWidget* parent) : CAttributedUI<QPushButton>(parent) {}

void CHandImgButtonUI::SetAttribute(const QString& name, const QString& value)
{
    if (name != QLatin1String("handimage"))
        return;
    m_handImage = value;
    update();
}

void CHandImgButtonUI::paintEvent(QPaintEvent* event)
{
    QPushButton::paintEvent(event);
    QPainter painter(this);
    CRenderEngine::DrawImageString(painter, rect(), m_handImage);
}

void CHandImgButtonUI::enterEvent(QEnterEvent* event)
{
    QPushButton::enterEvent(event);
    NotifyHover(this, "msenter");
}

void CHandImgButtonUI::leaveEvent(QEvent* event)
{
    QPushButton::leaveEvent(event);
    NotifyHover(this, "msleave");
}

QRect PanSourceWindow(const QRect& window, QPoint delta, const QSize& image)
{
    return QRect(PannedStart(window.left(), delta.x(), window.width(), image.width()),
                 PannedStart(window.top(), delta.y(), window.height(), image.height()), window.width(),
                 window.height());
}

std::optional<Qt::CursorShape> CursorByName(const QString& name)
{
    static const std::array<std::pair<const char*, Qt::CursorShape>, 14> kCursors = {{
        {"arrow", Qt::ArrowCursor},
        {"ibeam", Qt::IBeamCursor},
        {"wait", Qt::WaitCursor},
        {"cross", Qt::CrossCursor},
        {"uparrow", Qt::UpArrowCursor},
        {"size", Qt::SizeAllCursor},
        {"icon", Qt::ArrowCursor},
        {"sizenwse", Qt::SizeFDiagCursor},
        {"sizenesw", Qt::SizeBDiagCursor},
        {"sizewe", Qt::SizeHorCursor},
        {"sizens", Qt::SizeVerCursor},
        {"sizeall", Qt::SizeAllCursor},
        {"no", Qt::ForbiddenCursor},
        {"hand", Qt::PointingHandCursor},
    }};
    for (const auto& [cursorName, shape] : kCursors)
        if (name.compare(QLatin1String(cursorName), Qt::CaseInsensitive) == 0)
            return shape;
    return std::nullopt;
}

CHandImgSelectButtonUI::CHandImgSelectButtonUI(QWidget* parent) : CAttributedUI<QPushButton>(parent) {}

void CHandImgSelectButtonUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("handimage")) {
        SetHandImage(value);
    } else if (name == QLatin1String("cursor")) {
        if (const auto shape = CursorByName(value))
            setCursor(*shape);
    }
}

void CHandImgSelectButtonUI::SetHandImage(const QString& file)
{
    m_file = file;
    m_imageSize = QImageReader(CResourceManager::GetInstance().FindFile(file)).size();
    m_window = QRect(QPoint(0, 0), size());
    FitWindow();
}

bool CHandImgSelectButtonUI::Pans() const
{
    return m_imageSize.isValid() && (width() < m_imageSize.width() || height() < m_imageSize.height());
}

// The window keeps the button's size and stays inside the picture.
void CHandImgSelectButtonUI::FitWindow()
{
    m_window = PanSourceWindow(QRect(m_window.topLeft(), size()), QPoint(0, 0), m_imageSize);
    update();
}

QString CHandImgSelectButtonUI::GetDrawnImage() const
{
    return Pans() ? ComposeImageString(m_file, SourceModifier(m_window)) : m_file;
}

void CHandImgSelectButtonUI::paintEvent(QPaintEvent* event)
{
    QPushButton::paintEvent(event);
    QPainter painter(this);
    CRenderEngine::DrawImageString(painter, rect(), GetDrawnImage());
}

void CHandImgSelectButtonUI::resizeEvent(QResizeEvent* event)
{
    QPushButton::resizeEvent(event);
    FitWindow();
}

void CHandImgSelectButtonUI::mousePressEvent(QMouseEvent* event)
{
    QPushButton::mousePressEvent(event);
    if (!isEnabled() || event->button() != Qt::LeftButton)
        return;
    m_lastPoint = event->position().toPoint();
    m_dragging = true;
}

void CHandImgSelectButtonUI::mouseMoveEvent(QMouseEvent* event)
{
    QPushButton::mouseMoveEvent(event);
    if (!m_dragging)
        return;
    const QPoint point = event->position().toPoint();
    if (Pans()) {
        m_window = PanSourceWindow(m_window, point - m_lastPoint, m_imageSize);
        update();
    }
    m_lastPoint = point;
}

// Releasing ends a pan; it is no click.
void CHandImgSelectButtonUI::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_dragging = false;
        setDown(false);
    }
    QPushButton::mouseReleaseEvent(event);
}

void CHandImgSelectButtonUI::enterEvent(QEnterEvent* event)
{
    QPushButton::enterEvent(event);
    NotifyHover(this, "msenter");
}

void CHandImgSelectButtonUI::leaveEvent(QEvent* event)
{
    QPushButton::leaveEvent(event);
    NotifyHover(this, "msleave");
}

TBlinkFade NextBlinkFade(TBlinkFade fade)
{
    if (fade.rising) {
        fade.level += kBlinkStep;
        if (fade.level >= kBlinkHighest)
            return {kBlinkHighest, false};
    } else {
        fade.level -= kBlinkStep;
        if (fade.level <= kBlinkLowest)
            return {kBlinkLowest, true};
    }
    return fade;
}

CRedioMacroButtonUI::CRedioMacroButtonUI(QWidget* parent) : CAttributedUI<QPushButton>(parent)
{
    m_blinkTimer.setSingleShot(true);
    m_blinkTimer.setInterval(kBlinkIntervalMs);
    connect(&m_blinkTimer, &QTimer::timeout, this, &CRedioMacroButtonUI::OnBlinkTimer);
}

void CRedioMacroButtonUI::SetAttribute(const QString& name, const QString& value)
{
    if (name != QLatin1String("redioimage"))
        return;
    m_recordImage = value;
    update();
}

void CRedioMacroButtonUI::SetKeepBlinking(bool blinking)
{
    m_keepBlinking = blinking;
    if (blinking) {
        if (!m_blinkTimer.isActive())
            m_blinkTimer.start();
        return;
    }
    m_blinkTimer.stop();
    m_fade = TBlinkFade{};
    update();
}

void CRedioMacroButtonUI::OnBlinkTimer()
{
    if (!m_recordImage.isEmpty()) {
        m_fade = NextBlinkFade(m_fade);
        update();
    }
    if (m_keepBlinking)
        m_blinkTimer.start();
}

void CRedioMacroButtonUI::paintEvent(QPaintEvent* event)
{
    QPushButton::paintEvent(event);
    if (m_recordImage.isEmpty())
        return;
    QPainter painter(this);
    CRenderEngine::DrawImageString(painter, rect(),
                                   ComposeImageString(m_recordImage, QStringLiteral("fade='%1'").arg(m_fade.level)));
}
