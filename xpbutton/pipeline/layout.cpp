// Placement of the caption and the picture on the face (`LayoutContent`). The arithmetic runs in
// 64 bits: a huge caption or control cannot overflow it.
#include "xpbutton/xpbutton.h"

#include "xpbutton/raster/drawtext.h"

#include <algorithm>

namespace orvello {

namespace {

int toInt(qint64 v)
{
    return int(std::clamp<qint64>(v, INT_MIN / 2, INT_MAX / 2));
}

// Left and top at least 6, right at most W, bottom at most H - 6.
QRect clamped(qint64 l, qint64 t, qint64 r, qint64 b, qint64 W, qint64 H)
{
    l = std::max<qint64>(l, 6);
    t = std::max<qint64>(t, 6);
    r = std::min<qint64>(r, W);
    b = std::min<qint64>(b, H - 6);
    return raster::gdiRect(toInt(l), toInt(t), toInt(r), toInt(b));
}

}  // namespace

int XPButton::LayoutContent(bool recalc, int* leftOffset)
{
    const qint64 W = width(), H = height();
    const qint64 tl = textLeft_, tr = textRight_;
    qint64 lo = 0, uw;
    switch (buttonShape_) {
    case 1:
        lo = tl - tl / 3;
        uw = W - lo;
        break;
    case 2: uw = tr + (W - tr) / 3; break;
    case 3:
        lo = tl - tl / 3;
        uw = tr + (W - tr) / 3 - lo;
        break;
    default: uw = tr; break;
    }
    if (leftOffset) *leftOffset = toInt(lo);
    if (!recalc) return toInt(uw);

    // Room for a picture of up to 32 pixels beside, above or below the caption.
    const qint64 ps = pictureSize_ == 0 ? 16 : pictureSize_;
    const bool hasPicture = qint64(pictureWidth_) + pictureHeight_ > 0;
    qint64 pl = 0, pr = 0, pt = 0, pb = 0;
    if (hasPicture && ps <= 32) {
        switch (pictureAlign_) {
        case 0:
        case 1: pl = ps; break;
        case 2:
        case 3: pr = ps; break;
        case 4: pt = ps; break;
        case 5: pb = ps; break;
        }
    }

    // The caption's measured size.
    qint64 tw = 0, th = -3;
    if (!caption_.isEmpty()) {
        raster::BufferDC scratch;
        raster::BufferDC& dc = bufferDC_ ? *bufferDC_ : scratch;
        dc.font = captionFont_;
        QRect measure = raster::gdiRect(0, 0, toInt(uw - 12 - pl - pr), toInt(H - 12 - pt - pb));
        raster::DrawTextA(dc, QString(caption_).replace(QLatin1String("||"), QLatin1String("\r\n")),
                          measure, raster::DT_CALCRECT | raster::DT_WORDBREAK);
        tw = raster::gdiRight(measure);
        th = raster::gdiBottom(measure);
        if (captionStyle_ != 0) {
            tw += 2;
            th += 2;
        }
    }

    qint64 dx;
    switch (captionAlign_) {
    case 0: dx = lo + pl + 6 + (pl > 0 ? 6 : 0); break;
    case 1: dx = W - pr - 6 - tw - (pr > 0 ? 6 : 0); break;
    default:
        if (pl > 0 && pictureAlign_ == 1)
            dx = (uw - (tw + pl + 6)) / 2 + lo + pl + 6;
        else if (pr > 0 && pictureAlign_ == 3)
            dx = (uw - (tw + pr + 6)) / 2 + lo;
        else
            dx = (uw - (pl + pr) - tw) / 2 + lo + pl;
        break;
    }

    qint64 dy, px = 0, top = 0;
    const bool noCaption = caption_.isEmpty();
    if (!hasPicture) {
        dy = (H - th) / 2;
    } else if (pictureAlign_ == 4 || pictureAlign_ == 5) {
        const qint64 g = (H - (th + (pictureAlign_ == 4 ? pt : pb))) / 2;
        top = pictureAlign_ == 4 ? g : th + g + 3;
        dy = pictureAlign_ == 4 ? g + pt + 2 : g + 1;
        px = lo + (uw - ps) / 2;
    } else {
        dy = (H - th) / 2;
        top = (H - ps) / 2;
        switch (pictureAlign_) {
        case 0: px = lo + 6; break;
        case 1: px = noCaption ? lo + 6 : dx - pl - 6; break;
        case 2: px = W - pr - 6; break;
        default: px = noCaption ? W - pr - 6 : dx + tw + 6; break;
        }
    }
    // The measured rectangle (0, 0, tw, th) moved by (dx, dy); an empty caption measures
    // nothing.
    captionRect_ = clamped(dx, dy, dx + tw, dy + std::max<qint64>(th, 0), W, H);
    pictureRect_ = clamped(px, top, px + ps, top + ps, W, H);
    fitContentOnFace();
    return toInt(uw);
}

}  // namespace orvello
