#pragma once
// Regions as GDI builds them: sets of whole pixels. A rectangle or ellipse excludes its right and
// bottom edges; a polygon is filled by its winding number, each pixel sampled at its top-left
// corner, and a point on a left or top edge counts as inside, one on a right or bottom edge not.
#include <QList>
#include <QPoint>
#include <QRegion>

namespace orvello::raster {

enum class CombineMode { And, Or, Xor, Diff, Copy };

class Region {
public:
    Region() = default;

    // CreateRectRgn: the pixels l..r-1 by t..b-1 (the corners may come in any order).
    static Region rect(int l, int t, int r, int b);
    // CreatePolygonRgn with the winding fill mode.
    static Region polygon(const QList<QPoint>& points);
    // CreateEllipticRgn: the ellipse inscribed in l..r-1 by t..b-1, less its last column and row
    // as GDI builds it, so that (0, 0, W + 1, H + 1) covers exactly a W by H control.
    static Region ellipse(int l, int t, int r, int b);

    // CombineRgn(this, a, b, mode).
    static Region combine(const Region& a, const Region& b, CombineMode mode);
    Region minus(const Region& other) const { return combine(*this, other, CombineMode::Diff); }

    bool contains(int x, int y) const { return pixels_.contains(QPoint(x, y)); }
    bool isEmpty() const { return pixels_.isEmpty(); }
    QRect bounds() const { return pixels_.boundingRect(); }
    const QRegion& pixels() const { return pixels_; }

    friend bool operator==(const Region& a, const Region& b) { return a.pixels_ == b.pixels_; }

private:
    explicit Region(QRegion pixels) : pixels_(std::move(pixels)) {}
    QRegion pixels_;
};

// The pixels inside the ellipse inscribed in the box [l, r) × [t, b), tested at pixel centres.
// Ellipse outlines and elliptic regions share it.
QRegion ellipsePixels(int l, int t, int r, int b);

}  // namespace orvello::raster
