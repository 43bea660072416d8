#pragma once
// What a stamped copy takes along from its photo's file besides the pixels: how the picture was
// stored (its orientation), its colour profile and its pixel density.
#include "components/imagefile.h"
#include "components/jpegwriter.h"
#include "components/photometadata.h"
#include "imaging/colourprofile.h"

#include <QByteArray>

namespace orvello {

struct SourceTraits {
    int orientation = 1;    // the stored tag, 1 when there is none or it is out of range
    QByteArray iccProfile;  // an RGB profile, unchanged; empty when none
    PixelDensity density;   // of the stored picture; unset when the file gives none
};

// jpegHeader: what a JPEG's markers say (empty for a TIFF); listing: the photo's metadata items,
// or null when they could not be read.
SourceTraits readSourceTraits(const JpegHeaderFacts& jpegHeader, const ImageFile* listing);
// The same from a photo's metadata read once: its JPEG headers and its items.
SourceTraits readSourceTraits(const PhotoMetadata& photo);

}  // namespace orvello
