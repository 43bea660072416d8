#include "imaging/orientation.h"

#include "imaging/rotation.h"

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
