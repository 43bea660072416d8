#pragma once
// The values a title's fields are filled from, taken from the photo's EXIF items as the listing
// reads them.
#include "components/imagefile.h"
#include "overlay/stamptext.h"

namespace orvello {

// image may be null (a photo without a listing): then only the name and the date are known.
PhotoFields photoFields(const ImageFile* image, const QString& fileName,
                        const QString& captureDateText);

}  // namespace orvello
