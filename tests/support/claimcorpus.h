#pragma once
// Small files that claim huge pictures or hide damage behind legal coding, and TIFFs written
// byte by byte in layouts libtiff does not write itself.
#include "tests/support/badcorpus.h"

#include <QByteArray>
#include <QImage>
#include <QList>

namespace orvello::test {

// One directory entry of a hand-written little-endian TIFF: SHORT (3) or LONG (4) values.
struct TiffEntry {
    quint16 tag;
    quint16 type;
    QList<quint32> values;
};

// A one-directory TIFF of the given entries and strips; the strip offsets and byte counts are
// added, and with jpegInterchange the old-style JPEG stream tags pointing at the first strip.
QByteArray handTiff(QList<TiffEntry> entries, const QList<QByteArray>& strips,
                    bool jpegInterchange = false);

// An old-style JPEG TIFF (compression 6) of the pixels, one strip, as older scanners wrote it.
QByteArray oldStyleJpegTiff(const QImage& pixels);

// A picture with detail everywhere (no flat area), so that coded data is never trivially small.
QImage texturedPicture(int width, int height);

// Writes the files into dir and lists them with their outcomes.
QList<CorpusFile> writeClaimCorpus(const QString& dir);

}  // namespace orvello::test
