#pragma once
// A memory device context over a QImage, drawing the way GDI does: whole pixels, no
// anti-aliasing, a line leaves out its last point, a rectangle leaves out its right and bottom
// edges. It holds the selected bitmap, pen, brush, font, text and background colours, the
// background mode and a clip region. Colours are COLORREF values: red + 256 × green + 65536 ×
// blue.
#include "xpbutton/raster/region.h"

#include <QFont>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <optional>

namespace orvello::raster {

struct DeviceItem;

using ColorRef = quint32;

enum PenStyle { PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_NULL = 5 };
enum BkMode { TRANSPARENT = 1, OPAQUE = 2 };

// Raster operations: the high word is the operation's index, the result bit for the source,
// pattern (brush) and destination bits (P, S, D) is bit 4P + 2S + D of that index.
enum : quint32 {
    BLACKNESS = 0x00000042,
    SRCCOPY = 0x00CC0020,
    SRCPAINT = 0x00EE0086,
    SRCAND = 0x008800C6,
    SRCINVERT = 0x00660046,
    PATCOPY = 0x00F00021,
    PATINVERT = 0x005A0049,
    DSTINVERT = 0x00550009,
    WHITENESS = 0x00FF0062,
};

struct Pen {
    ColorRef color = 0;
    int width = 1;
    int style = PS_SOLID;
};

struct Brush {
    ColorRef color = 0;
    bool null = false;
};

class BufferDC {
public:
    // A context with no bitmap selected: it draws nothing until one is.
    BufferDC() = default;
    // A context holding a new bitmap of w × h (colour, or monochrome: black and white only).
    BufferDC(int w, int h, bool monochrome = false);

    // Selects a bitmap; the context's size becomes the bitmap's. Returns the one it replaces.
    QImage selectBitmap(QImage bitmap, bool monochrome = false);
    const QImage& bitmap() const { return image_; }
    bool monochrome() const { return mono_; }
    int width() const { return image_.width(); }
    int height() const { return image_.height(); }

    Pen pen;
    Brush brush;
    QFont font;
    ColorRef textColor = 0;
    ColorRef bkColor = 0xFFFFFF;
    int bkMode = OPAQUE;
    // Device pixels per pixel of the screen this context is shown on. Above 1, text and icons
    // go to deviceItems instead of the bitmap (devicelayer.h).
    qreal deviceScale = 1;
    QList<DeviceItem>* deviceItems = nullptr;
    bool deferToDevice() const { return deviceScale != 1 && deviceItems && !mono_; }

    // SelectClipRgn: drawing reaches only the region's pixels; none clears the clip.
    void selectClipRgn(const std::optional<Region>& clip);
    bool hasClip() const { return !clipMask_.isNull(); }

    ColorRef GetPixel(int x, int y) const;
    void SetPixel(int x, int y, ColorRef color);
    // The outline with the pen (right and bottom edges at r - 1 and b - 1), the inside with the
    // brush.
    void Rectangle(int l, int t, int r, int b);
    // Segments from each point to the next, each without its end point.
    void Polyline(const QList<QPoint>& points);
    void MoveTo(int x, int y) { cursor_ = QPoint(x, y); }
    void LineTo(int x, int y);
    // The outline of the ellipse inscribed in l..r-1 by t..b-1, counter-clockwise from the
    // radial through (xs, ys) to the one through (xe, ye); equal radials draw the whole ellipse.
    void Arc(int l, int t, int r, int b, int xs, int ys, int xe, int ye);
    // The brush combined with the destination by rop over x..x+w-1 by y..y+h-1.
    void PatBlt(int x, int y, int w, int h, quint32 rop);
    // The dotted focus frame of r: every other pixel of its outline inverted, so a second call
    // removes it.
    void DrawFocusRect(const QRect& r);

    // Pixel-level access for the block transfers and the text: clipped, bounds-checked.
    bool drawable(int x, int y) const;
    void plot(int x, int y, ColorRef color);
    quint32 rawPixel(int x, int y) const;  // the stored 0xAARRGGBB value
    void setRawPixel(int x, int y, quint32 argb);

private:
    void penPixel(int x, int y);
    void line(QPoint a, QPoint b);

    QImage image_;
    bool mono_ = false;
    QImage clipMask_;  // Grayscale8, non-zero inside the clip; null when there is no clip
    QPoint cursor_;
    int styleStep_ = 0;  // position in the pen's dash pattern
};

// GDI rectangles as QRect: left, top, right (exclusive), bottom (exclusive).
inline QRect gdiRect(int l, int t, int r, int b)
{
    return QRect(l, t, r - l, b - t);
}
inline int gdiRight(const QRect& r)
{
    return r.x() + r.width();
}
inline int gdiBottom(const QRect& r)
{
    return r.y() + r.height();
}

// The 0xAARRGGBB pixel of a COLORREF and back.
inline quint32 toArgb(ColorRef c)
{
    return 0xFF000000u | (c & 0xFFu) << 16 | (c & 0xFF00u) | (c >> 16 & 0xFFu);
}
inline ColorRef fromArgb(quint32 p)
{
    return (p >> 16 & 0xFFu) | (p & 0xFF00u) | (p & 0xFFu) << 16;
}

// The result of a ternary raster operation on 24-bit pattern, source and destination values.
quint32 applyRop(quint32 rop, quint32 pattern, quint32 source, quint32 dest);

}  // namespace orvello::raster
