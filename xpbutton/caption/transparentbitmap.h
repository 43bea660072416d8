#pragma once
// The transparent copy of a bitmap: its top-left pixel's colour shows what lies behind.
#include "xpbutton/raster/bufferdc.h"

namespace orvello {

// Copies bitmap (sw × sh pixels) to dest's origin in dc, every pixel of the top-left pixel's
// colour left out. A destination smaller than the bitmap either way gets the bitmap scaled by
// the smaller of the two ratios, keeping its shape.
void DrawTransparentBitmap(raster::BufferDC& dc, const QRect& dest, const QImage& bitmap, int sw,
                           int sh);

}  // namespace orvello
