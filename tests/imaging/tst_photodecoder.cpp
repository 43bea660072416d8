#include "imaging/jpegdecoder.h"
#include "imaging/photodecoder.h"
#include "tests/support/claimcorpus.h"
#include "tools/fixtures/photowriter.h"
#include "tools/fixtures/variantwriter.h"

#include <QBuffer>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QtTest>

using namespace orvello;

namespace {

QImage gradient(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb(x * 255 / w, y * 255 / h, 128));
    return img;
}

QByteArray encode(const QImage& img, const char* format, int quality = 95)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.write(img);
    return bytes;
}

// Rewrites the size in the first start-of-frame segment.
QByteArray withFrameSize(QByteArray jpeg, int w, int h)
{
    for (int i = 2; i + 9 < jpeg.size(); ++i) {
        if (uchar(jpeg[i]) == 0xFF && (uchar(jpeg[i + 1]) == 0xC0 || uchar(jpeg[i + 1]) == 0xC2)) {
            jpeg[i + 5] = char(h >> 8);
            jpeg[i + 6] = char(h & 0xFF);
            jpeg[i + 7] = char(w >> 8);
            jpeg[i + 8] = char(w & 0xFF);
            break;
        }
    }
    return jpeg;
}

}  // namespace

class PhotoDecoderTest : public QObject {
    Q_OBJECT

private slots:
    void jpegDecodesAtItsOwnSize()
    {
        const QImage src = gradient(300, 200);
        const DecodedPhoto d = decodePhoto(encode(src, "jpeg"));
        QVERIFY(d.error.isEmpty());
        QVERIFY(!d.incomplete);
        QCOMPARE(d.image.size(), QSize(300, 200));
        QCOMPARE(d.image.format(), QImage::Format_RGB32);
        const QRgb p = d.image.pixel(150, 100);
        QVERIFY(qAbs(qRed(p) - 127) < 6 && qAbs(qGreen(p) - 127) < 6 && qAbs(qBlue(p) - 128) < 6);
        QCOMPARE(qAlpha(p), 255);
    }

    // Every layout gives the photo's own colours, sampled in each quadrant.
    void layoutsGiveTheirColours_data()
    {
        using J = fixtures::JpegVariant;
        using T = fixtures::TiffVariant;
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("grey");
        const QImage src = fixtures::quadrantImage(64, 48);
        const auto jpeg = [&](J::Colour c, bool progressive, bool adobe) {
            J variant;
            variant.colour = c, variant.progressive = progressive, variant.adobeMarker = adobe;
            variant.quality = 95;
            return fixtures::makeJpegLayout(src, variant);
        };
        QTest::newRow("jpeg progressive") << jpeg(J::Colour::YCbCr, true, true) << false;
        QTest::newRow("cmyk, Adobe (inverted)") << jpeg(J::Colour::Cmyk, false, true) << false;
        QTest::newRow("cmyk, no Adobe marker") << jpeg(J::Colour::Cmyk, false, false) << false;
        QTest::newRow("cmyk progressive") << jpeg(J::Colour::Cmyk, true, true) << false;
        QTest::newRow("ycck") << jpeg(J::Colour::Ycck, false, true) << false;
        QTest::newRow("rgb (Adobe transform 0)") << jpeg(J::Colour::Rgb, false, true) << false;
        // Valid samplings TurboJPEG does not take, decoded by libjpeg.
        const auto sampled = [&](QList<QSize> factors, bool progressive) {
            J variant;
            variant.sampling = factors, variant.progressive = progressive, variant.quality = 95;
            return fixtures::makeJpegLayout(src, variant);
        };
        QTest::newRow("sampled 3x1") << sampled({{3, 1}}, false) << false;
        QTest::newRow("sampled 1x4, progressive") << sampled({{1, 4}}, true) << false;
        QTest::newRow("chroma finer than luma")
            << sampled({{1, 1}, {2, 2}, {1, 1}}, false) << false;
        J arithmetic;
        arithmetic.arithmetic = arithmetic.progressive = true;
        QTest::newRow("jpeg arithmetic") << fixtures::makeJpegLayout(src, arithmetic) << false;
        const auto tiff = [&](auto change) {
            T variant;
            change(variant);
            return fixtures::makeTiffLayout(src, variant);
        };
        QTest::newRow("tiff strips") << tiff([](T&) {}) << false;
        QTest::newRow("tiff 16x16 tiles") << tiff([](T& t) { t.tiled = true; }) << false;
        QTest::newRow("tiff 16 bit, big-endian")
            << tiff([](T& t) { t.bits = 16, t.bigEndian = true; }) << false;
        QTest::newRow("tiff separate planes, LZW")
            << tiff([](T& t) { t.separatePlanes = true, t.compression = 5; }) << false;
        QTest::newRow("tiff separate 16-bit tiles")
            << tiff([](T& t) { t.separatePlanes = t.tiled = true, t.bits = 16; }) << false;
        QTest::newRow("BigTIFF") << tiff([](T& t) { t.bigTiff = true; }) << false;
        QTest::newRow("tiff cmyk") << tiff([](T& t) { t.colour = T::Colour::Cmyk; }) << false;
        QTest::newRow("tiff jpeg")
            << tiff([](T& t) { t.compression = 7, t.rowsPerStrip = 16; }) << false;
        QTest::newRow("tiff old-style jpeg") << test::oldStyleJpegTiff(src) << false;
        QTest::newRow("tiff grey 16 bit")
            << tiff([](T& t) { t.colour = T::Colour::Grey, t.bits = 16; }) << true;
        QTest::newRow("tiff grey 4 bit")
            << tiff([](T& t) { t.colour = T::Colour::Grey, t.bits = 4; }) << true;
        QTest::newRow("tiff palette 8 bit, deflate")
            << tiff([](T& t) { t.colour = T::Colour::Palette, t.compression = 8; }) << true;
    }

    void layoutsGiveTheirColours()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, grey);
        QVERIFY(!bytes.isEmpty());
        const DecodedPhoto d = decodePhoto(bytes);
        QVERIFY2(d.error.isEmpty(), qPrintable(d.error));
        QVERIFY(!d.incomplete);
        QCOMPARE(d.image.size(), QSize(64, 48));
        QCOMPARE(d.image.format(), QImage::Format_RGB32);
        const QImage src = fixtures::quadrantImage(64, 48);
        // 4-bit grey keeps 16 levels: one step is 17.
        const int tolerance = grey ? 18 : 10;
        for (const QPoint p : {QPoint(8, 8), QPoint(56, 8), QPoint(8, 40), QPoint(56, 40)}) {
            const QRgb want =
                grey ? qRgb(qGray(src.pixel(p)), qGray(src.pixel(p)), qGray(src.pixel(p)))
                     : src.pixel(p);
            const QRgb got = d.image.pixel(p);
            QVERIFY2(qAbs(qRed(got) - qRed(want)) <= tolerance &&
                         qAbs(qGreen(got) - qGreen(want)) <= tolerance &&
                         qAbs(qBlue(got) - qBlue(want)) <= tolerance,
                     qPrintable(QStringLiteral("%1,%2: %3 for %4")
                                    .arg(p.x())
                                    .arg(p.y())
                                    .arg(got, 8, 16)
                                    .arg(want, 8, 16)));
        }
    }

    void transparencyIsDrawnOntoWhite()
    {
        QImage src(32, 16, QImage::Format_ARGB32);
        src.fill(qRgba(200, 0, 0, 255));
        for (int y = 0; y < 16; ++y)
            for (int x = 16; x < 32; ++x) src.setPixel(x, y, qRgba(0, 0, 200, x < 24 ? 0 : 128));
        fixtures::TiffVariant variant;
        variant.colour = fixtures::TiffVariant::Colour::Rgba;
        const DecodedPhoto d = decodePhoto(fixtures::makeTiffLayout(src, variant));
        QVERIFY2(d.error.isEmpty(), qPrintable(d.error));
        QCOMPARE(d.image.format(), QImage::Format_RGB32);
        QCOMPARE(d.image.pixel(4, 4), qRgb(200, 0, 0));
        QCOMPARE(d.image.pixel(20, 4), qRgb(255, 255, 255));  // transparent
        const QRgb half = d.image.pixel(28, 4);               // half blue over white
        QVERIFY(qAbs(qRed(half) - 127) <= 2 && qAbs(qBlue(half) - 227) <= 2);
    }

    // The least bytes a JPEG needs and the memory its decode takes, from its frame header.
    void jpegLayoutBounds()
    {
        fixtures::JpegVariant variant;
        variant.progressive = true;
        const QByteArray small = fixtures::makeJpegLayout(gradient(16, 16), variant);
        QByteArray claimed = withFrameSize(small, 14142, 14142);
        JpegLayout layout = readJpegLayout(claimed);
        QVERIFY(layout.valid && layout.progressive && !layout.arithmetic);
        QCOMPARE(layout.components.size(), 3);
        // 4:2:0: 1768 x 1768 luma blocks and two chroma planes of 884 x 884, one bit each.
        QCOMPARE(layout.minimumBytes(), (1768LL * 1768 + 2 * 884LL * 884 + 7) / 8);
        // Padded to whole MCUs of 2 x 2 luma blocks, 128 bytes per block.
        QCOMPARE(layout.coefficientBytes(), (1768LL * 1768 + 2 * 884LL * 884) * 128);
        const DecodedPhoto d = decodePhoto(claimed);
        QVERIFY(d.image.isNull());
        QVERIFY2(d.error.contains(QStringLiteral("容纳不下")), qPrintable(d.error));
        // What a whole set of coefficients takes depends on the blocks, not on the coding.
        variant.arithmetic = true;
        const JpegLayout arithmetic =
            readJpegLayout(fixtures::makeJpegLayout(gradient(16, 16), variant));
        QCOMPARE(arithmetic.allCoefficientBytes(), (4 + 1 + 1) * 128);
        // A baseline file held in one interleaved scan needs no coefficient buffer.
        QCOMPARE(readJpegLayout(encode(gradient(64, 64), "jpeg")).coefficientBytes(), 0);
    }

    void memoryBudget_data()
    {
        QTest::addColumn<qint64>("width");
        QTest::addColumn<qint64>("height");
        QTest::addColumn<qint64>("work");
        QTest::addColumn<qint64>("file");
        QTest::addColumn<bool>("allowed");
        // 120 megapixels of 16-bit RGB in one strip: 6 bytes a pixel beside the picture.
        QTest::newRow("120 MP, 16-bit TIFF")
            << 12000LL << 10000LL << 720'000'000LL << 720'000'000LL << true;
        QTest::newRow("200 MP progressive 4:4:4")
            << 14142LL << 14142LL << 14142LL * 14142 * 6 << 50'000'000LL << true;
        QTest::newRow("200 MP progressive CMYK: above 2.5 GB")
            << 14142LL << 14142LL << 14142LL * 14142 * 8 << 200'000'000LL << false;
        QTest::newRow("padding beyond 8 bytes a pixel")
            << 1LL << 60000LL << 60000LL * 4 * 128 << 1000LL << false;
        QTest::newRow("above 200 MP") << 20000LL << 10001LL << 0LL << 0LL << false;
    }

    void memoryBudget()
    {
        QFETCH(qint64, width);
        QFETCH(qint64, height);
        QFETCH(qint64, work);
        QFETCH(qint64, file);
        QFETCH(bool, allowed);
        QCOMPARE(decode::checkBudget(width, height, work, file).isEmpty(), allowed);
    }

    void tiffDecodesItsFirstPage()
    {
        const DecodedPhoto d = decodePhoto(encode(gradient(64, 48), "tiff"));
        QVERIFY2(d.error.isEmpty(), qPrintable(d.error));
        QCOMPARE(d.image.size(), QSize(64, 48));
        QCOMPARE(d.image.pixel(0, 0), qRgb(0, 0, 128));
    }

    void truncatedJpegIsShownButMarkedIncomplete()
    {
        fixtures::JpegVariant oddlySampled;
        oddlySampled.sampling = {{3, 2}};
        for (QByteArray jpeg : {encode(gradient(400, 300), "jpeg"),
                                fixtures::makeJpegLayout(gradient(400, 300), oddlySampled)}) {
            jpeg.truncate(jpeg.size() / 2);
            const DecodedPhoto d = decodePhoto(jpeg);
            QVERIFY(d.error.isEmpty());
            QVERIFY(d.incomplete);
            QCOMPARE(d.image.size(), QSize(400, 300));
        }
    }

    void refusedInputs_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray jpeg = encode(gradient(16, 16), "jpeg");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("text named .jpg") << QByteArray("hello, this is not a photo\n");
        QTest::newRow("png content") << encode(gradient(8, 8), "png");
        QTest::newRow("header only") << jpeg.left(4);
        QTest::newRow("65535 x 65535") << withFrameSize(jpeg, 65535, 65535);
        QTest::newRow("zero width") << withFrameSize(jpeg, 0, 16);
        QByteArray tiffGarbage("II*\0\x08\0\0\0", 8);
        tiffGarbage.append(QByteArray(64, '\xEE'));
        QTest::newRow("tiff garbage") << tiffGarbage;
    }

    void refusedInputs()
    {
        QFETCH(QByteArray, bytes);
        const DecodedPhoto d = decodePhoto(bytes);
        QVERIFY(d.image.isNull());
        QVERIFY(!d.error.isEmpty());
    }

    void oversizedHeaderNamesTheSize()
    {
        const DecodedPhoto d =
            decodePhoto(withFrameSize(encode(gradient(16, 16), "jpeg"), 20000, 10001));
        QVERIFY(d.image.isNull());
        QVERIFY2(d.error.contains(QStringLiteral("20000 × 10001")), qPrintable(d.error));
    }

    void readingFiles()
    {
        QTemporaryDir dir;
        QVERIFY(!readPhotoFile(dir.filePath(QStringLiteral("missing.jpg"))).ok());
        QVERIFY(!readPhotoFile(dir.path()).ok());  // a folder
        QFile f(dir.filePath(QStringLiteral("a.jpg")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("abc");
        f.close();
        const FileBytes b = readPhotoFile(f.fileName());
        QVERIFY(b.ok());
        QCOMPARE(b.bytes, QByteArray("abc"));
    }
};

QTEST_GUILESS_MAIN(PhotoDecoderTest)
#include "tst_photodecoder.moc"
