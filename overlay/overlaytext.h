#pragma once
// The overlay items laid out before they are painted: the glyphs that can show on the canvas and
// a rectangle that holds every pixel their ink can touch. The full redraw paints them; the
// incremental redraw also uses the rectangles to know what a change touches.
#include "overlay/overlay.h"

#include <QColor>
#include <QGlyphRun>
#include <QImage>
#include <QRect>
#include <QRegion>
#include <vector>

class QPainter;

namespace orvello {

struct PreparedText {
    struct Run {
        QGlyphRun glyphs;
        QPointF origin;
    };
    std::vector<Run> runs;  // in drawing order
    QRect inkRect;          // within the canvas, the style included; empty when nothing can show
    // What its pixels follow from, besides the colour and the canvas size.
    QString text;
    QFont font;
    QPointF topLeftTwips;
    StampStyle style = StampStyle::Plain;
    StyleLayer layer;  // what the style paints under the text
};

// The enabled items of input on a canvas: the date, then the title, in the shared colour.
struct PreparedOverlay {
    PreparedText date;
    PreparedText title;
    QColor color;
    bool empty() const { return date.runs.empty() && title.runs.empty(); }
};

// True when the item leaves the same pixels in both overlays (both prepared on canvases of one
// size): nothing drawn in either, or the same text, font, place, style and colour.
bool sameDrawing(const PreparedText& a, QColor colorA, const PreparedText& b, QColor colorB);

// One line of text with the top-left corner of its text cell at topLeftTwips, on canvas, in
// style.
PreparedText prepareText(const QImage& canvas, const QFont& font, const QString& text,
                         QPointF topLeftTwips, StampStyle style = StampStyle::Plain);
PreparedOverlay prepareOverlay(const QImage& canvas, const OverlayInput& input);

// Paints the items onto canvas, the date first so that the title lies on top. With a clip, only
// pixels inside it change, and each of them gets exactly the value the unclipped paint gives.
void paintOverlay(QImage& canvas, const PreparedOverlay& overlay, const QRegion& clip = {});

}  // namespace orvello
