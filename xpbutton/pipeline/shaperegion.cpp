// The outline of the button: its window region with the trimmed corners, the clip of the round
// shapes, the bounds of the usable face, and the widening of narrow slanted buttons.
#include "xpbutton/xpbutton.h"

namespace orvello {

namespace {

using raster::Region;

// Which corner cuts a look takes on a square-cornered shape: single pixels (A left, B right) or
// small triangles (E left, C right).
struct CornerCuts {
    bool pixels = false;
    bool triangles = false;
};

CornerCuts cutsFor(int style, bool enabled)
{
    switch (style) {
    case 1: return {true, false};
    case 2:
    case 7: return {false, true};
    case 3: return {enabled, false};
    default: return {};
    }
}

}  // namespace

void XPButton::BuildShapeRegion()
{
    qint64 W = width();
    const qint64 H = height();
    textLeft_ = 0;
    textRight_ = int(W);
    Region region;
    if (clipRegion_) {
        if (bufferDC_) bufferDC_->selectClipRgn(std::nullopt);
        clipRegion_.reset();
    }
    const int shape = buttonShape_;
    if (shape >= 1 && shape <= 3) {
        // A 45-degree slant, as wide as the button is high plus one.
        const qint64 s = H + 1;
        if (W - s < 5) {
            // Grow in steps of 5 until the button is at least 5 pixels wider than the slant.
            const qint64 steps = (5 - (W - s) + 4) / 5;
            const qint64 wider = std::min<qint64>(W + 5 * steps, QWIDGETSIZE_MAX);
            drawingDelayed_ = true;
            resize(int(wider), height());
            W = width();
            textRight_ = int(W);
            drawingDelayed_ = false;
        }
        QList<QPoint> points = {QPoint(0, 0), QPoint(0, int(H + 1)), QPoint(int(W + 1), int(H + 1)),
                                QPoint(int(W + 1), 0)};
        if (shape == 1 || shape == 3) {
            points[1] = QPoint(int(s), int(H + 1));
            textLeft_ = int(s);
        }
        if (shape == 2 || shape == 3) {
            points[3] = QPoint(int(W - s + 1), 0);
            textRight_ = int(W - s);
        }
        region = Region::polygon(points);
    } else if (shape >= 4 && shape <= 6) {
        region = Region::ellipse(0, 0, int(W + 1), int(H + 1));
        const int k = shape == 6 ? 0 : 1;
        clipRegion_ = Region::ellipse(2 - k, 2 - k, int(W - 1 + k), int(H - 1 + k));
    } else {
        region = Region::rect(0, 0, int(W + 1), int(H + 1));
    }
    if (shape >= 0 && shape <= 3) {
        const CornerCuts cuts = cutsFor(buttonStyle_, isEnabled());
        const int w = int(W), h = int(H);
        const bool left = shape == 0 || shape == 2, right = shape == 0 || shape == 1;
        if (cuts.pixels && left) {
            // Style 3 keeps its top-left pixel.
            if (buttonStyle_ != 3) region = region.minus(Region::rect(0, 0, 1, 1));
            region = region.minus(Region::rect(0, h - 1, 1, h));
        }
        if (cuts.pixels && right) {
            if (buttonStyle_ != 3) region = region.minus(Region::rect(w - 1, h - 1, w, h));
            region = region.minus(Region::rect(w - 1, 0, w, 1));
        }
        if (cuts.triangles && left) {
            region = region.minus(Region::polygon({{0, 0}, {2, 0}, {0, 2}}));
            region = region.minus(Region::polygon({{0, h}, {3, h}, {0, h - 3}}));
        }
        if (cuts.triangles && right) {
            region = region.minus(Region::polygon({{w, 0}, {w - 2, 0}, {w, 2}}));
            region = region.minus(Region::polygon({{w, h}, {w - 3, h}, {w, h - 3}}));
        }
    }
    windowRegion_ = region;
    setMask(region.pixels());
    if (textRight_ == 0) textRight_ = int(W);
}

}  // namespace orvello
