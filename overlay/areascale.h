#pragma once
// Area-averaging resampler: every destination pixel is the mean of the source area it covers,
// weighted by how much of each source pixel lies inside that area.
#include <QImage>
#include <QRect>

namespace orvello {

// Resamples the whole of src into destRect of dst. Only the part of destRect inside dst (and
// inside only, when given) is written; each pixel written gets the same value whichever part is
// asked for. dst becomes Format_RGB32 if it is not already. Alpha of src is ignored: the colour
// channels are copied as they stand, the result is opaque.
void areaScale(const QImage& src, QImage& dst, const QRect& destRect, const QRect& only = {});

// The destination pixels of destRect whose source area reaches into srcRect (a rectangle of a
// source of srcSize): the pixels to compute again when only srcRect of the source changed. It
// may hold a pixel more at each edge; it never misses one.
QRect areaScaleFootprint(QSize srcSize, const QRect& destRect, const QRect& srcRect);

}  // namespace orvello
