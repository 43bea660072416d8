#pragma once
// What decoding a photo may cost, and the shared end of every decoder: refusals worded for the
// user, and the decoded picture made opaque.
#include <QImage>
#include <QString>

namespace orvello {

// The largest photo the program decodes, in pixels.
inline constexpr qint64 kMaxPhotoPixels = 200'000'000;
// The most memory one decode may take, the file's own bytes included.
inline constexpr qint64 kMaxDecodeBytes = 2'500'000'000;
// What a decoder may hold beside the finished picture, per pixel (a whole-image buffer of
// coefficients or samples), and a fixed allowance for small photos and row buffers.
inline constexpr qint64 kMaxWorkBytesPerPixel = 8;
inline constexpr qint64 kWorkSlackBytes = 4 << 20;

struct DecodedPhoto {
    QImage image;             // null when the photo cannot be shown
    bool incomplete = false;  // decoded, but part of the data was missing or damaged
    QString error;            // why it cannot be shown, in the interface's language
    // The file's own rotation and mirroring are already applied to the picture (HEIF): the
    // EXIF orientation tag, which describes the same turn, must not be applied again.
    bool orientationApplied = false;
};

namespace decode {

DecodedPhoto refused(const QString& reason);

// Checks the claimed size and the memory a decode would need: the finished picture at 4 bytes a
// pixel, the decoder's own work buffers and the file. An empty text means it may go ahead.
QString checkBudget(qint64 width, qint64 height, qint64 workBytes, qint64 fileBytes);

// The picture as the canvas holds it, with no transparency left: pixels drawn onto white.
// premultipliedRgba holds RGBA bytes in memory order; it is turned into RGB32 in place.
QImage opaqueFromRgba(QImage premultipliedRgba);

QString outOfMemory(qint64 width, qint64 height);

}  // namespace decode
}  // namespace orvello
