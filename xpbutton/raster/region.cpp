#include "xpbutton/raster/region.h"

#include <algorithm>
#include <cmath>

namespace orvello::raster {

namespace {

// Regions larger than this many rows are cut: no control is that tall, and a hostile size must
// not make region building run for minutes.
constexpr qint64 kMaxRows = 1 << 16;

QRect normalised(int l, int t, int r, int b)
{
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    if (r == l || b == t) return {};
    return QRect(QPoint(l, t), QPoint(r - 1, b - 1));
}

// The union of many one-row spans, merged pairwise so that tall shapes stay fast.
QRegion unite(const QList<QRect>& spans, qsizetype from, qsizetype to)
{
    if (to - from == 1) return QRegion(spans[from]);
    if (to == from) return {};
    const qsizetype mid = from + (to - from) / 2;
    return unite(spans, from, mid).united(unite(spans, mid, to));
}

QRegion unite(const QList<QRect>& spans)
{
    return unite(spans, 0, spans.size());
}

}  // namespace

Region Region::rect(int l, int t, int r, int b)
{
    return Region(QRegion(normalised(l, t, r, b)));
}

Region Region::polygon(const QList<QPoint>& points)
{
    if (points.size() < 3) return {};
    qint64 top = points[0].y(), bottom = points[0].y();
    for (const QPoint& p : points) {
        top = std::min<qint64>(top, p.y());
        bottom = std::max<qint64>(bottom, p.y());
    }
    bottom = std::min(bottom, top + kMaxRows);
    struct Crossing {
        double x;
        int dir;
    };
    QList<Crossing> crossings;
    QList<QRect> spans;
    for (qint64 y = top; y < bottom; ++y) {
        crossings.clear();
        for (qsizetype i = 0; i < points.size(); ++i) {
            const QPoint a = points[i];
            const QPoint b = points[(i + 1) % points.size()];
            if (a.y() == b.y()) continue;
            const bool down = a.y() < b.y();
            const qint64 y0 = down ? a.y() : b.y();
            const qint64 y1 = down ? b.y() : a.y();
            if (y < y0 || y >= y1) continue;  // top inclusive, bottom exclusive
            const double x =
                a.x() + double(y - a.y()) * double(b.x() - a.x()) / double(b.y() - a.y());
            crossings.append({x, down ? 1 : -1});
        }
        std::sort(crossings.begin(), crossings.end(),
                  [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
        int winding = 0;
        for (qsizetype i = 0; i + 1 < crossings.size(); ++i) {
            winding += crossings[i].dir;
            if (winding == 0) continue;
            // Pixels whose top-left corner lies in [x_i, x_i+1).
            const qint64 x0 = qint64(std::ceil(crossings[i].x));
            const qint64 x1 = qint64(std::ceil(crossings[i + 1].x));
            if (x1 > x0) spans.append(QRect(int(x0), int(y), int(x1 - x0), 1));
        }
    }
    return Region(unite(spans));
}

QRegion ellipsePixels(int l, int t, int r, int b)
{
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    if (r == l || b == t) return {};
    const double a = (double(r) - l) / 2.0, bb = (double(b) - t) / 2.0;
    const double cx = (double(l) + r) / 2.0, cy = (double(t) + b) / 2.0;
    QList<QRect> spans;
    const qint64 last = std::min<qint64>(b, qint64(t) + kMaxRows);
    for (qint64 y = t; y < last; ++y) {
        const double dy = (double(y) + 0.5 - cy) / bb;
        const double rest = 1.0 - dy * dy;
        if (rest < 0) continue;
        // Pixel centres x + 0.5 with |x + 0.5 - cx| <= a * sqrt(rest).
        const double half = a * std::sqrt(rest);
        const qint64 x0 = qint64(std::ceil(cx - half - 0.5));
        const qint64 x1 = qint64(std::floor(cx + half - 0.5));
        const qint64 from = std::max<qint64>(x0, l), to = std::min<qint64>(x1, qint64(r) - 1);
        if (to >= from) spans.append(QRect(int(from), int(y), int(to - from + 1), 1));
    }
    return unite(spans);
}

Region Region::ellipse(int l, int t, int r, int b)
{
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    return Region(ellipsePixels(l, t, r - 1, b - 1));
}

Region Region::combine(const Region& a, const Region& b, CombineMode mode)
{
    switch (mode) {
    case CombineMode::And: return Region(a.pixels_.intersected(b.pixels_));
    case CombineMode::Or: return Region(a.pixels_.united(b.pixels_));
    case CombineMode::Xor: return Region(a.pixels_.xored(b.pixels_));
    case CombineMode::Diff: return Region(a.pixels_.subtracted(b.pixels_));
    case CombineMode::Copy: return a;
    }
    return a;
}

}  // namespace orvello::raster
