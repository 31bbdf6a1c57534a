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
    // An image file (name or path through the skin folder) stretched over
    // rect. tinted: its pixels take `color`, keeping their own transparency,
    // at `level` (0 invisible .. 255 full). False when the image is missing.
    static bool DrawImageString(QPainter& painter, const QRect& rect, const QString& image, QRgb color,
                                int level, bool tinted);
};
