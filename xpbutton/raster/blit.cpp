#include "xpbutton/raster/blit.h"

#include "xpbutton/raster/devicelayer.h"

#include <algorithm>

namespace orvello::raster {

namespace {

// The largest image a copy may allocate: far beyond any button, far below exhausting memory.
constexpr qint64 kMaxPixels = qint64(1) << 26;

// The source pixel as the destination sees it, after the colour and monochrome conversions.
quint32 sourceValue(const BufferDC& src, const BufferDC& dst, int x, int y)
{
    const quint32 p = src.rawPixel(x, y) & 0xFFFFFF;
    if (src.monochrome() && !dst.monochrome())
        return (p ? toArgb(dst.bkColor) : toArgb(dst.textColor)) & 0xFFFFFF;
    if (!src.monochrome() && dst.monochrome())
        return p == (toArgb(src.bkColor) & 0xFFFFFF) ? 0xFFFFFF : 0;
    return p;
}

bool usesSource(quint32 rop)
{
    const quint32 index = rop >> 16 & 0xFF;
    // The operation depends on S when swapping S changes some result bit.
    return ((index >> 2 ^ index) & 0x33) != 0;
}

}  // namespace

void StretchBlt(BufferDC& dst, int x, int y, int w, int h, const BufferDC* src, int sx, int sy,
                int sw, int sh, quint32 rop)
{
    if (w <= 0 || h <= 0) return;
    const bool needSource = usesSource(rop);
    if (needSource && (!src || sw <= 0 || sh <= 0)) return;
    quint32 pattern = dst.brush.null ? 0 : toArgb(dst.brush.color) & 0xFFFFFF;
    if (dst.monochrome()) pattern = (pattern == 0xFFFFFF) ? 0xFFFFFF : 0;
    // Only the destination pixels on the surface are visited.
    const qint64 fromX = std::max<qint64>(x, 0), toX = std::min<qint64>(qint64(x) + w, dst.width());
    const qint64 fromY = std::max<qint64>(y, 0),
                 toY = std::min<qint64>(qint64(y) + h, dst.height());
    for (qint64 py = fromY; py < toY; ++py) {
        const int srcY = needSource ? int(sy + (py - y) * sh / h) : 0;
        for (qint64 px = fromX; px < toX; ++px) {
            if (!dst.drawable(int(px), int(py))) continue;
            quint32 s = 0;
            if (needSource) {
                const int srcX = int(sx + (px - x) * sw / w);
                if (srcX < 0 || srcY < 0 || srcX >= src->width() || srcY >= src->height())
                    continue;  // outside the source: nothing to copy
                s = sourceValue(*src, dst, srcX, srcY);
            }
            const quint32 d = dst.rawPixel(int(px), int(py)) & 0xFFFFFF;
            dst.setRawPixel(int(px), int(py), applyRop(rop, pattern, s, d));
        }
    }
}

void BitBlt(BufferDC& dst, int x, int y, int w, int h, const BufferDC* src, int sx, int sy,
            quint32 rop)
{
    StretchBlt(dst, x, y, w, h, src, sx, sy, w, h, rop);
}

QImage CopyImage(const QImage& image, int type, int w, int h)
{
    if (image.isNull() || w <= 0 || h <= 0 || qint64(w) * h > kMaxPixels) return {};
    const QImage::Format format = type == IMAGE_ICON ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    QImage scaled = image.convertToFormat(format);
    if (scaled.size() != QSize(w, h))
        scaled = scaled.scaled(w, h, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return scaled;
}

void DrawIconEx(BufferDC& dst, int x, int y, const QImage& icon, int w, int h, int flags)
{
    if (icon.isNull() || !(flags & DI_NORMAL)) return;
    if (dst.deferToDevice()) {
        DeviceItem item;
        item.icon = icon;
        item.clip = QRect(x, y, w > 0 ? w : icon.width(), h > 0 ? h : icon.height());
        dst.deviceItems->append(item);
        return;
    }
    QImage pixels = (w > 0 && h > 0) ? CopyImage(icon, IMAGE_ICON, w, h)
                                     : icon.convertToFormat(QImage::Format_ARGB32);
    if (pixels.isNull()) return;
    for (int py = 0; py < pixels.height(); ++py) {
        const auto* line = reinterpret_cast<const quint32*>(pixels.constScanLine(py));
        for (int px = 0; px < pixels.width(); ++px) {
            const qint64 tx = qint64(x) + px, ty = qint64(y) + py;
            if (tx < 0 || ty < 0 || tx >= dst.width() || ty >= dst.height()) continue;
            const quint32 s = line[px];
            const quint32 a = s >> 24;
            if (a == 0) continue;
            quint32 out = s;
            if (a < 255) {
                const quint32 d = dst.rawPixel(int(tx), int(ty));
                out = 0;
                for (int shift = 0; shift < 24; shift += 8) {
                    const quint32 c =
                        ((s >> shift & 0xFF) * a + (d >> shift & 0xFF) * (255 - a) + 127) / 255;
                    out |= c << shift;
                }
            }
            dst.setRawPixel(int(tx), int(ty), out);
        }
    }
}

}  // namespace orvello::raster
