#pragma once
// JPEG decoding through TurboJPEG (libjpeg for what TurboJPEG does not take), for every colour
// space a camera or an editor writes (YCbCr, grey, RGB, CMYK and YCCK), with a scan limit, damage
// reported as incomplete, and files refused before any allocation when they are too small for the
// pixels they claim or would need more memory than allowed.
#include "imaging/decodebudget.h"

#include <QByteArray>
#include <QList>

namespace orvello {

// What the markers before the first scan say about a JPEG.
struct JpegLayout {
    struct Component {
        int h = 1, v = 1;  // sampling factors
    };
    bool valid = false;  // a frame header was found
    int width = 0, height = 0;
    bool progressive = false;
    bool arithmetic = false;
    QList<Component> components;
    int firstScanComponents = 0;  // 0: no scan header before the end of the file
    bool adobe = false;           // an Adobe APP14 marker: CMYK stored inverted
    // The entropy-coded bytes of every scan up to the end marker: the only bytes that can hold
    // pixels (not segments such as comments, nor anything after the end).
    qint64 codedBytes = 0;

    // The least coded data a complete file can hold, by its coding (see decode::Coding).
    qint64 minimumBytes() const;
    // Every DCT coefficient of the picture, padded to whole MCUs, at 2 bytes each: what one
    // whole-image coefficient buffer holds.
    qint64 allCoefficientBytes() const;
    // The decoder's whole-image coefficient buffer, when the scans need one; else 0.
    qint64 coefficientBytes() const;
};

JpegLayout readJpegLayout(const QByteArray& jpeg);

// reuse: a picture whose buffer may be decoded into when it has the size and format needed and
// nothing else shares it, sparing a fresh allocation and its page faults.
DecodedPhoto decodeJpeg(const QByteArray& jpeg, QImage reuse = {});

// The picture at the smallest of the decoder's reduced scales whose long side is still at least
// longSideAtLeast, for a quick first look: most of a full decode's cost is in the pixels it
// writes. Null when no reduced scale fits, or when decodeJpeg would refuse the file or take
// another decoder (arithmetic coding, sampling TurboJPEG does not take): the full decode then
// speaks for it.
DecodedPhoto decodeJpegReduced(const QByteArray& jpeg, int longSideAtLeast);

// A smaller picture of the photo that its camera put into the file: the EXIF thumbnail, or an
// MPF preview image (a large thumbnail) after the photo's own data. The span lies in the bytes.
struct EmbeddedJpeg {
    qint64 offset = 0;
    qint64 length = 0;
};
QList<EmbeddedJpeg> embeddedJpegs(const QByteArray& jpeg);

// The smallest embedded picture whose long side is at least longSideAtLeast, in the photo's
// proportions (a letter-boxed thumbnail is not) and at most a quarter of its pixels, decoded
// whole and undamaged: something to show at once while the photo itself is decoded. Null when
// there is none.
DecodedPhoto decodeEmbeddedPreview(const QByteArray& jpeg, int longSideAtLeast);

}  // namespace orvello
