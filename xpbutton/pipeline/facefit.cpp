// Keeping the caption and the picture readable on a rectangular button: the layout arithmetic can
// place a caption past the face, over the rings or the button's edge (a 12-pixel glyph beside a
// 16-pixel picture on a 25-pixel button ends at x = 26), and let caption and picture run into
// each other. Where that happens, both are moved, by as few pixels as possible, to where every
// inked pixel of the caption lies on the face inside the rings and no pixel of the caption
// touches one of the picture; where the layout's places already do that they are kept.
#include "xpbutton/raster/blit.h"
#include "xpbutton/raster/drawtext.h"
#include "xpbutton/xpbutton.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace orvello {

namespace {

// Inked pixels, relative to the top-left corner of the rectangle they are drawn in.
struct Ink {
    std::vector<QPoint> pixels;
    QRect box;  // their bounds (empty when there are none)
};

// image is 32 bits a pixel (RGB32 or ARGB32).
template <typename Inked>
Ink inkOf(const QImage& image, const Inked& inked, QPoint origin)
{
    Ink ink;
    const int width = image.width(), height = image.height();
    for (int y = 0; y < height; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x)
            if (inked(row[x])) ink.pixels.push_back(QPoint(x, y) - origin);
    }
    for (const QPoint& p : ink.pixels) ink.box |= QRect(p, QSize(1, 1));
    return ink;
}

bool inside(const QRect& box, QPoint at, const QRect& face)
{
    return box.isEmpty() || face.contains(box.translated(at), true);
}

// The face's pixels on or next to a pixel of the picture's ink moved by at.
struct Blocked {
    QRect face;
    std::vector<char> cells;

    Blocked(const QRect& f, const Ink& picture, QPoint at)
        : face(f), cells(size_t(f.width()) * size_t(f.height()), 0)
    {
        for (const QPoint& p : picture.pixels)
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const QPoint q = p + at + QPoint(dx, dy);
                    if (face.contains(q)) cells[index(q)] = 1;
                }
    }
    size_t index(QPoint q) const
    {
        return size_t(q.y() - face.top()) * size_t(face.width()) + size_t(q.x() - face.left());
    }
    // Whether ink moved by at, which lies on the face, stays clear of the picture.
    bool clear(const Ink& ink, QPoint at) const
    {
        for (const QPoint& p : ink.pixels)
            if (cells[index(p + at)]) return false;
        return true;
    }
};

// The range of shifts along one axis that bring [lo, hi] within [faceLo, faceHi], limited to
// reach around the start.
std::pair<int, int> shifts(int lo, int hi, int faceLo, int faceHi, int reach)
{
    return {std::max(faceLo - lo, -reach), std::min(faceHi - hi, reach)};
}

}  // namespace

QRect XPButton::faceInterior() const
{
    // Inside the three rings of the looks (the outer, middle and inner ring at 0, 1 and 2 pixels
    // from the edge).
    return raster::gdiRect(textLeft_ + 3, 3, textRight_ - 3, height() - 3);
}

void XPButton::fitContentOnFace()
{
    captionShift_ = pictureShift_ = QPoint();
    pressedShiftFits_ = true;
    captionWhole_ = false;
    // The slanted and round faces keep their own places: their edges are not the rectangle's.
    if (buttonShape_ != 0 || caption_.isEmpty() || width() <= 6 || height() <= 6) return;
    const QRect face = faceInterior();

    // The caption's ink as the caption routine draws it (cut at its rectangle, which the layout
    // may have made narrower than the text), and the whole caption's, in a scratch image with
    // room around the rectangle for a caption that runs past it.
    const QString text = QString(caption_).replace(QLatin1String("||"), QLatin1String("\r\n"));
    const unsigned format = (captionAlign_ == 0   ? raster::DT_LEFT
                             : captionAlign_ == 1 ? raster::DT_RIGHT
                                                  : raster::DT_CENTER) |
                            raster::DT_WORDBREAK;
    const int margin = std::max(width(), height());
    const auto inkOfCaption = [&](unsigned clip) {
        raster::BufferDC scratch(captionRect_.width() + 2 * margin,
                                 captionRect_.height() + 2 * margin);
        scratch.PatBlt(0, 0, scratch.width(), scratch.height(), raster::WHITENESS);
        scratch.font = captionFont_;
        scratch.bkMode = raster::TRANSPARENT;
        scratch.textColor = 0;
        QRect at = captionRect_.translated(margin - captionRect_.x(), margin - captionRect_.y());
        raster::DrawTextA(scratch, text, at, format | clip);
        return inkOf(
            scratch.bitmap(), [](QRgb p) { return (p & 0xFFFFFF) != 0xFFFFFF; },
            QPoint(margin, margin));
    };
    const Ink cut = inkOfCaption(0), caption = inkOfCaption(raster::DT_NOCLIP);
    if (caption.box.width() > face.width() || caption.box.height() > face.height())
        return;  // it cannot stand whole on the face: the drawing keeps it off the rings

    // The picture's ink, where it is drawn beside, above or below the caption.
    Ink picture;
    const int ps = pictureSize_ == 0 ? 16 : pictureSize_;
    if (pictureWidth_ > 0 && pictureHeight_ > 0 && !picture_.isNull() && ps <= 32) {
        const QImage scaled = raster::CopyImage(picture_.image, pictureKind_, ps, ps)
                                  .convertToFormat(QImage::Format_ARGB32);
        if (!scaled.isNull()) {
            const QRgb key = scaled.pixel(0, 0);
            const bool icon = pictureKind_ == 1;
            picture = inkOf(
                scaled, [&](QRgb p) { return icon ? qAlpha(p) != 0 : p != key; }, QPoint());
        }
    }
    const QPoint c0 = captionRect_.topLeft(), p0 = pictureRect_.topLeft();
    const QPoint pressed(1, 1);  // the offset of the pressed look on a rectangular face
    const auto pressedFits = [&](QPoint c, QPoint p) {
        return inside(caption.box, c + pressed, face) && inside(picture.box, p + pressed, face);
    };
    const auto fits = [&](QPoint c, QPoint p) {
        return inside(caption.box, c, face) && inside(picture.box, p, face) &&
               Blocked(face, picture, p).clear(caption, c);
    };
    // From here on the caption is drawn whole, no longer cut at its rectangle.
    captionWhole_ = cut.pixels.size() != caption.pixels.size();
    if (fits(c0, p0)) {
        pressedShiftFits_ = pressedFits(c0, p0);
        return;
    }
    captionWhole_ = true;

    // The nearest places where the caption's ink is on the face and clear of the picture's, the
    // picture's on the face too; a place that also leaves room for the pressed look's offset
    // comes before one that does not.
    const auto cx = shifts(caption.box.left() + c0.x(), caption.box.right() + c0.x(), face.left(),
                           face.right(), width());
    const auto cy = shifts(caption.box.top() + c0.y(), caption.box.bottom() + c0.y(), face.top(),
                           face.bottom(), height());
    std::vector<QPoint> captionShifts;
    for (int dy = cy.first; dy <= cy.second; ++dy)
        for (int dx = cx.first; dx <= cx.second; ++dx) captionShifts.emplace_back(dx, dy);
    std::stable_sort(captionShifts.begin(), captionShifts.end(),
                     [](QPoint a, QPoint b) { return a.manhattanLength() < b.manhattanLength(); });
    std::vector<QPoint> pictureShifts{QPoint()};
    if (!picture.box.isEmpty()) {
        // A few pixels either way, and none where the caption alone has much room to move.
        const int reach = captionShifts.size() > 4000 ? 0 : 8;
        const auto px = shifts(picture.box.left() + p0.x(), picture.box.right() + p0.x(),
                               face.left(), face.right(), reach);
        const auto py = shifts(picture.box.top() + p0.y(), picture.box.bottom() + p0.y(),
                               face.top(), face.bottom(), reach);
        pictureShifts.clear();
        for (int dy = py.first; dy <= py.second; ++dy)
            for (int dx = px.first; dx <= px.second; ++dx) pictureShifts.emplace_back(dx, dy);
        if (pictureShifts.empty()) pictureShifts.emplace_back();  // it stays where it is
        std::stable_sort(pictureShifts.begin(), pictureShifts.end(), [](QPoint a, QPoint b) {
            return a.manhattanLength() < b.manhattanLength();
        });
    }
    int best = INT_MAX;
    const int penalty = width() + height();
    for (const QPoint& dp : pictureShifts) {
        if (dp.manhattanLength() >= best) continue;
        const Blocked blocked(face, picture, p0 + dp);
        for (const QPoint& dc : captionShifts) {
            const int cost = dc.manhattanLength() + dp.manhattanLength();
            if (cost >= best) break;
            if (!blocked.clear(caption, c0 + dc)) continue;
            const bool room = pressedFits(c0 + dc, p0 + dp);
            if (cost + (room ? 0 : penalty) >= best) continue;
            best = cost + (room ? 0 : penalty);
            captionShift_ = dc;
            pictureShift_ = dp;
            pressedShiftFits_ = room;
        }
    }
    if (best == INT_MAX && !captionShifts.empty()) {
        // No place keeps them apart: the caption at least stands whole on the face.
        captionShift_ = captionShifts.front();
        pressedShiftFits_ = pressedFits(c0 + captionShift_, p0);
    }
}

}  // namespace orvello
