#pragma once
// Turning a stored picture upright from its EXIF or TIFF Orientation value (1 to 8): the way a
// camera held upright, or a phone, marks a picture it stored sideways or mirrored.
#include <QImage>

namespace orvello {

// Values outside 2 to 8 leave the picture as stored.
QImage uprightImage(QImage stored, int orientation);

// True when the upright picture is the stored one with width and height swapped (5 to 8).
bool orientationSwapsSides(int orientation);

}  // namespace orvello
