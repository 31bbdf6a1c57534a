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
#include <optional>

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

QPixmap Prepared(const QPixmap& pixmap, const TImageString& image, std::optional<QRgb> tint)
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
    if (tint) {
        QPainter tintPainter(&picture);
        tintPainter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        tintPainter.fillRect(picture.rect(), QColor::fromRgb(*tint));
    }
    return QPixmap::fromImage(picture);
}

// The picture of an image string's file with its mask and tint applied.
// Pictures are kept in Qt's pixmap cache by folder, file, mask and tint:
// key panels repaint many keys at each lighting step, and finding, loading
// and tinting the file every time would cost more than drawing it.
QPixmap PreparedPixmap(const TImageString& image, std::optional<QRgb> tint)
{
    const CResourceManager& resources = CResourceManager::GetInstance();
    const QString key = QStringLiteral("kestrova|%1|%2|%3|%4")
                            .arg(resources.GetResourcePath(), image.file)
                            .arg(image.mask ? qint64(*image.mask) : -1)
                            .arg(tint ? qint64(*tint & RGB_MASK) : -1);
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    if (!pixmap.load(resources.FindFile(image.file)))
        return {};
    if (image.mask || tint)
        pixmap = Prepared(pixmap, image, tint);
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

}  // namespace

bool CRenderEngine::DrawImageString(QPainter& painter, const QRect& controlRect, const QString& text, QRgb color,
                                    int level, bool tinted)
{
    const TImageString image = ParseImageString(text);
    const QPixmap pixmap = PreparedPixmap(image, tinted ? std::optional<QRgb>(color) : std::nullopt);
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
    const QTileRules rules(image.xTiled ? Qt::RepeatTile : Qt::StretchTile,
                           image.yTiled ? Qt::RepeatTile : Qt::StretchTile);
    qDrawBorderPixmap(&painter, dest, image.corner, pixmap, source, image.corner, rules);
    painter.restore();
    return true;
}
