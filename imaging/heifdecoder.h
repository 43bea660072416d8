#pragma once
// HEIF decoding (HEIC photos from phones) through libheif: the primary image with the rotation,
// mirroring and crop the file carries, 8 or 10 bits, alpha put on white; refused before any
// picture is allocated when the budget does not allow it, and damage reported as incomplete.
#include "imaging/decodebudget.h"

#include <QByteArray>

namespace orvello {

// The bytes must be a HEIF file (see looksLikeHeif).
DecodedPhoto decodeHeif(const QByteArray& heif);

}  // namespace orvello
