// The border rings around the face and the focus mark (`DrawBorderRings`,
// `DrawFocusIndicator`), on the table of 15 points that both share.
#include "xpbutton/xpbutton.h"

namespace orvello {

XPButton::RingPoints XPButton::ringPoints() const
{
    const int W = width(), H = height();
    const int ls = (buttonShape_ == 1 || buttonShape_ == 3) ? 1 : 0;
    const int rs = (buttonShape_ == 2 || buttonShape_ == 3) ? 1 : 0;
    const int tl = textLeft_, tr = textRight_;
    RingPoints p;
    // The inner ring.
    p[0] = QPoint(tl + 2 - 4 * ls, H - 3);
    p[1] = QPoint(2 * ls + 2, 2);
    p[2] = QPoint(tr + 3 * rs - 3, 2);
    p[3] = QPoint(W - 3 - 3 * rs, H - 3);
    p[4] = QPoint(tl - 4 * ls + 1, H - 3);
    // The middle ring: the inner one moved outwards by one pixel.
    const int mx[5] = {ls - 1, -ls - 1, 1 - rs, rs + 1, -1};
    const int my[5] = {1, -1, -1, 1, 1};
    for (int i = 0; i < 5; ++i) p[5 + i] = p[i] + QPoint(mx[i], my[i]);
    // The outer ring along the control's edges.
    p[10] = QPoint(tl - ls, H - 1 + ls);
    p[11] = QPoint(0, 0);
    p[12] = QPoint(tr + rs - 1, 0);
    p[13] = QPoint(W - 1, H - 1 + rs);
    p[14] = QPoint(tl - 2 * ls - 1, H - 1);
    return p;
}

void XPButton::DrawBorderRings(const RingPoints& points, const BorderColors& colors, int,
                               int outerPenStyle)
{
    if (!bufferDC_) return;
    qint64 current = -1;
    int currentStyle = -1;
    for (int j = 0; j <= 13; ++j) {
        if (j == 4 || j == 9) continue;  // the step from one ring to the next
        const int entry = j <= 3 ? j + 1 : j <= 8 ? j : j - 1;
        const qint64 color = colors[size_t(entry)];
        if (color < 0) continue;
        const int style = (j >= 10 && outerPenStyle >= 0) ? outerPenStyle : raster::PS_SOLID;
        if (color != current || style != currentStyle) {
            SetDrawingColor(PenColor, OleColor(color), false, 1, style);
            current = color;
            currentStyle = style;
        }
        bufferDC_->Polyline({points[size_t(j)], points[size_t(j) + 1]});
    }
    // The bottom edge once more to its last pixel, in the last segment's pen.
    const int rs = (buttonShape_ == 2 || buttonShape_ == 3) ? 1 : 0;
    if (width() != rs) bufferDC_->Polyline({points[14], QPoint(width() - 1, height() - 1)});
}

void XPButton::DrawFocusIndicator(OleColor color, bool solid, bool aroundCaption, const RingPoints&)
{
    if (!defaultButtonLook() || !bufferDC_) return;
    const int W = width(), H = height();
    const auto closedFrame = [this](const QRect& r) {
        // The pixels of a dotted frame of r, drawn solid, starting at the bottom-left corner.
        const int l = r.x(), t = r.y(), rr = r.x() + r.width() - 1, bb = r.y() + r.height() - 1;
        bufferDC_->Polyline(
            {QPoint(l, bb), QPoint(l, t), QPoint(rr, t), QPoint(rr, bb), QPoint(l, bb)});
    };
    SetDrawingColor(PenColor, color);
    if (buttonShape_ >= 1 && buttonShape_ <= 3) {
        const int l = textLeft_ != 0 ? 1 : 0, r = W > textRight_ ? 1 : 0;
        bufferDC_->Polyline({QPoint(textLeft_ + 4 - 6 * l, H - 5), QPoint(4 * l + 4, 4),
                             QPoint(textRight_ + 4 * r - 5, 4), QPoint(W - 5 - 6 * r, H - 5),
                             QPoint(textLeft_ + 3 - 4 * l, H - 5)});
    } else if (buttonShape_ >= 4 && buttonShape_ <= 6) {
        const int c = buttonShape_ == 6 ? 1 : 0;
        bufferDC_->selectClipRgn(std::nullopt);
        bufferDC_->Arc(3 - c, 3 - c, W - 3 + c, H - 3 + c, 0, 0, 0, 0);
        bufferDC_->selectClipRgn(clipRegion_);
    } else if (aroundCaption) {
        const QRect r =
            (caption_.isEmpty() ? drawnPictureRect() : drawnCaptionRect()).adjusted(-3, -3, 3, 3);
        if (solid)
            closedFrame(r);
        else
            bufferDC_->DrawFocusRect(
                r.translated(value_ || pressedAndHot() ? QPoint(1, 1) : QPoint()));
    } else {
        const QRect r = raster::gdiRect(textLeft_ + 4, 4, textRight_ - 4, H - 4);
        if (solid)
            closedFrame(r);
        else
            bufferDC_->DrawFocusRect(r);
    }
}

}  // namespace orvello
