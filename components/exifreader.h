#pragma once
// Reads the metadata items of a JPEG, TIFF or HEIF photo held in memory.
#include "components/propertyitem.h"

#include <QByteArray>
#include <QList>

namespace orvello {

struct FencedExif;
class PhotoMetadata;

// The items of the primary, EXIF, GPS, interoperability and thumbnail directories, in the
// file's order (a directory's items where its pointer stands). A JPEG or HEIF without an EXIF
// block has none. Throws ImageError when the bytes are not a JPEG, TIFF or HEIF photo or their EXIF
// structure cannot be read at all.
// Bytes handed over (moved) are changed in place, not copied.
QList<PropertyItem> readPropertyItems(QByteArray bytes);
// The same for a photo already read; the failure is thrown as above.
QList<PropertyItem> propertyItemsOf(const PhotoMetadata& photo);

// The listed items of a parsed block. With release, each value is let go once copied: hundreds of
// entries may share one large value, which the library holds once per entry. Call with an ExivLock
// held.
QList<PropertyItem> listedExifItems(FencedExif& fenced, bool release);

// The TIFF structure of a JPEG's first EXIF segment, found by walking the markers up to the
// first scan; empty when there is none. A segment cut short by the end of the file gives what
// is there.
QByteArrayView findExifBlock(const QByteArray& jpeg);

}  // namespace orvello
