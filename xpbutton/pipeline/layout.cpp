// Placement of the caption and the picture on the face.
#include "xpbutton/xpbutton.h"

#include <QFontMetrics>

namespace orvello {

int XPButton::LayoutContent(bool recalc, int* leftOffset)
{
    // The caption is measured with Qt's font metrics, as the painter will draw it.
    const int W = width();
    const int H = height();
    int lo = 0;
    int uw;
    switch (buttonShape_) {
    case 1:
        lo = textLeft_ - textLeft_ / 3;
        uw = W - lo;
        break;
    case 2: uw = textRight_ + (W - textRight_) / 3; break;
    case 3:
        lo = textLeft_ - textLeft_ / 3;
        uw = textRight_ + (W - textRight_) / 3 - lo;
        break;
    default: uw = textRight_; break;
    }
    if (leftOffset) *leftOffset = lo;
    if (!recalc) return uw;

    const int ps = pictureSize_ == 0 ? 16 : pictureSize_;
    int pl = 0, pr = 0, pt = 0, pb = 0;
    const bool hasPicture = pictureWidth_ + pictureHeight_ > 0;
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
    QRect cap(0, 0, 0, 0);
    int tw = 0, th = -3;
    if (!caption_.isEmpty()) {
        QString text = caption_;
        text.replace(QLatin1String("||"), QLatin1String("\r\n"));
        const int mw = uw - 12 - pl - pr;
        const int mh = H - 12 - pt - pb;
        const QRect measured = QFontMetrics(captionFont_)
                                   .boundingRect(QRect(0, 0, qMax(mw, 0), qMax(mh, 0)),
                                                 Qt::TextWordWrap | Qt::TextShowMnemonic, text);
        tw = measured.width();
        th = measured.height();
        if (captionStyle_ != 0) {
            tw += 2;
            th += 2;
        }
    }
    int dx;
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
    int dy;
    int px = 0, top = 0;
    if (!hasPicture) {
        dy = (H - th) / 2;
    } else if (pictureAlign_ == 4) {
        const int g = (H - (th + pt)) / 2;
        top = g;
        dy = g + pt + 2;
        px = lo + (uw - ps) / 2;
    } else if (pictureAlign_ == 5) {
        const int g = (H - (th + pb)) / 2;
        top = th + g + 3;
        dy = g + 1;
        px = lo + (uw - ps) / 2;
    } else {
        dy = (H - th) / 2;
        top = (H - ps) / 2;
        const bool noCaption = caption_.isEmpty();
        switch (pictureAlign_) {
        case 0: px = lo + 6; break;
        case 1: px = noCaption ? lo + 6 : dx - pl - 6; break;
        case 2: px = W - pr - 6; break;
        default: px = noCaption ? W - pr - 6 : dx + tw + 6; break;
        }
    }
    cap = QRect(QPoint(dx, dy), QPoint(dx + tw, dy + qMax(th, 0)));  // right/bottom exclusive
    QRect pic(QPoint(px, top), QPoint(px + ps, top + ps));
    const auto clampRect = [W, H](QRect r) {
        int l = qMax(r.left(), 6), t = qMax(r.top(), 6);
        int rt = qMin(r.right(), W), b = qMin(r.bottom(), H - 6);
        return QRect(QPoint(l, t), QPoint(rt, b));
    };
    captionRect_ = clampRect(cap);
    pictureRect_ = hasPicture ? clampRect(pic) : QRect();
    return uw;
}

}  // namespace orvello
