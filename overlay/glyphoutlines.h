#pragma once
// Text too large for Qt's glyph images is drawn by Qt as filled outlines, and Qt reads those
// outlines through a FreeType face it shares, per thread, among every size of the font. That face
// keeps the sub-pixel offset of the last glyph image rendered from it, at any size, and shifts
// the next outline by it: the same stamp came out a few levels different at its glyph edges
// depending on what was drawn before it in that thread. Here the outlines are read with FreeType
// from a face of our own that nothing else touches, so they depend only on the font and the
// glyph, and are filled the way Qt fills them.
#include <QGlyphRun>
#include <QPainterPath>
#include <QPointF>
#include <optional>

class QPainter;

namespace orvello {

// True when Qt would draw run as outlines rather than glyph images (its size is above Qt's glyph
// image limit).
bool drawnAsOutlines(const QGlyphRun& run);

// The outlines of run with its glyph positions taken from origin, as one path in canvas pixels.
// stretch is the horizontal stretch of the QFont the run was laid out in (0 counts as 100).
// Nothing when the run's face cannot be read this way (a face without outline tables, a variable
// face): the caller then draws the run as Qt does.
std::optional<QPainterPath> glyphRunOutlines(const QGlyphRun& run, QPointF origin, int stretch);

// Draws run at origin in the painter's pen colour: from our outlines when Qt would draw outlines,
// else through Qt's glyph images, which depend only on the glyph and its position.
void drawStampGlyphRun(QPainter& painter, const QGlyphRun& run, QPointF origin, int stretch);

}  // namespace orvello
