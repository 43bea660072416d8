#include "imaging/rotation.h"

#include <QTransform>
#include <cstring>

namespace orvello {

namespace {

enum class Turn { Left, Right };

template <typename Pixel>
void turnPixels(const QImage& src, QImage& dst, Turn turn)
{
    const int w = src.width(), h = src.height();
    // Walk the destination row by row so that the writes stay sequential.
    for (int dy = 0; dy < w; ++dy) {
        auto* out = reinterpret_cast<Pixel*>(dst.scanLine(dy));
        if (turn == Turn::Left) {
            const int sx = w - 1 - dy;  // dst (y, w-1-x) ← src (x, y)
            for (int dx = 0; dx < h; ++dx)
                out[dx] = reinterpret_cast<const Pixel*>(src.constScanLine(dx))[sx];
        } else {
            const int sx = dy;  // dst (h-1-y, x) ← src (x, y)
            for (int dx = 0; dx < h; ++dx)
                out[dx] = reinterpret_cast<const Pixel*>(src.constScanLine(h - 1 - dx))[sx];
        }
    }
}

struct Pixel24 {
    uchar b[3];
};
struct Pixel64 {
    quint64 v;
};

QImage turned(const QImage& src, Turn turn)
{
    if (src.isNull()) return src;
    QImage dst(src.height(), src.width(), src.format());
    if (dst.isNull()) return dst;
    dst.setColorTable(src.colorTable());
    dst.setDotsPerMeterX(src.dotsPerMeterY());
    dst.setDotsPerMeterY(src.dotsPerMeterX());
    switch (src.depth()) {
    case 8: turnPixels<quint8>(src, dst, turn); return dst;
    case 16: turnPixels<quint16>(src, dst, turn); return dst;
    case 24: turnPixels<Pixel24>(src, dst, turn); return dst;
    case 32: turnPixels<quint32>(src, dst, turn); return dst;
    case 64: turnPixels<Pixel64>(src, dst, turn); return dst;
    default: break;
    }
    // Sub-byte formats: Qt's own quarter turn is exact as well.
    return src.transformed(QTransform().rotate(turn == Turn::Left ? -90 : 90));
}

}  // namespace

QImage Rotate90(const QImage& source)
{
    return turned(source, Turn::Left);
}
QImage Rotate90R(const QImage& source)
{
    return turned(source, Turn::Right);
}

}  // namespace orvello
