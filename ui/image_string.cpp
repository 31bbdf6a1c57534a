#include "ui/image_string.h"

#include <QStringList>

#include <algorithm>

namespace {

bool IsQuote(QChar c)
{
    return c == QLatin1Char('\'') || c == QLatin1Char('"');
}

// No picture or control comes near this; keeping numbers within it keeps
// the rectangle arithmetic of drawing clear of overflow.
constexpr int kLargestEdge = 1 << 20;

// "l,t,r,b" with right and bottom exclusive; nothing unless four numbers.
std::optional<QRect> ParseEdges(const QString& value)
{
    const QStringList parts = value.split(QLatin1Char(','));
    if (parts.size() != 4)
        return std::nullopt;
    int edges[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        edges[i] = std::clamp(parts[i].trimmed().toInt(&ok), -kLargestEdge, kLargestEdge);
        if (!ok)
            return std::nullopt;
    }
    return QRect(QPoint(edges[0], edges[1]), QPoint(edges[2] - 1, edges[3] - 1));
}

std::optional<QRgb> ParseMask(QString value)
{
    value = value.trimmed();
    if (value.startsWith(QLatin1Char('#')))
        value.remove(0, 1);
    else if (value.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value.remove(0, 2);
    bool ok = false;
    const uint rgb = value.toUInt(&ok, 16);
    if (!ok)
        return std::nullopt;
    return 0xFF000000u | (rgb & 0xFFFFFFu);
}

bool IsTrue(const QString& value)
{
    return value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

void ApplyKey(TImageString& image, const QString& key, const QString& value)
{
    if (key == QLatin1String("file") || key == QLatin1String("res")) {
        image.file = value;
    } else if (key == QLatin1String("restype")) {
        image.resType = value;
    } else if (key == QLatin1String("dest")) {
        if (auto rect = ParseEdges(value))
            image.dest = rect;
    } else if (key == QLatin1String("source")) {
        if (auto rect = ParseEdges(value))
            image.source = rect;
    } else if (key == QLatin1String("corner")) {
        if (auto rect = ParseEdges(value))
            image.corner = QMargins(rect->left(), rect->top(), rect->right() + 1, rect->bottom() + 1);
    } else if (key == QLatin1String("mask")) {
        if (auto mask = ParseMask(value))
            image.mask = mask;
    } else if (key == QLatin1String("fade")) {
        bool ok = false;
        const int fade = value.trimmed().toInt(&ok);
        if (ok)
            image.fade = std::clamp(fade, 0, kOpaqueFade);
    } else if (key == QLatin1String("hole")) {
        image.hole = IsTrue(value);
    } else if (key == QLatin1String("xtiled")) {
        image.xTiled = IsTrue(value);
    } else if (key == QLatin1String("ytiled")) {
        image.yTiled = IsTrue(value);
    } else if (key == QLatin1String("hsl")) {
        image.hsl = IsTrue(value);
    }
}

// key='value' pairs; parsing stops at the first malformed pair, keeping
// the pairs before it.
void ApplyPairs(TImageString& image, const QString& text)
{
    qsizetype at = 0;
    const qsizetype end = text.size();
    while (at < end) {
        while (at < end && text[at].isSpace())
            ++at;
        const qsizetype equals = text.indexOf(QLatin1Char('='), at);
        if (at >= end || equals < 0 || equals + 1 >= end || !IsQuote(text[equals + 1]))
            return;
        const QString key = text.mid(at, equals - at).trimmed().toLower();
        const QChar quote = text[equals + 1];
        const qsizetype close = text.indexOf(quote, equals + 2);
        if (close < 0)
            return;
        ApplyKey(image, key, text.mid(equals + 2, close - equals - 2));
        at = close + 1;
    }
}

bool HasPairs(const QString& text)
{
    return text.contains(QLatin1String("='")) || text.contains(QLatin1String("=\""));
}

void Apply(TImageString& image, const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return;
    if (HasPairs(trimmed))
        ApplyPairs(image, trimmed);
    else
        image.file = trimmed;
}

}  // namespace

TImageString ParseImageString(const QString& text, const QString& modifier)
{
    TImageString image;
    Apply(image, text);
    Apply(image, modifier);
    return image;
}

QString ComposeImageString(const QString& image, const QString& modifier)
{
    const QString trimmed = image.trimmed();
    const QString base = HasPairs(trimmed) ? trimmed : QStringLiteral("file='%1'").arg(trimmed);
    return base + QLatin1Char(' ') + modifier;
}

QString SourceModifier(const QRect& source)
{
    return QStringLiteral("source='%1,%2,%3,%4'")
        .arg(source.left())
        .arg(source.top())
        .arg(source.right() + 1)
        .arg(source.bottom() + 1);
}
