#pragma once
// Turning a stored picture upright from its EXIF or TIFF Orientation value (1 to 8): the way a
// camera held upright, or a phone, marks a picture it stored sideways or mirrored.
#include <QImage>
#include <QRect>
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

    // The EXIF orientation (1 … 8) of a picture that this turn makes upright.
    int orientation() const;
    // The turn that undoes this one.
    PictureTurn inverse() const;

    // This turn, then next.
    PictureTurn then(PictureTurn next) const;
    bool swapsSides() const { return quarters % 2 != 0; }
    QSize turnedSize(QSize size) const;
    // Where the pixels of rect, in a picture of size pixels, lie once it is turned.
    QRect turnedRect(const QRect& rect, QSize size) const;
    // The picture turned, pixel for pixel.
    QImage applied(const QImage& picture) const;
    bool operator==(const PictureTurn&) const = default;
};

// Values outside 2 to 8 leave the picture as stored.
QImage uprightImage(QImage stored, int orientation);

// True when the upright picture is the stored one with width and height swapped (5 to 8).
bool orientationSwapsSides(int orientation);

}  // namespace orvello
