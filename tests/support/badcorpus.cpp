#include "tests/support/badcorpus.h"

#include "tools/fixtures/photowriter.h"

#include <QDir>
#include <QtEndian>
#include <climits>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

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

void add(QList<CorpusFile>& list, const QString& dir, const QString& path, const QByteArray& bytes,
         const QString& what, bool lists, const QString& date = {})
{
    fixtures::writeFile(QDir(dir).filePath(path), bytes);
    list << CorpusFile{path, what, lists, date};
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

    add(c, dir, "empty.jpg", {}, "a file of zero bytes", false);
    add(c, dir, "not-an-image.jpg", "These are notes, not a photo.\n", "a text file named .jpg",
        false);
    add(c, dir, "truncated.jpg", bigValid.left(bigValid.size() * 2 / 3),
        "a JPEG cut off inside its scan", true, date);
    add(c, dir, "truncated-in-exif.jpg", valid.left(40), "a JPEG cut off inside its EXIF block",
        true);
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
        true, date);
    add(c, dir, "unsupported-compression.tif",
        fixtures::makeTiff(smallPicture(), datedContent(), 34712),
        "a TIFF with a compression no decoder supports", true, date);
    add(c, dir, "truncated.tif", tiff.left(tiff.size() * 3 / 5),
        "a TIFF cut off before its directories", false);
    add(c, dir, "bigtiff.tif", QByteArray("II+\0\x08\0\0\0", 8) + QByteArray(64, '\0'),
        "a BigTIFF file", false);

    // Names the metadata library would take for an address, standard input or an option.
    QDir(dir).mkpath("http:");
    QDir(dir).mkpath("file:");
    QDir(dir).mkpath("data:");
    for (const char* name :
         {"http://photo.jpg", "file://photo.jpg", "data://photo.jpg", "-", "-photo.jpg"})
        add(c, dir, name, valid, QStringLiteral("a photo opened as %1").arg(name), true, date);
    c << CorpusFile{QDir(dir).absoluteFilePath("-"), "a photo named - opened by its full path",
                    true, date};

    QDir(dir).mkpath("folder.jpg");
    c << CorpusFile{"folder.jpg", "a folder named .jpg", false, {}};
#ifdef Q_OS_UNIX
    const QByteArray fifo = QFile::encodeName(QDir(dir).filePath("pipe.jpg"));
    if (::mkfifo(fifo.constData(), 0600) == 0)
        c << CorpusFile{"pipe.jpg", "a named pipe, which would block a reader", false, {}};
#endif
    return c;
}

}  // namespace orvello::test
