#pragma once
// What decoding a photo may cost, and the shared end of every decoder: refusals worded for the
// user, and the decoded picture made opaque.
#include <QImage>
#include <QString>

namespace orvello {

// The largest photo the program decodes, in pixels.
inline constexpr qint64 kMaxPhotoPixels = 200'000'000;
// The longest side a decoder that can only limit sides may accept: that of a panorama ten times
// as long as it is high within the pixel budget (44,721 pixels).
inline constexpr qint64 kMaxPhotoSide = 44'721;
static_assert(kMaxPhotoSide * (kMaxPhotoSide / 10) <= kMaxPhotoPixels);
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
// pixel, the decoder's own work buffers and the file. An empty text means it may go ahead. Any
// size is safe to pass: a caller that derives workBytes from the size checks it with 0 first.
QString checkBudget(qint64 width, qint64 height, qint64 workBytes, qint64 fileBytes);

// The picture as the canvas holds it, with no transparency left: pixels drawn onto white.
// premultipliedRgba holds RGBA bytes in memory order; it is turned into RGB32 in place.
QImage opaqueFromRgba(QImage premultipliedRgba);

QString outOfMemory(qint64 width, qint64 height);

// Size floors: the most a coded byte can expand to, so that a small file claiming a huge picture
// is refused before anything is allocated for it. Decoded bytes are 8-bit samples.
enum class Coding {
    Huffman,     // Huffman-coded JPEG: at least one bit for every 8 x 8 block
    Arithmetic,  // arithmetic-coded JPEG: a flat area costs next to nothing, so only a generous
                 // bound holds (one byte per 1024 blocks; real photos carry hundreds of times more)
    Stored,      // uncompressed: every decoded byte is in the file
    PackBits,    // a two-byte run code repeats one byte at most 128 times
    Deflate,     // zlib's greatest ratio, 1032 to 1
    Lzw,         // one code of at least 9 bits stands for at most 4096 bytes
    Other,       // any other coding: a bound no ordinary codec exceeds
};

// The most decoded bytes one coded byte can stand for.
qint64 expansionLimit(Coding coding);
// The fewest coded bytes that can decode to decodedBytes.
qint64 minimumCodedBytes(qint64 decodedBytes, Coding coding);

// The refusal of a file whose coded bytes cannot hold the picture it claims.
QString tooSmall(qint64 codedBytes, qint64 width, qint64 height, qint64 neededBytes);

}  // namespace decode
}  // namespace orvello
