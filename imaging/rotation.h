#pragma once
// Quarter turns of a photo, pixel for pixel, keeping its pixel format.
#include <QImage>

namespace orvello {

// Counter-clockwise: source pixel (x, y) of a w × h image lands at (y, w − 1 − x).
QImage Rotate90(const QImage& source);
// Clockwise: source pixel (x, y) lands at (h − 1 − y, x).
QImage Rotate90R(const QImage& source);

}  // namespace orvello
