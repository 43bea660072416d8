#pragma once
// TIFF decoding through libtiff: the first page of any layout its RGBA reader supports (strips or
// tiles, 1 to 16 bits, palette, grey, RGB, CMYK, separate planes), with libtiff's messages kept
// per call, damage reported as incomplete, and memory capped by the real sample size.
#include "imaging/decodebudget.h"

#include <QByteArray>

namespace orvello {

bool looksLikeAnyTiff(const QByteArray& bytes);  // classic TIFF or BigTIFF
DecodedPhoto decodeTiff(const QByteArray& tiff);

}  // namespace orvello
