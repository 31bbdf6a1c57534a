#include "ui/render_engine.h"

#include "ui/resource_manager.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPainter>
#include <QTextDocument>

#include <algorithm>

static constexpr int kFullLevel = 255;

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

bool CRenderEngine::DrawImageString(QPainter& painter, const QRect& rect, const QString& image, QRgb color,
                                    int level, bool tinted)
{
    QImage picture(CResourceManager::GetInstance().FindFile(image));
    if (picture.isNull())
        return false;
    painter.save();
    if (tinted) {
        picture = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QPainter tint(&picture);
        tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
        tint.fillRect(picture.rect(), QColor::fromRgb(color));
        tint.end();
        painter.setOpacity(painter.opacity() * std::clamp(level, 0, kFullLevel) / kFullLevel);
    }
    painter.drawImage(rect, picture);
    painter.restore();
    return true;
}
