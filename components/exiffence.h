#pragma once
// The EXIF block decoded by the metadata library with its fragile parts fenced off: maker notes
// (vendor formats) and embedded XMP, IPTC and Photoshop blocks are renamed to tags no directory
// uses before decoding, so they stay plain bytes.
#include <QByteArray>
#include <QHash>
#include <exiv2/exiv2.hpp>

namespace orvello {

struct FencedExif {
    Exiv2::ExifData data;
    Exiv2::ByteOrder order = Exiv2::invalidByteOrder;
    QHash<quint16, quint16> hidden;  // each stand-in tag, with the tag it replaces
};

// tiff: a TIFF structure (an EXIF block or a TIFF file), renamed in place. Throws ImageError when
// it is not one, and whatever the library throws.
FencedExif decodeFencedExif(QByteArray tiff);

}  // namespace orvello
