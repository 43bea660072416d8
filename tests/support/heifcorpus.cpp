// The HEIC part of the bad-input corpus: phone photos as libheif writes them, and files damaged
// in their container, their size, their tiles and their EXIF block.
#include "tests/support/badcorpus.h"

#include "tools/fixtures/heifwriter.h"
#include "tools/fixtures/photowriter.h"

#include <QDir>
#include <QtEndian>

namespace orvello::test {

namespace {

using fixtures::Dir;
using fixtures::ExifContent;
using fixtures::ExifEntry;

CorpusFile& add(QList<CorpusFile>& list, const QString& dir, const QString& path,
                const QByteArray& bytes, const QString& what, bool lists, const QString& date = {})
{
    fixtures::writeFile(QDir(dir).filePath(path), bytes);
    CorpusFile f;
    f.path = path, f.what = what, f.readerLists = lists, f.captureDate = date;
    list << f;
    return list.last();
}

}  // namespace

void addHeifCases(QList<CorpusFile>& c, const QString& dir)
{
    const QString date = QString::fromLatin1(corpusDate);
    ExifContent dated;
    dated.make = QStringLiteral("Orvello");
    dated.model = QStringLiteral("Phone One");
    dated.dateTimeOriginal = date;
    const QByteArray tiff = fixtures::makeExifTiff(dated);
    const QImage picture = fixtures::quadrantImage(64, 48);
    const QByteArray valid = fixtures::makeHeic(picture, tiff);

    add(c, dir, "phone.heic", valid, "a dated HEIC", true, date)
        .lists({QStringLiteral("ExifDTOrig ") + date});
    // A phone turns the picture in the file and says so in EXIF too.
    ExifContent turnedExif = dated;
    turnedExif.extra << ExifEntry::shorts(Dir::Image, 0x0112, {6});
    fixtures::HeicVariant turned;
    turned.orientation = 6;
    add(c, dir, "turned.HEIC",
        fixtures::makeHeic(picture, fixtures::makeExifTiff(turnedExif), turned),
        "a HEIC turned by the file, with EXIF orientation 6", true, date);
    QByteArray damagedTiff = tiff;
    qToLittleEndian(quint32(0xFFFFFF00u), reinterpret_cast<uchar*>(damagedTiff.data()) + 4);
    add(c, dir, "damaged-exif.heif", fixtures::makeHeic(picture, damagedTiff),
        "a HEIF whose EXIF block's first directory lies beyond its end", false);
    fixtures::HeicVariant outside;
    outside.rawExifItem = QByteArray("\xFF\xFF\xFF\x00", 4) + tiff;
    add(c, dir, "exif-header-outside.heic", fixtures::makeHeic(picture, {}, outside),
        "a HEIC whose EXIF offset header points outside the block", false);
    add(c, dir, "truncated.heic", valid.left(valid.size() / 2), "a HEIC cut in half", false)
        .refused("HEIF 文件已损坏");
    add(c, dir, "claims-60000.heic", fixtures::withClaimedSize(valid, 60000, 60000),
        "a small HEIC claiming 60000 x 60000 pixels", true, date)
        .refused("图像过大");
    add(c, dir, "claims-70000.heic", fixtures::withClaimedSize(valid, 70000, 70000),
        "a small HEIC claiming 70000 x 70000 pixels, beyond libheif's limit", false)
        .refused("超过本软件的上限");
    add(c, dir, "grid-missing-tile.heic",
        fixtures::makeGridHeic(fixtures::quadrantImage(64, 64), 2, 2, true),
        "a grid of 2 x 2 tiles with one tile missing", true)
        .refused("HEIF 图像数据无法解码");
}

}  // namespace orvello::test
