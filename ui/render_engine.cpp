#include "ui/render_engine.h"

#include "ui/image_string.h"
#include "ui/resource_manager.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPainter>
#include <QPixmapCache>
#include <QRegion>
#include <qdrawutil.h>
#include <QTextDocument>

#include <algorithm>

void CRenderEngine::DrawRect(QPainter& painter, const QRect& rect, int size, QRgb color)
{
    if (size <= 0 || rect.isEmpty())
        return;
    const QColor frame = QColor::fromRgba(color);
    const int band = std::min({size, rect.width(), rect.height()});
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), band), frame);
    painter.fillRect(QRect(rect.left(), rect.bottom() - band + 1, rect.width(), band), frame);
    painter.fillRect(QRect(rect.left(), rect.top(), band, rect.height()), frame);
    painter.fillRect(QRect(rect.right() - band + 1, rect.top(), band, rect.height()), frame);
}

void CRenderEngine::DrawText(QPainter& painter, const QRect& rect, const QString& text, QRgb color,
                             const QFont& font, int flags)
{
    painter.save();
    painter.setFont(font);
    painter.setPen(QColor::fromRgba(color));
    painter.drawText(rect, flags, text);
    painter.restore();
}

void CRenderEngine::DrawHtmlText(QPainter& painter, const QRect& rect, const QString& html, QRgb color,
                                 const QFont& font)
{
    QTextDocument document;
    document.setDefaultFont(font);
    document.setDocumentMargin(0);
    document.setTextWidth(rect.width());
    document.setHtml(html);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, QColor::fromRgba(color));
    context.clip = QRectF(0, 0, rect.width(), rect.height());
    painter.save();
    painter.translate(rect.topLeft());
    painter.setClipRect(context.clip);
    document.documentLayout()->draw(&painter, context);
    painter.restore();
}

namespace {

QPixmap LoadPixmap(const QString& path)
{
    QPixmap pixmap;
    if (!QPixmapCache::find(path, &pixmap) && pixmap.load(path))
        QPixmapCache::insert(path, pixmap);
    return pixmap;
}

QImage Prepared(const QPixmap& pixmap, const TImageString& image, QRgb tint, bool tinted)
{
    QImage picture = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    if (image.mask) {
        const QRgb masked = *image.mask & RGB_MASK;
        for (int y = 0; y < picture.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
            std::replace_if(line, line + picture.width(), [masked](QRgb pixel) { return (pixel & RGB_MASK) == masked; },
                            QRgb(0));
        }
    }
    if (tinted) {
        QPainter tintPainter(&picture);
        tintPainter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        tintPainter.fillRect(picture.rect(), QColor::fromRgb(tint));
    }
    return picture;
}

}  // namespace

bool CRenderEngine::DrawImageString(QPainter& painter, const QRect& controlRect, const QString& text, QRgb color,
                                    int level, bool tinted)
{
    const TImageString image = ParseImageString(text);
    const QPixmap pixmap = LoadPixmap(CResourceManager::GetInstance().FindFile(image.file));
    if (pixmap.isNull())
        return false;
    const QRect source = image.source && !image.source->isEmpty() ? *image.source & pixmap.rect() : pixmap.rect();
    const QRect dest = (image.dest ? image.dest->translated(controlRect.topLeft()) : controlRect) & controlRect;
    if (source.isEmpty() || dest.isEmpty())
        return true;

    painter.save();
    qreal opacity = painter.opacity() * image.fade / kOpaqueFade;
    if (tinted)
        opacity = opacity * std::clamp(level, 0, kOpaqueFade) / kOpaqueFade;
    painter.setOpacity(opacity);
    if (image.hole)
        painter.setClipRegion(QRegion(dest) - QRegion(dest.marginsRemoved(image.corner)), Qt::IntersectClip);
    const bool plain = !image.mask && !tinted;
    const QPixmap drawn = plain ? pixmap : QPixmap::fromImage(Prepared(pixmap, image, color, tinted));
    const QTileRules rules(image.xTiled ? Qt::RepeatTile : Qt::StretchTile,
                           image.yTiled ? Qt::RepeatTile : Qt::StretchTile);
    qDrawBorderPixmap(&painter, dest, image.corner, drawn, source, image.corner, rules);
    painter.restore();
    return true;
}
