#pragma once
// Decoding a photo file for display: JPEG through TurboJPEG, TIFF through Qt's reader. Nothing is
// allocated for an image above the size cap, and a damaged JPEG is never passed off as whole.
#include <QByteArray>
#include <QImage>
#include <QString>

namespace orvello {

// The largest photo the program decodes, in pixels.
inline constexpr qint64 kMaxPhotoPixels = 200'000'000;

struct FileBytes {
    QByteArray bytes;
    QString error;  // empty when read; else the reason, in the interface's language
    bool ok() const { return error.isEmpty(); }
};

// Reads an ordinary file whole.
FileBytes readPhotoFile(const QString& path);

struct DecodedPhoto {
    QImage image;             // null when the photo cannot be shown
    bool incomplete = false;  // decoded, but part of the data was missing or damaged
    QString error;            // why it cannot be shown, in the interface's language
};

DecodedPhoto decodePhoto(const QByteArray& bytes);

}  // namespace orvello
