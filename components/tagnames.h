#pragma once
// Short names of metadata items: the directory's prefix ("Image", "Exif", "Gps", "Interop",
// "Thumb") and the tag's name, with "DateTime" written "DT" and "Original" written "Orig", so
// DateTimeOriginal becomes "ExifDTOrig". An unknown tag is named by its number ("ExifTag9A01").
#include <QString>

namespace orvello {

// The directories whose items the reader lists.
enum class Directory { Image, Exif, Gps, Interop, Thumbnail };

QString shortTagName(Directory dir, quint16 tag);

}  // namespace orvello
