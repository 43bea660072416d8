#pragma once
// Block transfers between memory contexts, with raster operations and GDI's colour and
// monochrome conversions, and the scaling and drawing of bitmaps and icons.
#include "xpbutton/raster/bufferdc.h"

#include <QImage>

namespace orvello::raster {

// Two raster operations of the transparent copy, named by what they do: the destination kept
// where the source is set ("DSna" clears the source's bits), and the brush painted where the
// source is black, the destination kept where it is white.
inline constexpr quint32 ROP_DSna = 0x00220326;
inline constexpr quint32 ROP_PSDPxax = 0x00B8074A;

// Copies w × h pixels from src at (sx, sy) to dst at (x, y) through rop, with dst's brush as the
// pattern. A colour source copied to a monochrome destination gives white where the source
// pixel equals the source's background colour and black elsewhere; a monochrome source copied
// to a colour destination gives the destination's text colour for black and its background
// colour for white. src may be null for operations that ignore the source.
void BitBlt(BufferDC& dst, int x, int y, int w, int h, const BufferDC* src, int sx, int sy,
            quint32 rop);
// As BitBlt, scaling sw × sh source pixels onto w × h destination pixels by the nearest source
// pixel (GDI's colour-on-colour stretch mode).
void StretchBlt(BufferDC& dst, int x, int y, int w, int h, const BufferDC* src, int sx, int sy,
                int sw, int sh, quint32 rop);

enum ImageType { IMAGE_BITMAP = 0, IMAGE_ICON = 1 };
// CopyImage: a copy of image scaled to w × h by the nearest pixel; an icon keeps its alpha, a
// bitmap becomes opaque. A null image when the source is empty, a size is not positive or the
// copy cannot be allocated.
QImage CopyImage(const QImage& image, int type, int w, int h);

inline constexpr int DI_NORMAL = 3;
// DrawIconEx: the icon's pixels at (x, y), scaled to w × h when those are positive, laid over the
// destination by their alpha.
void DrawIconEx(BufferDC& dst, int x, int y, const QImage& icon, int w, int h, int flags);

}  // namespace orvello::raster
