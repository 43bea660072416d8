#pragma once
// What a photo says about its colours and its print size, read so that a copy keeps both: the
// ICC profile and the pixel density.
#include "components/jpegwriter.h"

#include <QByteArray>

namespace orvello {

struct JpegHeaderFacts {
    QByteArray iccProfile;  // the APP2 chunks joined; empty when none or damaged
    PixelDensity density;   // from the JFIF header; unset without one or for its default
};

// Reads the markers before the first scan with libjpeg; a damaged header gives what was read.
JpegHeaderFacts readJpegHeaderFacts(const QByteArray& jpeg);

// True for a profile an RGB copy may carry: one whose data colour space is RGB. A grey or CMYK
// photo's profile would describe channels the copy does not have.
bool isRgbProfile(const QByteArray& icc);

}  // namespace orvello
