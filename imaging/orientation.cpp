#include "imaging/orientation.h"

#include "imaging/rotation.h"

namespace orvello {

namespace {

QImage mirroredAcross(const QImage& image)
{
    return image.mirrored(true, false);
}

}  // namespace

bool orientationSwapsSides(int orientation)
{
    return orientation >= 5 && orientation <= 8;
}

QImage uprightImage(QImage stored, int orientation)
{
    switch (orientation) {
    case 2: return mirroredAcross(stored);
    case 3: return stored.mirrored(true, true);  // half a turn
    case 4: return stored.mirrored(false, true);
    case 5: return mirroredAcross(Rotate90R(stored));  // transposed
    case 6: return Rotate90R(stored);
    case 7: return mirroredAcross(Rotate90(stored));  // transposed across the other diagonal
    case 8: return Rotate90(stored);
    default: return stored;
    }
}

}  // namespace orvello
