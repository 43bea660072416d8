#include "imaging/photodecoder.h"

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

    void tiffDecodesItsFirstPage()
    {
        const DecodedPhoto d = decodePhoto(encode(gradient(64, 48), "tiff"));
        QVERIFY2(d.error.isEmpty(), qPrintable(d.error));
        QCOMPARE(d.image.size(), QSize(64, 48));
        QCOMPARE(d.image.pixel(0, 0), qRgb(0, 0, 128));
    }

    void truncatedJpegIsShownButMarkedIncomplete()
    {
        QByteArray jpeg = encode(gradient(400, 300), "jpeg");
        jpeg.truncate(jpeg.size() / 2);
        const DecodedPhoto d = decodePhoto(jpeg);
        QVERIFY(d.error.isEmpty());
        QVERIFY(d.incomplete);
        QCOMPARE(d.image.size(), QSize(400, 300));
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
