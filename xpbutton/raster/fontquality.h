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
// grey-level smoothing. On a screen of deviceScale device pixels per pixel the glyphs are drawn
// at the size times that scale, and the strike must exist at that device size (a 12-pixel font on
// a screen at scale 2 is drawn 24 pixels high: no strike of 12 pixels doubled, but outlines).
QFont withDefaultQuality(QFont font, qreal deviceScale = 1);

}  // namespace orvello::raster
