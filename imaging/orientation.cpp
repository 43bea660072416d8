#include "imaging/orientation.h"

#include "imaging/rotation.h"

#include <algorithm>

namespace orvello {

PictureTurn PictureTurn::fromOrientation(int orientation)
{
    switch (orientation) {
    case 2: return {true, 0};
    case 3: return {false, 2};
    case 4: return {true, 2};
    case 5: return {true, 3};
    case 6: return {false, 1};
    case 7: return {true, 1};
    case 8: return {false, 3};
    default: return {};
    }
}

int PictureTurn::orientation() const
{
    static constexpr int values[2][4] = {{1, 6, 3, 8}, {2, 7, 4, 5}};
    return values[mirror ? 1 : 0][quarters & 3];
}

PictureTurn PictureTurn::inverse() const
{
    // Every mirrored turn is its own inverse.
    return mirror ? *this : PictureTurn{false, (4 - quarters) % 4};
}

PictureTurn PictureTurn::then(PictureTurn next) const
{
    // A mirror after a turn equals the opposite turn before the mirror.
    if (!next.mirror) return {mirror, (quarters + next.quarters) % 4};
    return {!mirror, ((next.quarters - quarters) % 4 + 4) % 4};
}

QSize PictureTurn::turnedSize(QSize size) const
{
    return swapsSides() ? size.transposed() : size;
}

QRect PictureTurn::turnedRect(const QRect& rect, QSize size) const
{
    const auto turned = [&](QPoint p) {
        if (mirror) p.setX(size.width() - 1 - p.x());
        switch (quarters & 3) {
        case 1: return QPoint(size.height() - 1 - p.y(), p.x());
        case 2: return QPoint(size.width() - 1 - p.x(), size.height() - 1 - p.y());
        case 3: return QPoint(p.y(), size.width() - 1 - p.x());
        default: return p;
        }
    };
    const QPoint a = turned(rect.topLeft()), b = turned(rect.bottomRight());
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

QImage PictureTurn::applied(const QImage& picture) const
{
    if (mirror && quarters == 2) return picture.mirrored(false, true);  // in one pass
    const QImage mirrored = mirror ? picture.mirrored(true, false) : picture;
    switch (quarters) {
    case 1: return Rotate90R(mirrored);
    case 2: return mirrored.mirrored(true, true);
    case 3: return Rotate90(mirrored);
    default: return mirrored;
    }
}

bool orientationSwapsSides(int orientation)
{
    return PictureTurn::fromOrientation(orientation).swapsSides();
}

QImage uprightImage(QImage stored, int orientation)
{
    return PictureTurn::fromOrientation(orientation).applied(stored);
}

}  // namespace orvello
