#include "xpbutton/caption/transparentbitmap.h"

#include "xpbutton/raster/blit.h"

#include <algorithm>
#include <cmath>

namespace orvello {

using namespace raster;

void DrawTransparentBitmap(BufferDC& dc, const QRect& dest, const QImage& bitmap, int sw, int sh)
{
    if (bitmap.isNull() || sw <= 0 || sh <= 0) return;
    qint64 w = sw, h = sh;
    if (dest.width() < sw || dest.height() < sh) {
        const double f = std::min(double(dest.width()) / sw, double(dest.height()) / sh);
        w = qint64(std::nearbyint(sw * f));
        h = qint64(std::nearbyint(sh * f));
    }
    if (w <= 0 || h <= 0) return;
    BufferDC source;
    source.selectBitmap(bitmap);
    const ColorRef transparent = source.GetPixel(0, 0);
    // What lies behind, to be combined off-screen and copied back once.
    BufferDC work(int(w), int(h), dc.monochrome());
    BitBlt(work, 0, 0, int(w), int(h), &dc, dest.x(), dest.y(), SRCCOPY);
    // The mask: white where the bitmap shows the transparent colour.
    BufferDC mask(sw, sh, true);
    source.bkColor = transparent;
    BitBlt(mask, 0, 0, sw, sh, &source, 0, 0, SRCCOPY);
    // The bitmap with its transparent pixels black, so that OR leaves the background there.
    source.textColor = 0;
    source.bkColor = 0xFFFFFF;
    BitBlt(source, 0, 0, sw, sh, &mask, 0, 0, ROP_DSna);
    work.textColor = 0;
    work.bkColor = 0xFFFFFF;
    StretchBlt(work, 0, 0, int(w), int(h), &mask, 0, 0, sw, sh, SRCAND);
    StretchBlt(work, 0, 0, int(w), int(h), &source, 0, 0, sw, sh, SRCPAINT);
    BitBlt(dc, dest.x(), dest.y(), int(w), int(h), &work, 0, 0, SRCCOPY);
}

}  // namespace orvello
