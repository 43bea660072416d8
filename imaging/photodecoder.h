#pragma once
// Decoding a photo file for display: JPEG through TurboJPEG, TIFF through libtiff, HEIF through
// libheif. Nothing is allocated for an image above the size and memory caps, a damaged photo is
// never passed off as whole, and the picture comes out opaque.
#include "imaging/decodebudget.h"

#include <QByteArray>
#include <QImage>
#include <QString>

namespace orvello {

struct FileBytes {
    QByteArray bytes;
    QString error;  // empty when read; else the reason, in the interface's language
    bool ok() const { return error.isEmpty(); }
};

// Reads an ordinary file whole; the native path is the file system's own bytes for it.
FileBytes readPhotoFile(const QString& path);
FileBytes readPhotoFile(const QByteArray& nativePath);

// reuse: a buffer a JPEG may be decoded into (see decodeJpeg).
DecodedPhoto decodePhoto(const QByteArray& bytes, QImage reuse = {});

}  // namespace orvello
