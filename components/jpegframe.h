#pragma once
// What a JPEG's headers before its first scan say, as libjpeg reads them: the picture's size,
// components, sampling and coding, which a lossless copy keeps, and its density and colour
// profile, which every copy takes along.
#include "components/jpegwriter.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace orvello {

struct JpegFrame {
    struct Sampling {
        int h = 1, v = 1;
    };
    QString error;  // libjpeg's words when the headers could not be read; empty when they were
    int width = 0, height = 0;
    QList<Sampling> sampling;  // each component's factors
    bool colour = false;       // three components in YCbCr or RGB
    bool progressive = false, arithmetic = false;
    bool optimized = false;  // Huffman tables other than the standard ones
    unsigned restartInterval = 0;
    PixelDensity density;   // from the JFIF header; unset without one or for its default
    QByteArray iccProfile;  // the APP2 chunks joined; empty when none or damaged

    bool ok() const { return error.isEmpty(); }
};

// Reads the markers before the first scan once; a damaged header gives the error and nothing
// else.
JpegFrame readJpegFrame(const QByteArray& jpeg);

}  // namespace orvello
