#include "xpbutton/raster/bufferdc.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace orvello::raster {

namespace {

// A monochrome surface holds black and white only; a colour lands on the nearer of the two.
quint32 toMonoArgb(quint32 argb)
{
    const int sum = int(argb >> 16 & 0xFF) + int(argb >> 8 & 0xFF) + int(argb & 0xFF);
    return sum >= 384 ? 0xFFFFFFFFu : 0xFF000000u;
}

// Dash patterns of the cosmetic pens: on, off, on, off ... in pixels.
bool styleOn(int style, int step)
{
    switch (style) {
    case PS_DASH: return step % 24 < 18;
    case PS_DOT: return step % 6 < 3;
    case PS_NULL: return false;
    default: return true;
    }
}

}  // namespace

quint32 applyRop(quint32 rop, quint32 pattern, quint32 source, quint32 dest)
{
    const quint32 index = rop >> 16 & 0xFF;
    quint32 result = 0;
    for (int i = 0; i < 8; ++i) {
        if (!(index >> i & 1)) continue;
        const quint32 p = (i & 4) ? pattern : ~pattern;
        const quint32 s = (i & 2) ? source : ~source;
        const quint32 d = (i & 1) ? dest : ~dest;
        result |= p & s & d;
    }
    return result & 0xFFFFFF;
}

BufferDC::BufferDC(int w, int h, bool monochrome)
{
    QImage bitmap;
    if (w > 0 && h > 0) {
        bitmap = QImage(w, h, QImage::Format_RGB32);
        if (!bitmap.isNull()) bitmap.fill(monochrome ? 0xFFFFFFFFu : 0xFF000000u);
    }
    selectBitmap(bitmap, monochrome);
}

QImage BufferDC::selectBitmap(QImage bitmap, bool monochrome)
{
    if (!bitmap.isNull() && bitmap.format() != QImage::Format_RGB32)
        bitmap = bitmap.convertToFormat(QImage::Format_RGB32);
    QImage old = std::move(image_);
    image_ = std::move(bitmap);
    mono_ = monochrome;
    clipMask_ = QImage();
    return old;
}

void BufferDC::selectClipRgn(const std::optional<Region>& clip)
{
    clipMask_ = QImage();
    if (!clip || image_.isNull()) return;
    clipMask_ = QImage(image_.size(), QImage::Format_Grayscale8);
    if (clipMask_.isNull()) return;
    clipMask_.fill(0);
    for (const QRect& r : clip->pixels()) {
        const QRect visible = r.intersected(clipMask_.rect());
        for (int y = visible.top(); y <= visible.bottom(); ++y)
            std::fill_n(clipMask_.scanLine(y) + visible.left(), visible.width(), uchar(1));
    }
}

bool BufferDC::drawable(int x, int y) const
{
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return false;
    return clipMask_.isNull() || clipMask_.constScanLine(y)[x] != 0;
}

quint32 BufferDC::rawPixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return 0;
    return reinterpret_cast<const quint32*>(image_.constScanLine(y))[x];
}

void BufferDC::setRawPixel(int x, int y, quint32 argb)
{
    if (!drawable(x, y)) return;
    reinterpret_cast<quint32*>(image_.scanLine(y))[x] =
        mono_ ? toMonoArgb(argb) : (0xFF000000u | argb);
}

void BufferDC::plot(int x, int y, ColorRef color)
{
    setRawPixel(x, y, toArgb(color));
}

ColorRef BufferDC::GetPixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return 0xFFFFFFFFu;
    return fromArgb(rawPixel(x, y));
}

void BufferDC::SetPixel(int x, int y, ColorRef color)
{
    plot(x, y, color);
}

void BufferDC::penPixel(int x, int y)
{
    const bool on = styleOn(pen.style, styleStep_++);
    if (!on) return;
    const int w = std::max(pen.width, 1);
    if (w == 1) {
        plot(x, y, pen.color);
        return;
    }
    const int x0 = x - (w - 1) / 2, y0 = y - (w - 1) / 2;
    for (int dy = 0; dy < w; ++dy)
        for (int dx = 0; dx < w; ++dx) plot(x0 + dx, y0 + dy, pen.color);
}

// Bresenham's line from a to b, leaving b out.
void BufferDC::line(QPoint a, QPoint b)
{
    qint64 x = a.x(), y = a.y();
    const qint64 dx = std::llabs(qint64(b.x()) - x), dy = -std::llabs(qint64(b.y()) - y);
    const int sx = x < b.x() ? 1 : -1, sy = y < b.y() ? 1 : -1;
    const qint64 steps = std::max(dx, -dy);
    // A line that cannot touch the surface costs nothing, however far away its points are.
    const int m = std::max(pen.width, 1);
    if (std::max(a.x(), b.x()) < -m || std::max(a.y(), b.y()) < -m ||
        std::min<qint64>(a.x(), b.x()) > qint64(image_.width()) + m ||
        std::min<qint64>(a.y(), b.y()) > qint64(image_.height()) + m) {
        styleStep_ += int(std::min<qint64>(steps, 1 << 20));
        return;
    }
    qint64 err = dx + dy;
    for (qint64 i = 0; i < steps; ++i) {
        penPixel(int(x), int(y));
        const qint64 e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void BufferDC::Polyline(const QList<QPoint>& points)
{
    styleStep_ = 0;
    for (qsizetype i = 0; i + 1 < points.size(); ++i) line(points[i], points[i + 1]);
    if (!points.isEmpty()) cursor_ = points.last();
}

void BufferDC::LineTo(int x, int y)
{
    styleStep_ = 0;
    line(cursor_, QPoint(x, y));
    cursor_ = QPoint(x, y);
}

void BufferDC::Rectangle(int l, int t, int r, int b)
{
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    if (r - l < 1 || b - t < 1) return;
    const bool framed = pen.style != PS_NULL;
    // A null pen leaves the frame out and the brush still stops one pixel short of the right
    // and bottom, as with GDI.
    const int fr = r - 1, fb = b - 1;
    if (!brush.null) {
        const int il = framed ? l + 1 : l, it = framed ? t + 1 : t;
        for (int y = std::max(it, 0); y < std::min(fb, image_.height()); ++y)
            for (int x = std::max(il, 0); x < std::min(fr, image_.width()); ++x)
                plot(x, y, brush.color);
    }
    if (!framed) return;
    if (r - l == 1 || b - t == 1) {
        Polyline({QPoint(l, t), QPoint(r - 1, b - 1), QPoint(r, b)});
        return;
    }
    Polyline(
        {QPoint(l, t), QPoint(r - 1, t), QPoint(r - 1, b - 1), QPoint(l, b - 1), QPoint(l, t)});
}

void BufferDC::Arc(int l, int t, int r, int b, int xs, int ys, int xe, int ye)
{
    if (pen.style == PS_NULL) return;
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    // The outline is the ellipse's pixels less those that stay after peeling off the pen width's
    // worth of edge pixels (those with a neighbour outside), so it is closed and never thicker.
    const QRegion area = ellipsePixels(l, t, r, b);
    QRegion core = area;
    for (int i = 0; i < std::max(pen.width, 1) && !core.isEmpty(); ++i)
        core = core.intersected(core.translated(1, 0))
                   .intersected(core.translated(-1, 0))
                   .intersected(core.translated(0, 1))
                   .intersected(core.translated(0, -1));
    const QRegion outline = area.subtracted(core);
    const double cx = (double(l) + r) / 2.0, cy = (double(t) + b) / 2.0;
    const bool full = xs == xe && ys == ye;
    constexpr double kTurn = 2 * M_PI;
    // Angles counter-clockwise as seen on screen (y grows downwards).
    const auto angle = [&](double x, double y) {
        const double a = std::atan2(cy - y, x - cx);
        return a < 0 ? a + kTurn : a;
    };
    const double from = angle(xs, ys), to = angle(xe, ye);
    const double span = to > from ? to - from : to - from + kTurn;
    const QRect visible = QRect(0, 0, image_.width(), image_.height());
    for (const QRect& run : outline) {
        const QRect part = run.intersected(visible);
        for (int y = part.top(); y <= part.bottom(); ++y)
            for (int x = part.left(); x <= part.right(); ++x) {
                if (!full) {
                    double a = angle(x + 0.5, y + 0.5) - from;
                    if (a < 0) a += kTurn;
                    if (a > span) continue;
                }
                plot(x, y, pen.color);
            }
    }
}

void BufferDC::PatBlt(int x, int y, int w, int h, quint32 rop)
{
    const QRect area = QRect(x, y, std::max(w, 0), std::max(h, 0)).intersected(image_.rect());
    const quint32 pattern = brush.null ? 0 : (toArgb(brush.color) & 0xFFFFFF);
    // Row by row through the bits: a pixel at a time through the checked accessors made filling
    // the buttons' scratch surfaces most of the window's start-up.
    // The operation works bit by bit, so with the pattern fixed each bit of the result is what
    // it gives on that bit of the destination cleared or set.
    const quint32 onClear = applyRop(rop, pattern, 0, 0),
                  onSet = applyRop(rop, pattern, 0, 0xFFFFFF);
    for (int py = area.top(); py <= area.bottom(); ++py) {
        quint32* row = reinterpret_cast<quint32*>(image_.scanLine(py));
        const uchar* mask = clipMask_.isNull() ? nullptr : clipMask_.constScanLine(py);
        for (int px = area.left(); px <= area.right(); ++px) {
            if (mask && !mask[px]) continue;
            const quint32 dest = row[px] & 0xFFFFFF;
            const quint32 out = (onClear & ~dest) | (onSet & dest);
            row[px] = mono_ ? toMonoArgb(out) : (0xFF000000u | out);
        }
    }
}

void BufferDC::DrawFocusRect(const QRect& r)
{
    // r's right and bottom are exclusive here, as in GDI (QRect's own right() is r.x() + w - 1).
    const int l = r.left(), t = r.top(), rr = r.left() + r.width() - 1,
              bb = r.top() + r.height() - 1;
    if (rr < l || bb < t) return;
    const auto invert = [this](int x, int y) {
        if ((x + y) & 1) return;  // the checkerboard is fixed to the surface's origin
        setRawPixel(x, y, ~rawPixel(x, y) & 0xFFFFFF);
    };
    for (int x = l; x <= rr; ++x) {
        invert(x, t);
        if (bb != t) invert(x, bb);
    }
    for (int y = t + 1; y < bb; ++y) {
        invert(l, y);
        if (rr != l) invert(rr, y);
    }
}

}  // namespace orvello::raster
