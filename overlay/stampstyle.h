#pragma once
// How a stamp stands out from the photo: plain text, a dark outline around each glyph, a soft
// offset shadow, or a rounded semi-transparent dark plate behind the text. Every measure follows
// the text size, so a style looks the same on a phone photo and on a 50-megapixel one, and every
// pixel follows from the text's outlines alone, so a copy has the same bytes every time.
#include "app/settings.h"

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QString>
#include <optional>

class QPainter;

namespace orvello {

// StampStyle, its names and their parsing live with the settings (encodeStampStyle,
// decodeStampStyle), which store it.

// The orange of the date that film cameras' date backs print, as a colour value
// (red + 256 × green + 65536 × blue).
inline constexpr qint32 kFilmDateBackColor = 255 + 256 * 138 + 65536 * 24;

// How far past the text's ink a style paints, in pixels, for text of em pixels: the halo's
// width, the shadow's offset and blur, the plate's padding. Plain reaches nowhere.
double styleReach(StampStyle style, double em);

// Everything the style and the text can paint: the text's ink rectangle (with the text cell, for
// the plate, whose box follows the line rather than the glyphs) grown by the reach.
QRectF styleExtent(StampStyle style, const QRectF& ink, const QRectF& cell, double em);

// What a style paints under one item, made once when the item is laid out and painted as often
// as the canvas needs it (a lossless copy paints it piece by piece).
struct StyleLayer {
    StampStyle style = StampStyle::Plain;
    QPainterPath shape;  // the plate, in canvas pixels
    QImage image;        // the halo (outline) or the blurred shadow, premultiplied, at imageAt
    QPoint imageAt;
};

// The layer of style for text whose outlines are textPath and whose line box is cell, made as far
// as it can show on canvas.
StyleLayer makeStyleLayer(StampStyle style, const QPainterPath& textPath, const QRectF& cell,
                          double em, const QRect& canvas);

// Paints the layer; the caller paints the text on top.
void paintStyleLayer(QPainter& painter, const StyleLayer& layer);

}  // namespace orvello
