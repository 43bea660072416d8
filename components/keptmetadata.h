#pragma once
// The metadata a stamped copy carries when the user asks to keep it: the photo's EXIF, XMP and
// IPTC, written for the copy as JPEG segments (EXIF with Orientation 1, the copy's own pixel size
// and no thumbnail, which would show the photo without its stamp). An EXIF block with a maker
// note is kept byte for byte and edited in place (see KeptExifBlock), so the note stays readable;
// where that cannot be done, the note is left out and the copy says so.
#include "components/jpegwriter.h"

#include <QByteArray>
#include <QList>
#include <QSize>
#include <QString>
#include <memory>

namespace orvello {

class PhotoMetadata;

class KeptMetadata {
public:
    // Reads the metadata of a JPEG, TIFF or HEIF photo file. Never throws: what cannot be read is
    // kept as the reason the copy goes without it.
    static std::shared_ptr<const KeptMetadata> read(const QByteArray& photo);
    // The same for a photo already read, best with PhotoMetadata::ExifParse::Kept: its EXIF
    // block is then not parsed again.
    static std::shared_ptr<const KeptMetadata> read(const PhotoMetadata& photo);
    ~KeptMetadata();

    // The segments for a copy of size pixels that shows upright by the given orientation (1 … 8:
    // 1 for a copy stored upright), in the order they go after the JFIF header. Empty when the
    // photo has no metadata; empty with *problem set when its metadata cannot be carried safely.
    QList<JpegSegment> segmentsFor(QSize size, QString* problem, int orientation = 1) const;

    // True when the copies go without the photo's maker note, which could not be kept readable.
    bool leavesOutMakerNote() const;

private:
    KeptMetadata();
    struct Data;
    std::unique_ptr<Data> d_;
};

// An EXIF segment holding only the orientation (2 … 8) and the items a reader requires beside it
// (the density, and where chroma samples lie), for a copy that has no other EXIF to carry it;
// with an empty payload if it cannot be made.
JpegSegment orientationExifSegment(int orientation, PixelDensity density);

// An APP1 segment holding EXIF.
bool isExifSegment(const JpegSegment& s);

// A JPEG's segments before its first scan, marker and payload, up to the first damaged one.
QList<JpegSegment> segmentsBeforeScan(const QByteArray& jpeg);

}  // namespace orvello
