#pragma once
// Image strings: how layouts and controls name one image to draw. Either a
// plain file name ("key.png") or blank-separated key='value' pairs:
//   file='key.png' source='0,0,40,40' dest='2,2,42,42' fade='128'
// Keys (without case): file or res (file name), restype, dest (the
// destination relative to the control), source (the part of the image),
// corner (edges kept unstretched) as left,top,right,bottom; mask (colour
// drawn transparent, hexadecimal with optional "#" or "0x"), fade (0..255),
// hole (corners only, no centre), xtiled, ytiled, hsl ("true").
// Unknown keys and malformed values are ignored; a later key overrides an
// earlier one.

#include <QColor>
#include <QMargins>
#include <QRect>
#include <QString>

#include <optional>

constexpr int kOpaqueFade = 255;

struct TImageString {
    QString file;
    QString resType;
    std::optional<QRect> dest;    // relative to the control; unset: the whole control
    std::optional<QRect> source;  // unset: the whole image
    QMargins corner;
    std::optional<QRgb> mask;
    int fade = kOpaqueFade;
    bool hole = false;
    bool xTiled = false;
    bool yTiled = false;
    bool hsl = false;

    bool operator==(const TImageString&) const = default;
};

// Parses text, then modifier over it.
TImageString ParseImageString(const QString& text, const QString& modifier = {});

// image with modifier pairs (e.g. "fade='80'") added after its own keys;
// a plain file name becomes "file='name'" first.
QString ComposeImageString(const QString& image, const QString& modifier);
// The "source='l,t,r,b'" modifier of a rectangle.
QString SourceModifier(const QRect& source);
