#include "tests/support/badcorpus.h"

#include "tests/support/claimcorpus.h"

#include "tools/fixtures/photowriter.h"
#include "tools/fixtures/variantwriter.h"

#include <QDir>
#include <QtEndian>
#include <climits>

#include <QStringEncoder>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvello::test {

namespace {

using fixtures::Dir;
using fixtures::ExifContent;
using fixtures::ExifEntry;

ExifContent datedContent()
{
    ExifContent s;
    s.make = QStringLiteral("Orvello");
    s.model = QStringLiteral("Corpus One");
    s.dateTimeOriginal = QString::fromLatin1(corpusDate);
    return s;
}

QImage smallPicture()
{
    return fixtures::quadrantImage(32, 24);
}

QByteArray jpegWithTiff(const QByteArray& tiff)
{
    const QByteArray plain = fixtures::makeJpeg(smallPicture(), {});
    return fixtures::insertAfterSoi(
        plain, {fixtures::jpegSegment(0xE1, QByteArray("Exif\0\0", 6) + tiff)});
}

QByteArray jpegWith(const ExifContent& content)
{
    return fixtures::makeJpeg(smallPicture(), content);
}

// Little-endian TIFF structures only: the fixtures write "II" unless asked otherwise.
quint16 get16(const QByteArray& b, qsizetype pos)
{
    return qFromLittleEndian<quint16>(reinterpret_cast<const uchar*>(b.constData()) + pos);
}

void put32(QByteArray& b, qsizetype pos, quint32 v)
{
    qToLittleEndian(v, reinterpret_cast<uchar*>(b.data()) + pos);
}

// Position of the primary directory's next-directory link.
qsizetype ifd0NextPos(const QByteArray& tiff)
{
    return 8 + 2 + 12 * qsizetype(get16(tiff, 8));
}

QByteArray loopNext()
{
    QByteArray tiff = fixtures::makeExifTiff(datedContent());
    put32(tiff, ifd0NextPos(tiff), 8);
    return jpegWithTiff(tiff);
}

QByteArray loopBackToIfd0()
{
    ExifContent s;
    s.make = QStringLiteral("Orvello");
    ExifEntry pointer = ExifEntry::longs(Dir::Image, 0x8769, {0});
    pointer.offsetField = 8;
    s.extra << pointer;
    return jpegWithTiff(fixtures::makeExifTiff(s));
}

QByteArray loopThumbnail()
{
    ExifContent s = datedContent();
    s.extra << ExifEntry::rationals(Dir::Thumbnail, 0x011A, {{72, 1}});
    QByteArray tiff = fixtures::makeExifTiff(s);
    // The thumbnail directory is written last: its link leads back to the primary one.
    const qsizetype ifd1 = qFromLittleEndian<quint32>(
        reinterpret_cast<const uchar*>(tiff.constData()) + ifd0NextPos(tiff));
    put32(tiff, ifd1 + 2 + 12 * get16(tiff, ifd1), 8);
    return jpegWithTiff(tiff);
}

QByteArray overflowingCounts()
{
    ExifContent s = datedContent();
    s.extra << ExifEntry::raw(Dir::Exif, 0xA002, 4, 0x40000001u, QByteArray(4, '\1'));
    s.extra << ExifEntry::raw(Dir::Exif, 0xA003, 3, 0x80000002u, QByteArray(4, '\2'));
    s.extra << ExifEntry::raw(Dir::Image, 0x011A, 5, 0x20000001u, QByteArray(16, '\3'));
    s.extra << ExifEntry::raw(Dir::Exif, 0x9286, 7, 0xFFFFFFFFu, QByteArray(8, 'x'));
    return jpegWith(s);
}

QByteArray hugeCounts()
{
    ExifContent s = datedContent();
    s.extra << ExifEntry::raw(Dir::Exif, 0x9286, 7, 0x0FFFFFFFu, QByteArray(16, 'u'));
    s.extra << ExifEntry::raw(Dir::Image, 0x010E, 2, 0x0FFFFFFFu, QByteArray(16, 'a'));
    s.extra << ExifEntry::raw(Dir::Image, 0x0131, 4, 0x0FFFFFFFu, QByteArray(16, 'l'));
    return jpegWith(s);
}

QByteArray unterminatedMake()
{
    ExifContent s;
    s.extra << ExifEntry::asciiBytes(Dir::Image, 0x010F, "Orvello");  // the block's last bytes
    return jpegWithTiff(fixtures::makeExifTiff(s));
}

QByteArray unterminatedDate()
{
    ExifContent s;
    s.extra << ExifEntry::asciiBytes(Dir::Exif, 0x9003, corpusDate);
    return jpegWithTiff(fixtures::makeExifTiff(s));
}

QByteArray manyEntries()
{
    ExifContent s = datedContent();
    for (int i = 0; i < 300; ++i)
        s.extra << ExifEntry::shorts(Dir::Exif, quint16(0xC000 + i), {quint16(i)});
    return jpegWith(s);
}

QByteArray extremeRationals()
{
    ExifContent s = datedContent();
    s.extra << ExifEntry::rationals(Dir::Image, 0x011A, {{1, 0}});
    s.extra << ExifEntry::rationals(Dir::Image, 0x011B, {{0, 0}});
    s.extra << ExifEntry::srationals(Dir::Exif, 0x9204, {{INT_MIN, -1}, {1, 0}, {0, 0}});
    // Where the metadata library turns values into offsets and sizes.
    s.extra << ExifEntry::srationals(Dir::Image, 0x0111, {{INT_MIN, -1}});
    s.extra << ExifEntry::srationals(Dir::Image, 0x0117, {{INT_MIN, -1}});
    s.extra << ExifEntry::srationals(Dir::Thumbnail, 0x0201, {{INT_MIN, -1}});
    s.extra << ExifEntry::srationals(Dir::Thumbnail, 0x0202, {{INT_MIN, -1}});
    return jpegWith(s);
}

QByteArray manyIccChunks()
{
    QByteArray profile(1000 * 8000, '\0');
    for (qsizetype i = 0; i < profile.size(); ++i) profile[i] = char(i * 31);
    QList<QByteArray> segments = fixtures::iccSegments(profile, 8000);
    segments << fixtures::makeExifApp1(datedContent());  // found only by walking past them all
    return fixtures::insertAfterSoi(fixtures::makeJpeg(smallPicture(), {}), segments);
}

QByteArray hugeDimensions()
{
    QByteArray jpeg = jpegWith(datedContent());
    qsizetype pos = 2;
    while (pos + 9 < jpeg.size() && uchar(jpeg[pos + 1]) != 0xC0)
        pos += 2 + (uchar(jpeg[pos + 2]) << 8 | uchar(jpeg[pos + 3]));
    // Height and width follow the length and the sample precision.
    for (qsizetype i = pos + 5; i < pos + 9 && i < jpeg.size(); ++i) jpeg[i] = char(0xFF);
    return jpeg;
}

QByteArray badTiffHeader()
{
    return jpegWithTiff(QByteArray("XX*\0\x08\0\0\0\0\0\0\0\0\0", 14));
}

QByteArray ifd0OutOfRange()
{
    QByteArray tiff = fixtures::makeExifTiff(datedContent());
    put32(tiff, 4, 0xFFFFFF00u);
    return jpegWithTiff(tiff);
}

CorpusFile entry(const QString& path, const QString& what, bool lists, const QString& date)
{
    CorpusFile f;
    f.path = path, f.what = what, f.readerLists = lists, f.captureDate = date;
    return f;
}

CorpusFile& add(QList<CorpusFile>& list, const QString& dir, const QString& path,
                const QByteArray& bytes, const QString& what, bool lists, const QString& date = {})
{
    fixtures::writeFile(QDir(dir).filePath(path), bytes);
    list << entry(path, what, lists, date);
    return list.last();
}

qsizetype firstScan(const QByteArray& jpeg)
{
    return jpeg.indexOf(QByteArray("\xFF\xDA", 2));
}

// The frame header's height and width rewritten: a small file that claims a huge picture.
QByteArray claimingSize(QByteArray jpeg, int width, int height)
{
    for (qsizetype i = 2; i + 9 < jpeg.size(); ++i) {
        const uchar m = uchar(jpeg[i + 1]);
        if (uchar(jpeg[i]) == 0xFF && (m == 0xC0 || m == 0xC1 || m == 0xC2)) {
            jpeg[i + 5] = char(height >> 8), jpeg[i + 6] = char(height & 0xFF);
            jpeg[i + 7] = char(width >> 8), jpeg[i + 8] = char(width & 0xFF);
            break;
        }
    }
    return jpeg;
}

QByteArray cmykJpeg(bool progressive)
{
    fixtures::JpegVariant variant;
    variant.colour = fixtures::JpegVariant::Colour::Cmyk;
    variant.progressive = progressive;
    return fixtures::makeJpegLayout(fixtures::quadrantImage(256, 192), variant);
}

// Scan headers without data, each a scan the decoder must take in.
QByteArray withEmptyScans(const QByteArray& jpeg, int count)
{
    // One AC scan of the first component, as named in the frame header.
    const qsizetype frame = jpeg.indexOf(QByteArray("\xFF\xC2", 2));
    QByteArray scan("\xFF\xDA\x00\x08\x01\x01\x00\x01\x3F\x00", 10);
    scan[5] = jpeg[frame + 10];
    QByteArray out = jpeg.left(jpeg.size() - 2);
    out.reserve(jpeg.size() + qsizetype(count) * scan.size());
    for (int i = 0; i < count; ++i) out.append(scan);
    return out + QByteArray("\xFF\xD9", 2);
}

QByteArray cutInScan(const QByteArray& jpeg, int percent)
{
    const qsizetype scan = firstScan(jpeg);
    return jpeg.left(scan + (jpeg.size() - scan) * percent / 100);
}

QByteArray jpegTiffWithGarbage()
{
    fixtures::TiffVariant variant;
    variant.compression = 7;
    variant.rowsPerStrip = 16;
    QByteArray tiff = fixtures::makeTiffLayout(fixtures::quadrantImage(128, 128), variant);
    // Strips come first in the file; the middle of it is the middle of a strip's scan.
    for (qsizetype i = tiff.size() / 3; i < tiff.size() / 3 + 48; ++i) tiff[i] = char(i * 37);
    return tiff;
}

QByteArray tiffLayout(fixtures::TiffVariant variant)
{
    return fixtures::makeTiffLayout(fixtures::quadrantImage(64, 48), variant);
}

// A little-endian EXIF block whose primary directory reaches two EXIF directories: the first
// holds the capture date and the maker note. Either two pointers, or one pointer of count 2.
QByteArray twoExifDirectories(bool oneEntryOfCountTwo)
{
    const QByteArray note = fixtures::vendorMakerNote();
    QByteArray t("II*\0\x08\0\0\0", 8);
    const auto u16 = [&t](quint16 v) { t.append(char(v & 0xFF)).append(char(v >> 8)); };
    const auto u32 = [&u16](quint32 v) { u16(quint16(v & 0xFFFF)), u16(quint16(v >> 16)); };
    const auto entry = [&](quint16 tag, quint16 type, quint32 count, quint32 value) {
        u16(tag), u16(type), u32(count), u32(value);
    };
    const quint32 entries0 = oneEntryOfCountTwo ? 2 : 3;
    const quint32 make = 8 + 2 + 12 * entries0 + 4;
    const quint32 pair = make + 6;
    const quint32 first = pair + 8;               // date and maker note
    const quint32 date = first + 2 + 2 * 12 + 4;  // its values
    const quint32 noteAt = date + 20;
    const quint32 second = noteAt + quint32(note.size());
    u16(quint16(entries0));
    entry(0x010F, 2, 6, make);
    if (oneEntryOfCountTwo) {
        entry(0x8769, 4, 2, pair);
    } else {
        entry(0x8769, 4, 1, first);
        entry(0x8769, 4, 1, second);
    }
    u32(0);
    t.append("Canon\0", 6);
    u32(first), u32(second);
    u16(2);
    entry(0x9003, 2, 20, date);
    entry(0x927C, 7, quint32(note.size()), noteAt);
    u32(0);
    t.append(corpusDate, 20);
    t.append(note);
    u16(1);
    entry(0xA420, 2, 4, 0x00334449);  // "ID3" held in the entry
    u32(0);
    return jpegWithTiff(t);
}

QString hexOf(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

// Texts in UCS-2 as a big-endian camera stores them, behind their character-code prefix.
const QByteArray unicodeComment =
    QByteArray("UNICODE\0", 8) + QByteArray("\x4F\x60\x59\x7D\0 \0O\0K", 10);
const QByteArray unicodeMethod = QByteArray("UNICODE\0", 8) + QByteArray("\0G\0P\0S", 6);

QByteArray bigEndianUnicodeTexts()
{
    ExifContent s = datedContent();
    s.bigEndian = true;
    s.extra << ExifEntry::bytes(Dir::Exif, 0x9286, unicodeComment)
            << ExifEntry::bytes(Dir::Gps, 0x001B, unicodeMethod)
            << ExifEntry::bytes(Dir::Gps, 0x001C, unicodeComment);
    return jpegWith(s);
}

}  // namespace

QList<CorpusFile> writeBadCorpus(const QString& dir)
{
    const QString date = QString::fromLatin1(corpusDate);
    const QByteArray valid = jpegWith(datedContent());
    const QByteArray bigValid =
        fixtures::makeJpeg(fixtures::quadrantImage(256, 192), datedContent());
    const QByteArray tiff = fixtures::makeTiff(smallPicture(), datedContent());
    QList<CorpusFile> c;

    add(c, dir, "empty.jpg", {}, "a file of zero bytes", false).refused("文件是空的");
    add(c, dir, "not-an-image.jpg", "These are notes, not a photo.\n", "a text file named .jpg",
        false)
        .refused("不是 JPEG、TIFF 或 HEIF 图像");
    add(c, dir, "truncated.jpg", bigValid.left(bigValid.size() * 2 / 3),
        "a JPEG cut off inside its scan", true, date)
        .incomplete();
    add(c, dir, "truncated-in-exif.jpg", valid.left(40), "a JPEG cut off inside its EXIF block",
        true)
        .refused("图像尺寸无效");
    add(c, dir, "bad-exif-header.jpg", badTiffHeader(), "an EXIF block without a TIFF header",
        false);
    add(c, dir, "ifd0-out-of-range.jpg", ifd0OutOfRange(),
        "an EXIF block whose first directory lies beyond its end", false);
    add(c, dir, "loop-next.jpg", loopNext(), "a directory whose next link points at itself", true,
        date);
    add(c, dir, "loop-exif.jpg", loopBackToIfd0(),
        "an EXIF directory pointer leading back to the primary directory", true);
    add(c, dir, "loop-thumbnail.jpg", loopThumbnail(),
        "a thumbnail directory linking back to the primary directory", true, date);
    add(c, dir, "count-overflow.jpg", overflowingCounts(),
        "counts whose byte size overflows 32 bits", true, date);
    add(c, dir, "count-0FFFFFFF.jpg", hugeCounts(), "counts of 0x0FFFFFFF", true, date);
    add(c, dir, "unterminated-string.jpg", unterminatedMake(),
        "a text without its zero byte at the end of the block", true);
    add(c, dir, "unterminated-date.jpg", unterminatedDate(),
        "the capture date without its zero byte at the end of the block", true, date);
    add(c, dir, "300-entries.jpg", manyEntries(), "an EXIF directory of 300 entries", true);
    add(c, dir, "rationals.jpg", extremeRationals(),
        "rationals 1/0, 0/0 and INT_MIN/-1, also as offsets and sizes", true, date);
    add(c, dir, "icc-1000.jpg", manyIccChunks(), "1000 colour-profile chunks before the EXIF block",
        true, date);
    add(c, dir, "huge-dimensions.jpg", hugeDimensions(), "a header claiming 65535 x 65535 pixels",
        true, date)
        .refused("JPEG 文件头已损坏");
    add(c, dir, "unsupported-compression.tif",
        fixtures::makeTiff(smallPicture(), datedContent(), 34712),
        "a TIFF with a compression no decoder supports", true, date)
        .refused("不支持这种 TIFF 图像");
    add(c, dir, "truncated.tif", tiff.left(tiff.size() * 3 / 5),
        "a TIFF cut off before its directories", false)
        .refused("TIFF 文件头已损坏");
    add(c, dir, "bigtiff.tif", QByteArray("II+\0\x08\0\0\0", 8) + QByteArray(64, '\0'),
        "a BigTIFF file", false)
        .refused("TIFF 文件头已损坏");

    // CMYK and YCCK JPEGs: the same scan limit and damage rules as every other JPEG.
    add(c, dir, "cmyk-100000-scans.jpg", withEmptyScans(cmykJpeg(true), 100000),
        "a progressive CMYK JPEG with 100,000 empty scans", true)
        .refused("500");
    add(c, dir, "cmyk-cut.jpg", cutInScan(cmykJpeg(false), 40), "a CMYK JPEG cut inside its scan",
        true)
        .incomplete();
    fixtures::JpegVariant ycck;
    ycck.colour = fixtures::JpegVariant::Colour::Ycck;
    add(c, dir, "ycck.jpg", fixtures::makeJpegLayout(smallPicture(), ycck), "a YCCK JPEG", true);
    // Small files that claim huge pictures are refused before anything is allocated.
    fixtures::JpegVariant progressive;
    progressive.progressive = true;
    add(c, dir, "progressive-14142.jpg",
        claimingSize(fixtures::makeJpegLayout(smallPicture(), progressive), 14142, 14142),
        "a 1 KB progressive JPEG claiming 14142 x 14142 pixels", true)
        .refused("容纳不下");
    add(c, dir, "cmyk-14142.jpg",
        claimingSize(fixtures::makeJpegLayout(fixtures::quadrantImage(16, 16),
                                              {fixtures::JpegVariant::Colour::Cmyk}),
                     14142, 14142),
        "a 1 KB CMYK JPEG claiming 14142 x 14142 pixels", true)
        .refused("容纳不下");

    // TIFF through libtiff: damage is incomplete, valid layouts are shown whole.
    add(c, dir, "tiff-jpeg-garbage.tif", jpegTiffWithGarbage(),
        "a JPEG-compressed TIFF with garbage in the middle of a strip", true)
        .incomplete();
    fixtures::TiffVariant tiles;
    tiles.tiled = true;
    add(c, dir, "tiff-tiles-16.tif", tiffLayout(tiles), "a TIFF of 16 x 16 tiles", true);
    fixtures::TiffVariant deep;
    deep.bits = 16;
    deep.bigEndian = true;
    add(c, dir, "tiff-16-bit.tif", tiffLayout(deep), "a big-endian 16-bit RGB TIFF", true);
    fixtures::TiffVariant planes;
    planes.separatePlanes = true;
    planes.compression = 5;
    add(c, dir, "tiff-planes-lzw.tif", tiffLayout(planes), "an LZW TIFF with separate planes",
        true);

    // The maker note stays one item of plain bytes however the EXIF directory is reached.
    const QStringList fenced = {
        QStringLiteral("ExifDTOrig ") + date,
        QStringLiteral("ExifMakerNote ") + hexOf(fixtures::vendorMakerNote())};
    add(c, dir, "makernote-two-pointers.jpg", twoExifDirectories(false),
        "two EXIF pointers, the first leading to a vendor maker note", true, date)
        .lists(fenced);
    add(c, dir, "makernote-count-2.jpg", twoExifDirectories(true),
        "an EXIF pointer of count 2 whose first value leads to a vendor maker note", true, date)
        .lists(fenced);
    // Unicode texts are listed as stored, not swapped into the other byte order.
    add(c, dir, "unicode-texts-be.jpg", bigEndianUnicodeTexts(),
        "a big-endian JPEG with Unicode user comment and GPS texts", true, date)
        .lists({QStringLiteral("ExifUserComment ") + hexOf(unicodeComment),
                QStringLiteral("GpsProcessingMethod ") + hexOf(unicodeMethod),
                QStringLiteral("GpsAreaInformation ") + hexOf(unicodeComment)});

    addHeifCases(c, dir);

    // A name a Chinese Windows system wrote: GB18030 bytes, not UTF-8.
    {
        const QString shown = QStringLiteral("相机照片.jpg");
        QByteArray native = QStringEncoder("GB18030").encode(shown);
        const QByteArray full = QFile::encodeName(dir) + '/' + native;
        const int fd = ::open(full.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd >= 0 && ::write(fd, valid.constData(), size_t(valid.size())) == valid.size()) {
            c << entry(shown, "a photo whose name is GB18030, not UTF-8", true, date);
            c.last().nativePath = native;
        }
        if (fd >= 0) ::close(fd);
    }

    // Names the metadata library would take for an address, standard input or an option.
    QDir(dir).mkpath("http:");
    QDir(dir).mkpath("file:");
    QDir(dir).mkpath("data:");
    for (const char* name :
         {"http://photo.jpg", "file://photo.jpg", "data://photo.jpg", "-", "-photo.jpg"})
        add(c, dir, name, valid, QStringLiteral("a photo opened as %1").arg(name), true, date);
    c << entry(QDir(dir).absoluteFilePath("-"), "a photo named - opened by its full path", true,
               date);

    c << writeClaimCorpus(dir);

    QDir(dir).mkpath("folder.jpg");
    c << entry("folder.jpg", "a folder named .jpg", false, {});
    c.last().refused("不是普通文件");
    const QByteArray fifo = QFile::encodeName(QDir(dir).filePath("pipe.jpg"));
    if (::mkfifo(fifo.constData(), 0600) == 0)
        c << entry("pipe.jpg", "a named pipe, which would block a reader", false, {});
    if (c.last().path == "pipe.jpg") c.last().refused("不是普通文件");
    return c;
}

void removeNativeNames(const QString& dir, const QList<CorpusFile>& corpus)
{
    for (const CorpusFile& f : corpus)
        if (!f.nativePath.isEmpty())
            ::unlink((QFile::encodeName(dir) + '/' + f.nativePath).constData());
}

}  // namespace orvello::test
