#include "tests/support/claimcorpus.h"

#include "tools/fixtures/photowriter.h"
#include "tools/fixtures/variantwriter.h"

#include <QDir>
#include <QtEndian>
#include <algorithm>
#include <array>

namespace orvello::test {

namespace {

using fixtures::JpegVariant;
using fixtures::TiffVariant;

void append16(QByteArray& b, quint32 v)
{
    b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
}

void append32(QByteArray& b, quint32 v)
{
    append16(b, v & 0xFFFF), append16(b, v >> 16);
}

// The frame header's height and width rewritten, whatever the coding.
QByteArray claiming(QByteArray jpeg, int width, int height)
{
    for (qsizetype i = 2; i + 9 < jpeg.size(); ++i) {
        const uchar m = uchar(jpeg[i + 1]);
        const bool frame = m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
        if (uchar(jpeg[i]) == 0xFF && frame) {
            jpeg[i + 5] = char(height >> 8), jpeg[i + 6] = char(height & 0xFF);
            jpeg[i + 7] = char(width >> 8), jpeg[i + 8] = char(width & 0xFF);
            break;
        }
    }
    return jpeg;
}

QByteArray jpegOf(const QImage& pixels, JpegVariant::Colour colour, bool progressive,
                  bool arithmetic)
{
    JpegVariant v;
    v.colour = colour, v.progressive = progressive, v.arithmetic = arithmetic;
    return fixtures::makeJpegLayout(pixels, v);
}

// The first half of the first scan's data, then the end marker: a copy cut short and closed.
QByteArray cutAndClosed(const QByteArray& jpeg)
{
    const qsizetype scan = jpeg.indexOf(QByteArray("\xFF\xDA", 2));
    return jpeg.left(scan + (jpeg.size() - scan) / 2) + QByteArray("\xFF\xD9", 2);
}

// Little-endian directory entries of IFD0 rewritten as one LONG value each.
QByteArray withTags(QByteArray tiff, const QList<std::pair<quint16, quint32>>& values)
{
    auto* b = reinterpret_cast<uchar*>(tiff.data());
    const quint32 ifd = qFromLittleEndian<quint32>(b + 4);
    const quint16 n = qFromLittleEndian<quint16>(b + ifd);
    for (quint16 i = 0; i < n; ++i) {
        uchar* e = b + ifd + 2 + 12 * i;
        for (const auto& [tag, value] : values)
            if (qFromLittleEndian<quint16>(e) == tag) {
                qToLittleEndian<quint16>(4, e + 2);
                qToLittleEndian<quint32>(1, e + 4);
                qToLittleEndian<quint32>(value, e + 8);
            }
    }
    return tiff;
}

// A small single-strip TIFF whose directory then claims width x height in one strip.
QByteArray tiffClaiming(TiffVariant variant, quint32 width, quint32 height)
{
    variant.rowsPerStrip = 24;
    const QByteArray small = fixtures::makeTiffLayout(texturedPicture(16, 24), variant);
    return withTags(small, {{256, width}, {257, height}, {278, height}});
}

// A JPEG-compressed CMYK TIFF of one strip holding the given JPEG stream.
QByteArray cmykJpegTiff(const QByteArray& strip, quint32 width, quint32 height)
{
    return handTiff({{256, 4, {width}},
                     {257, 4, {height}},
                     {258, 3, {8, 8, 8, 8}},
                     {259, 3, {7}},
                     {262, 3, {5}},
                     {277, 3, {4}},
                     {278, 4, {height}},
                     {284, 3, {1}}},
                    {strip});
}

// An EXIF block whose five directories each hold perDirectory entries all pointing at one
// value of valueBytes bytes: a 63 KB file that lists as hundreds of megabytes when nothing
// bounds the listing. The capture date sits among them in the EXIF directory.
QByteArray amplifyingExif(int perDirectory, int valueBytes)
{
    const auto dirSize = [](int entries) { return quint32(2 + 12 * entries + 4); };
    const quint32 ifd0 = 8, exif = ifd0 + dirSize(perDirectory + 2);
    const quint32 gps = exif + dirSize(perDirectory + 2), interop = gps + dirSize(perDirectory);
    const quint32 ifd1 = interop + dirSize(perDirectory), date = ifd1 + dirSize(perDirectory);
    const quint32 value = date + 20;
    QByteArray t("II*\0\x08\0\0\0", 8);
    const auto entry = [&t](quint32 tag, quint32 type, quint32 count, quint32 field) {
        append16(t, tag), append16(t, type), append32(t, count), append32(t, field);
    };
    const auto directory = [&](QList<std::array<quint32, 4>> fixed, quint32 next) {
        append16(t, quint32(fixed.size() + perDirectory));
        for (const auto& e : fixed) entry(e[0], e[1], e[2], e[3]);
        for (int i = 0; i < perDirectory; ++i) entry(0xC000 + i, 7, quint32(valueBytes), value);
        append32(t, next);
    };
    directory({{0x8769, 4, 1, exif}, {0x8825, 4, 1, gps}}, ifd1);
    directory({{0x9003, 2, 20, date}, {0xA005, 4, 1, interop}}, 0);
    directory({}, 0);
    directory({}, 0);
    directory({}, 0);
    t.append(corpusDate, 20);
    QByteArray v(valueBytes, '\0');
    for (int i = 0; i < valueBytes; ++i) v[i] = char('A' + i % 26);
    return t + v;
}

}  // namespace

QByteArray handTiff(QList<TiffEntry> entries, const QList<QByteArray>& strips, bool jpegInterchange)
{
    QByteArray out("II*\0\0\0\0\0", 8);
    QList<quint32> offsets, counts;
    for (const QByteArray& strip : strips) {
        offsets << quint32(out.size());
        counts << quint32(strip.size());
        out += strip;
        if (out.size() % 2) out += '\0';
    }
    entries << TiffEntry{273, 4, offsets} << TiffEntry{279, 4, counts};
    if (jpegInterchange)
        entries << TiffEntry{513, 4, {offsets.value(0)}} << TiffEntry{514, 4, {counts.value(0)}};
    std::sort(entries.begin(), entries.end(),
              [](const TiffEntry& a, const TiffEntry& b) { return a.tag < b.tag; });
    const quint32 ifd = quint32(out.size());
    qToLittleEndian<quint32>(ifd, out.data() + 4);
    QByteArray dir, extra;
    const quint32 extraAt = ifd + 2 + 12 * quint32(entries.size()) + 4;
    for (const TiffEntry& e : entries) {
        QByteArray values;
        for (quint32 v : e.values) e.type == 3 ? append16(values, v) : append32(values, v);
        append16(dir, e.tag), append16(dir, e.type), append32(dir, quint32(e.values.size()));
        if (values.size() <= 4) {
            dir += values.leftJustified(4, '\0');
        } else {
            append32(dir, extraAt + quint32(extra.size()));
            extra += values;
        }
    }
    append16(out, quint32(entries.size()));
    return out + dir + QByteArray(4, '\0') + extra;
}

QByteArray oldStyleJpegTiff(const QImage& pixels)
{
    const QByteArray jpeg = fixtures::makeJpeg(pixels, {}, 95, fixtures::Chroma::Full444);
    const auto w = quint32(pixels.width()), h = quint32(pixels.height());
    return handTiff({{256, 4, {w}},
                     {257, 4, {h}},
                     {258, 3, {8, 8, 8}},
                     {259, 3, {6}},
                     {262, 3, {6}},
                     {277, 3, {3}},
                     {278, 4, {h}},
                     {284, 3, {1}},
                     {512, 3, {1}},
                     {530, 3, {1, 1}}},
                    {jpeg}, true);
}

QImage texturedPicture(int width, int height)
{
    QImage img(width, height, QImage::Format_RGB32);
    quint32 seed = 12345;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            seed = seed * 1103515245u + 12345u;
            const int noise = int((seed >> 16) & 63);
            img.setPixel(
                x, y,
                qRgb((x * 3 + noise) & 255, (y * 5 + noise) & 255, (x * y / 7 + noise) & 255));
        }
    return img;
}

QList<CorpusFile> writeClaimCorpus(const QString& dir)
{
    using C = JpegVariant::Colour;
    QList<CorpusFile> c;
    const auto add = [&](const QString& name, const QByteArray& bytes, const QString& what) {
        fixtures::writeFile(QDir(dir).filePath(name), bytes);
        CorpusFile f;
        f.path = name, f.what = what;
        c << f;
        return &c.last();
    };
    const QImage small = texturedPicture(64, 48);
    const QImage detail = texturedPicture(256, 192);
    const QString tooSmall = QStringLiteral("容纳不下");

    // Arithmetic coding: a floor of its own, and a scan that ends early is not whole.
    add("arith-14142.jpg", claiming(jpegOf(small, C::YCbCr, false, true), 14142, 14142),
        "an arithmetic-coded JPEG claiming 14142 x 14142")
        ->refused(tooSmall);
    add("arith-progressive-14142.jpg", claiming(jpegOf(small, C::YCbCr, true, true), 14142, 14142),
        "a progressive arithmetic JPEG claiming 14142 x 14142")
        ->refused(tooSmall);
    add("arith-cmyk-14142.jpg", claiming(jpegOf(small, C::Cmyk, true, true), 14142, 14142),
        "a progressive arithmetic CMYK JPEG claiming 14142 x 14142")
        ->refused(tooSmall);
    const QByteArray arith = jpegOf(detail, C::YCbCr, false, true);
    add("arith.jpg", arith, "an arithmetic-coded JPEG with detail everywhere");
    add("arith-progressive.jpg", jpegOf(detail, C::YCbCr, true, true),
        "a progressive arithmetic JPEG with detail everywhere");
    add("arith-flat.jpg", jpegOf(fixtures::quadrantImage(256, 192), C::Cmyk, false, true),
        "an arithmetic CMYK JPEG whose flat end the encoder left out");
    add("arith-cut-closed.jpg", cutAndClosed(arith),
        "an arithmetic JPEG cut at half its scan and closed with an end marker")
        ->incomplete();
    add("arith-cut.jpg", arith.left(arith.indexOf("\xFF\xDA") + arith.size() / 2),
        "an arithmetic JPEG cut at half its scan")
        ->incomplete();

    // Only coded scan data counts toward the floor: not what follows the end, nor segments.
    const QByteArray cmykClaim = claiming(jpegOf(small, C::Cmyk, true, false), 14142, 14142);
    add("cmyk-14142-trailing-zeros.jpg", cmykClaim + QByteArray(1'700'000, '\0'),
        "a progressive CMYK JPEG claiming 14142 x 14142, then 1.7 MB of zeros after its end")
        ->refused(tooSmall);
    QList<QByteArray> comments;
    for (int i = 0; i < 27; ++i) comments << fixtures::jpegSegment(0xFE, QByteArray(65000, 'c'));
    add("cmyk-14142-comments.jpg", fixtures::insertAfterSoi(cmykClaim, comments),
        "a progressive CMYK JPEG claiming 14142 x 14142 behind 1.7 MB of comments")
        ->refused(tooSmall);

    // TIFF: each strip can hold only what its coding lets its bytes expand to.
    TiffVariant lzw;
    lzw.compression = 5;
    add("tiff-lzw-14142.tif", tiffClaiming(lzw, 14142, 14142),
        "an LZW TIFF strip of a few hundred bytes claiming 14142 x 14142")
        ->refused(tooSmall);
    add("tiff-lzw-1x200M.tif", tiffClaiming(lzw, 1, 200'000'000),
        "an LZW TIFF claiming 1 x 200,000,000")
        ->refused(tooSmall);
    TiffVariant plain;
    add("tiff-plain-1x200M.tif", tiffClaiming(plain, 1, 200'000'000),
        "an uncompressed TIFF claiming 1 x 200,000,000")
        ->refused(tooSmall);
    TiffVariant deflate;
    deflate.compression = 8;
    add("tiff-deflate-14142.tif", tiffClaiming(deflate, 14142, 14142),
        "a Deflate TIFF claiming 14142 x 14142")
        ->refused(tooSmall);
    TiffVariant planar;
    planar.compression = 8, planar.bits = 16, planar.separatePlanes = true;
    planar.colour = TiffVariant::Colour::Rgba;
    add("tiff-planar-rgba16-14142.tif", tiffClaiming(planar, 14142, 14142),
        "a 16-bit RGBA Deflate TIFF in separate planes claiming 14142 x 14142")
        ->refused(tooSmall);
    add("tiff-jpeg-cmyk-14142.tif",
        cmykJpegTiff(claiming(jpegOf(small, C::Cmyk, true, false), 14142, 14142), 14142, 14142),
        "a JPEG TIFF whose strip is a 1 KB progressive CMYK JPEG claiming 14142 x 14142")
        ->refused(tooSmall);
    // Whole-strip coefficients inside libtiff: a progressive CMYK strip needs 8 bytes a pixel
    // beside the strip's samples and the picture.
    add("tiff-jpeg-cmyk-progressive.tif",
        cmykJpegTiff(jpegOf(texturedPicture(1200, 1200), C::Cmyk, true, false), 1200, 1200),
        "a JPEG TIFF whose strip is a progressive CMYK JPEG")
        ->refused(QStringLiteral("内存"));

    // EXIF that multiplies itself: listed within bounds, the capture date still found.
    {
        const QByteArray exif = amplifyingExif(250, 48'000);
        CorpusFile* f = add("exif-amplified.jpg",
                            fixtures::insertAfterSoi(
                                fixtures::makeJpeg(small, {}),
                                {fixtures::jpegSegment(0xE1, QByteArray("Exif\0\0", 6) + exif)}),
                            "250 entries in each EXIF directory, all pointing at one 48 KB value");
        f->captureDate = QString::fromLatin1(corpusDate);
        QString shown;
        for (int i = 0; i < 256; ++i)
            shown += QString::asprintf("%s%02X", i ? " " : "", 'A' + i % 26);
        f->lists({QStringLiteral("ExifDTOrig ") + f->captureDate,
                  QStringLiteral("InteropTagC000 ") + shown + QStringLiteral(" … (48000 bytes)")});
    }

    // A value that forges a line of its own does not give the capture date.
    {
        fixtures::ExifContent forged;
        forged.dateTimeOriginal = QString::fromLatin1(corpusDate);
        forged.extra << fixtures::ExifEntry::ascii(
            fixtures::Dir::Image, 0x010E, QStringLiteral("x\r\nExifDTOrig 1999:09:09 09:09:09"));
        CorpusFile* f = add("forged-date-line.jpg", fixtures::makeJpeg(small, forged),
                            "a description holding a line break and a forged capture date");
        f->captureDate = QString::fromLatin1(corpusDate);
        f->lists({QStringLiteral("ExifDTOrig ") + f->captureDate});
    }

    // A warning from libtiff about the old coding is not damage.
    add("old-style-jpeg.tif", oldStyleJpegTiff(fixtures::quadrantImage(64, 48)),
        "an old-style JPEG TIFF (compression 6)");
    for (CorpusFile& f : c) f.readerLists = true;
    return c;
}

}  // namespace orvello::test
