#pragma once
// Drawing helpers for the paintEvent of custom controls. Colours are ARGB.

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QPainter;

class CRenderEngine {
public:
    // A frame of `size` pixels inside rect.
    static void DrawRect(QPainter& painter, const QRect& rect, int size, QRgb color);
    // flags: Qt::Alignment and Qt::TextFlag values.
    static void DrawText(QPainter& painter, const QRect& rect, const QString& text, QRgb color,
                         const QFont& font, int flags);
    // Rich text (Qt's HTML subset), wrapped to rect and clipped to it.
    static void DrawHtmlText(QPainter& painter, const QRect& rect, const QString& html, QRgb color,
                             const QFont& font);
    // An image string (image_string.h) drawn in a control that covers
    // controlRect: over the whole control unless the string gives "dest",
    // clipped to the control. tinted: its pixels take `color`, keeping
    // their own transparency, at `level` (0 invisible .. 255 full). False
    // when the image file is missing or unreadable.
    static bool DrawImageString(QPainter& painter, const QRect& controlRect, const QString& image,
                                QRgb color = 0, int level = 255, bool tinted = false);
};
