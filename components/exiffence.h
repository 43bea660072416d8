#pragma once
// The EXIF block decoded by the metadata library with its fragile parts fenced off: maker notes
// (vendor formats) and embedded XMP, IPTC and Photoshop blocks are renamed to tags no directory
// uses before decoding, so they stay plain bytes.
#include <QByteArray>
#include <QHash>
#include <exiv2/exiv2.hpp>

namespace orvello {

// What was changed in a copy of the block before the library reads it.
struct StandIns {
    QHash<quint16, quint16> tags;    // stand-in tag -> the tag it replaces
    QHash<quint16, quint32> counts;  // stand-in tag -> the count before its value was shortened
};

struct FencedExif {
    Exiv2::ExifData data;
    Exiv2::ByteOrder order = Exiv2::invalidByteOrder;
    StandIns hidden;
};

// tiff: a TIFF structure (an EXIF block or a TIFF file), renamed in place. Throws ImageError when
// it is not one, and whatever the library throws. The result is the library's: hold an ExivLock
// while it is used and until it is gone.
FencedExif decodeFencedExif(QByteArray tiff);

// How many blocks decodeFencedExif has been given in this process: a photo's readers share one
// parse, and the benchmarks and tests count that they do.
quint64 exifBlocksParsed();

}  // namespace orvello
