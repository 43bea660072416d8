#pragma once
// Turning a stored picture upright from its EXIF or TIFF Orientation value (1 to 8): the way a
// camera held upright, or a phone, marks a picture it stored sideways or mirrored.
#include <QImage>
#include <QSize>

namespace orvello {

// One of the eight ways a picture can lie: mirrored left to right first (when mirror is set),
// then turned clockwise by quarters quarter turns.
struct PictureTurn {
    bool mirror = false;
    int quarters = 0;  // 0 … 3

    static PictureTurn left() { return {false, 3}; }
    static PictureTurn right() { return {false, 1}; }
    // What makes a picture stored with this EXIF orientation (1 … 8) upright; 1 or any other
    // value leaves it as stored.
    static PictureTurn fromOrientation(int orientation);

    // This turn, then next.
    PictureTurn then(PictureTurn next) const;
    bool swapsSides() const { return quarters % 2 != 0; }
    QSize turnedSize(QSize size) const;
    // The picture turned, pixel for pixel.
    QImage applied(const QImage& picture) const;
    bool operator==(const PictureTurn&) const = default;
};

// Values outside 2 to 8 leave the picture as stored.
QImage uprightImage(QImage stored, int orientation);

// True when the upright picture is the stored one with width and height swapped (5 to 8).
bool orientationSwapsSides(int orientation);

}  // namespace orvello
