#pragma once
// How text of a font of default quality looks, as a desktop draws it: a face that carries its own
// bitmap strike for the size is drawn from that strike, pixel for pixel, as its makers drew it
// (a Song face at 12 pixels); any other size or face is smoothed (grey levels, no colour
// fringes). Buttons and the window's controls draw through this, so that all text looks alike.
#include <QFont>

namespace orvello::raster {

// True when the face the font resolves to has an embedded bitmap strike of the given pixel
// height.
bool hasBitmapStrike(const QFont& font, int pixelSize);

// The font with the style strategy of default quality for its pixel size (a font given in points
// is taken at 96 dots per inch): no smoothing where the face has a strike for that size, else
// grey-level smoothing.
QFont withDefaultQuality(QFont font);

}  // namespace orvello::raster
