#include "ui/frame/frameregion.h"

#include "ui/design.h"

#include <cmath>

namespace orvello {

namespace {

// Left, top, right, bottom with right and bottom exclusive, as the outline's figures are given.
QRect edges(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

}  // namespace

QRegion frameRegion(int widthTwips, int heightTwips)
{
    const int w = twipsToPixels(widthTwips);
    const int h = twipsToPixels(heightTwips);
    QRegion region(edges(0, 5, w, h - 5));
    region += edges(5, 0, w - 5, h);
    region += QRegion(edges(-2, 0, 15, 35), QRegion::Ellipse);
    region += QRegion(edges(w - 15, 0, w + 2, 20), QRegion::Ellipse);
    region += QRegion(edges(-1, h - 20, 10, h), QRegion::Ellipse);
    region += QRegion(edges(w - 20, h - 40, w + 3, h + 4), QRegion::Ellipse);
    return region;
}

QPoint clampSavedPosition(QPoint saved, QSize window, const QRect& screen)
{
    int left = saved.x();
    int top = saved.y();
    if (left < screen.left()) left = screen.left();
    if (top < screen.top()) top = screen.top();
    const int farLeft = screen.left() + screen.width() - window.width();
    const int farTop = screen.top() + screen.height() - window.height();
    if (farLeft < left) left = farLeft;
    if (farTop < top) top = farTop;
    return QPoint(left, top);
}

}  // namespace orvello
