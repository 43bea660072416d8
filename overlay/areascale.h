#pragma once
// Area-averaging resampler: every destination pixel is the mean of the source area it covers,
// weighted by how much of each source pixel lies inside that area.
#include <QImage>
#include <QRect>

namespace orvello {

// Resamples the whole of src into destRect of dst. Only the part of destRect inside dst is
// written; dst becomes Format_RGB32 if it is not already. Alpha of src is ignored: the colour
// channels are copied as they stand, the result is opaque.
void areaScale(const QImage& src, QImage& dst, const QRect& destRect);

}  // namespace orvello
