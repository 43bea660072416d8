// HEIC photos as phones write them, encoded here through libheif: the picture comes out at its
// size, upright as the file turns it, opaque, from 8 and 10 bits and from grids of tiles; the
// EXIF block behind its offset header is read like a JPEG's.
#include "components/exifreader.h"
#include "components/heifcontainer.h"
#include "components/imageerror.h"
#include "imaging/photodecoder.h"
#include "tests/support/heifcorpus.h"
#include "tools/fixtures/heifwriter.h"
#include "tools/fixtures/photowriter.h"

#include <QPainter>
#include <QtTest>

using namespace orvello;
using fixtures::HeicVariant;

namespace {

// Close enough for a lossy codec, far enough apart to tell the quadrants' colours from another.
bool near(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) < 24 && std::abs(qGreen(a) - qGreen(b)) < 24 &&
           std::abs(qBlue(a) - qBlue(b)) < 24;
}

// The colour at the centre of each quadrant: top left, top right, bottom left, bottom right.
QList<QRgb> quadrants(const QImage& img)
{
    const int w = img.width(), h = img.height();
    return {img.pixel(w / 4, h / 4), img.pixel(3 * w / 4, h / 4), img.pixel(w / 4, 3 * h / 4),
            img.pixel(3 * w / 4, 3 * h / 4)};
}

bool sameQuadrants(const QImage& got, const QImage& want)
{
    const QList<QRgb> a = quadrants(got), b = quadrants(want);
    for (int i = 0; i < 4; ++i)
        if (!near(a[i], b[i])) return false;
    return true;
}

QString dateOf(const QList<PropertyItem>& items)
{
    for (const PropertyItem& item : items)
        if (item.tag() == 0x9003) return item.ParseString();
    return {};
}

}  // namespace

class HeifDecoderTest : public QObject {
    Q_OBJECT

private slots:
    void picturesComeOutUprightAndOpaque_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QImage>("expected");
        const QImage src = fixtures::quadrantImage(96, 64);
        QTest::newRow("8 bits") << fixtures::makeHeic(src) << src;
        HeicVariant deep;
        deep.bitDepth = 10;
        QTest::newRow("10 bits") << fixtures::makeHeic(src, {}, deep) << src;
        // The file turns its picture a quarter right: it comes out turned, at the turned size.
        HeicVariant turned;
        turned.orientation = 6;
        QTest::newRow("turned right by the file")
            << fixtures::makeHeic(src, {}, turned) << src.transformed(QTransform().rotate(90));
        HeicVariant mirrored;
        mirrored.orientation = 2;
        QTest::newRow("mirrored by the file")
            << fixtures::makeHeic(src, {}, mirrored) << src.mirrored(true, false);
        // Phones store their photos as grids of tiles.
        const QImage tile = fixtures::quadrantImage(64, 64);
        QImage grid(128, 128, QImage::Format_RGB32);
        {
            QPainter p(&grid);
            for (int i = 0; i < 4; ++i) p.drawImage((i % 2) * 64, (i / 2) * 64, tile);
        }
        QTest::newRow("grid of 2 x 2 tiles") << fixtures::makeGridHeic(tile, 2, 2) << grid;
        // The stream's parameter set rewritten at its own size: what refuses the hostile sizes
        // below is the size, not the rewriting.
        QTest::newRow("stream rewritten")
            << test::withCodedSize(fixtures::makeHeic(src), 96, 64) << src;
    }

    void picturesComeOutUprightAndOpaque()
    {
        QFETCH(QByteArray, file);
        QFETCH(QImage, expected);
        QVERIFY(!file.isEmpty());
        QVERIFY(looksLikeHeif(file));
        const DecodedPhoto d = decodePhoto(file);
        QVERIFY2(d.error.isEmpty(), qPrintable(d.error));
        QVERIFY(!d.incomplete);
        QVERIFY(d.orientationApplied);  // the EXIF orientation must not turn it again
        QCOMPARE(d.image.format(), QImage::Format_RGB32);
        QCOMPARE(d.image.size(), expected.size());
        QVERIFY(sameQuadrants(d.image, expected));
        // Every pixel opaque, including the padding a codec adds at the edges.
        QCOMPARE(qAlpha(d.image.pixel(d.image.width() - 1, d.image.height() - 1)), 255);
    }

    void alphaIsPutOnWhite()
    {
        QImage src(64, 64, QImage::Format_ARGB32);
        src.fill(qRgba(200, 0, 0, 255));
        for (int y = 0; y < 64; ++y)
            for (int x = 32; x < 64; ++x)
                src.setPixel(x, y, y < 32 ? qRgba(0, 0, 0, 0) : qRgba(0, 0, 200, 128));
        HeicVariant v;
        v.alpha = true;
        v.lossless = true;
        const DecodedPhoto d = decodePhoto(fixtures::makeHeic(src, {}, v));
        QVERIFY2(d.error.isEmpty(), qPrintable(d.error));
        QVERIFY(near(d.image.pixel(8, 8), qRgb(200, 0, 0)));
        QVERIFY(near(d.image.pixel(48, 8), qRgb(255, 255, 255)));   // transparent: white
        QVERIFY(near(d.image.pixel(48, 48), qRgb(127, 127, 227)));  // half blue over white
    }

    void exifIsReadBehindItsOffsetHeader_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("date");  // empty: none; "!": the reader refuses the block
        fixtures::ExifContent dated;
        dated.dateTimeOriginal = QStringLiteral("2024:05:06 07:08:09");
        const QByteArray tiff = fixtures::makeExifTiff(dated);
        const QImage src = fixtures::quadrantImage(32, 32);
        QTest::newRow("libheif's header") << fixtures::makeHeic(src, tiff) << "2024:05:06 07:08:09";
        HeicVariant prefixed;
        prefixed.rawExifItem = QByteArray("\0\0\0\6Exif\0\0", 10) + tiff;
        QTest::newRow("Exif prefix counted by the header")
            << fixtures::makeHeic(src, {}, prefixed) << "2024:05:06 07:08:09";
        HeicVariant outside;
        outside.rawExifItem = QByteArray("\x7F\xFF\xFF\xF0", 4) + tiff;
        QTest::newRow("header pointing outside") << fixtures::makeHeic(src, {}, outside) << "!";
        HeicVariant shortBlock;
        shortBlock.rawExifItem = QByteArray("\0\0", 2);
        QTest::newRow("block shorter than its header")
            << fixtures::makeHeic(src, {}, shortBlock) << "!";
        QTest::newRow("no EXIF block") << fixtures::makeHeic(src) << QString();
    }

    void exifIsReadBehindItsOffsetHeader()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, date);
        QVERIFY(!file.isEmpty());
        try {
            const QList<PropertyItem> items = readPropertyItems(file);
            QVERIFY2(date != "!", "a block pointing outside itself was read");
            QCOMPARE(dateOf(items), date);
        } catch (const ImageError& e) {
            QVERIFY2(date == "!", qPrintable(e.description()));
            QVERIFY(e.description().contains("EXIF block"));
        }
        // The picture is shown whatever its EXIF block holds.
        QVERIFY(decodePhoto(file).error.isEmpty());
    }

    void hostileFilesAreRefusedBeforeAllocating_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("reason");
        const QByteArray small = fixtures::makeHeic(fixtures::quadrantImage(64, 48));
        QTest::newRow("claims 40000 x 40000")
            << fixtures::withClaimedSize(small, 40000, 40000) << "图像过大";
        QTest::newRow("claims 50000 x 10")
            << fixtures::withClaimedSize(small, 50000, 10) << "超过本软件的上限";
        // What a decoder allocates, claimed where only decoding would find it (on a picture
        // libheif codes as one stream, not wrapped in a grid).
        const QByteArray coded = fixtures::makeHeic(fixtures::quadrantImage(96, 64));
        const QString stream = QStringLiteral("图像数据声称 16384 × 16384 像素");
        QTest::newRow("stream claims 16384 x 16384")
            << test::withCodedSize(coded, 16384, 16384) << stream;
        QTest::newRow("stream data claims 16384 x 16384")
            << test::withCodedSize(coded, 16384, 16384, true) << stream;
        QTest::newRow("grid claims 30000 x 30000")
            << test::withGridOutput(fixtures::makeGridHeic(fixtures::quadrantImage(64, 64), 1, 1),
                                    30000, 30000)
            << "拼接图像声称 30000 × 30000 像素";
        QTest::newRow("crop of 2^31 - 1 square")
            << test::withCrop(coded, 0x7FFFFFFF, 0x7FFFFFFF) << "图像过大";
        QTest::newRow("grid with a missing tile")
            << fixtures::makeGridHeic(fixtures::quadrantImage(64, 64), 2, 2, true) << "HEIF";
        QTest::newRow("cut in its header") << small.left(60) << "HEIF";
        QTest::newRow("cut in its picture") << small.left(small.size() - 40) << "HEIF";
    }

    void hostileFilesAreRefusedBeforeAllocating()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, reason);
        const DecodedPhoto d = decodePhoto(file);
        QVERIFY(d.image.isNull());
        QVERIFY2(d.error.contains(reason), qPrintable(d.error));
    }
};

QTEST_GUILESS_MAIN(HeifDecoderTest)
#include "tst_heifdecoder.moc"
