// Photos stored sideways or mirrored open upright, by the orientation tag of a JPEG's EXIF or of a
// TIFF, while the listing keeps the stored tag; and what a copy takes from the file (colour
// profile, density) is read from the places cameras and editors put it.
#include "components/exifreader.h"
#include "photo/photoloader.h"
#include "tools/fixtures/heifwriter.h"
#include "tools/fixtures/photowriter.h"

#include <QColorSpace>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

using namespace orvello;
using fixtures::Dir;
using fixtures::ExifEntry;

Q_DECLARE_METATYPE(orvello::PixelDensity)

namespace {

constexpr int kW = 64, kH = 48;  // the photo as taken

// The stored picture for an orientation tag, from the tag's own definition: where the stored
// first row and first column lie in the picture as taken.
QImage storedFor(const QImage& upright, int tag)
{
    const int w = upright.width(), h = upright.height();
    const bool sideways = tag >= 5;
    QImage stored(sideways ? h : w, sideways ? w : h, QImage::Format_RGB32);
    const std::function<QPoint(int, int)> source[9] = {
        {},
        [&](int x, int y) { return QPoint(x, y); },                  // top, left
        [&](int x, int y) { return QPoint(w - 1 - x, y); },          // top, right
        [&](int x, int y) { return QPoint(w - 1 - x, h - 1 - y); },  // bottom, right
        [&](int x, int y) { return QPoint(x, h - 1 - y); },          // bottom, left
        [&](int x, int y) { return QPoint(y, x); },                  // left, top
        [&](int x, int y) { return QPoint(w - 1 - y, x); },          // right, top
        [&](int x, int y) { return QPoint(w - 1 - y, h - 1 - x); },  // right, bottom
        [&](int x, int y) { return QPoint(y, h - 1 - x); },          // left, bottom
    };
    for (int y = 0; y < stored.height(); ++y)
        for (int x = 0; x < stored.width(); ++x)
            stored.setPixel(x, y, upright.pixel(source[tag](x, y)));
    return stored;
}

bool near(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) < 16 && std::abs(qGreen(a) - qGreen(b)) < 16 &&
           std::abs(qBlue(a) - qBlue(b)) < 16;
}

// Each quadrant's centre holds the colour it has in the picture as taken.
bool showsUpright(const QImage& shown, const QImage& upright)
{
    if (shown.size() != upright.size()) return false;
    for (const QPoint p : {QPoint(kW / 4, kH / 4), QPoint(3 * kW / 4, kH / 4),
                           QPoint(kW / 4, 3 * kH / 4), QPoint(3 * kW / 4, 3 * kH / 4)})
        if (!near(shown.pixel(p), upright.pixel(p))) return false;
    return true;
}

fixtures::ExifContent orientedExif(int tag)
{
    fixtures::ExifContent exif;
    exif.dateTimeOriginal = QStringLiteral("2021:06:07 08:09:10");
    exif.extra << ExifEntry::shorts(Dir::Image, 0x0112, {quint16(tag)});
    // The thumbnail's own orientation says nothing about the photo.
    exif.extra << ExifEntry::shorts(Dir::Thumbnail, 0x0112, {1});
    return exif;
}

}  // namespace

class OrientationTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        return fixtures::writeFile(path, bytes) ? path : QString();
    }

private slots:
    void opensAsTaken_data()
    {
        QTest::addColumn<bool>("tiff");
        QTest::addColumn<int>("tag");
        for (const bool tiff : {false, true})
            for (int tag = 1; tag <= 8; ++tag)
                QTest::addRow("%s %d", tiff ? "tiff" : "jpeg", tag) << tiff << tag;
    }
    void opensAsTaken()
    {
        QFETCH(bool, tiff);
        QFETCH(int, tag);
        const QImage upright = fixtures::quadrantImage(kW, kH);
        const QImage stored = storedFor(upright, tag);
        const QByteArray bytes = tiff ? fixtures::makeTiff(stored, orientedExif(tag))
                                      : fixtures::makeJpeg(stored, orientedExif(tag), 95);
        const QString path =
            write(QStringLiteral("o%1.%2").arg(tag).arg(tiff ? "tif" : "jpg"), bytes);

        const LoadedPhoto loaded = loadPhoto(path);
        QVERIFY2(showsUpright(loaded.photo, upright), qPrintable(loaded.error));
        QCOMPARE(loaded.traits.orientation, tag);
        // The listing shows the file as stored.
        QVERIFY(loaded.exif.text.contains(QStringLiteral("ImageOrientation %1").arg(tag)));

        // Switched off: the picture as stored, as before.
        const LoadedPhoto plain = loadPhoto(path, LoadOptions{false, false});
        QCOMPARE(plain.photo.size(), stored.size());
        QVERIFY(tag == 1 || !showsUpright(plain.photo, upright));
    }

    // A HEIC turns its own picture (irot): the EXIF tag that says the same is not applied
    // again, and its EXIF is what a copy keeps.
    void heicTurnedOnce()
    {
        fixtures::HeicVariant turned;
        turned.orientation = 6;
        fixtures::ExifContent exif = orientedExif(6);
        exif.make = QStringLiteral("Phone");
        const QString path = write(QStringLiteral("turned.heic"),
                                   fixtures::makeHeic(fixtures::quadrantImage(96, 64),
                                                      fixtures::makeExifTiff(exif), turned));
        const LoadedPhoto loaded = loadPhoto(path, LoadOptions{true, true});
        QCOMPARE(loaded.photo.size(), QSize(64, 96));
        QCOMPARE(loaded.traits.orientation, 6);
        QVERIFY(loaded.metadata);
        QString problem;
        const QList<JpegSegment> segments = loaded.metadata->segmentsFor({64, 96}, &problem);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        JpegOptions options;
        options.segments = segments;
        const QByteArray copy = encodeJpeg(QImage(8, 8, QImage::Format_RGB32), options);
        QStringList names;
        for (const PropertyItem& item : readPropertyItems(copy))
            names << item.Name() + QLatin1Char(' ') +
                         (item.ItemType() == exiftype::Ascii   ? item.ParseString()
                          : item.ItemType() == exiftype::Short ? QString::number(item.ParseShort(1))
                                                               : QString());
        QVERIFY2(names.contains(QStringLiteral("ImageMake Phone")), qPrintable(names.join(u',')));
        QVERIFY(names.contains(QStringLiteral("ImageOrientation 1")));
    }

    // The density a copy is written with: a JFIF header that states one, else the EXIF or TIFF
    // resolution; turned with the picture.
    void density_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<PixelDensity>("expected");
        const QImage pixels = fixtures::quadrantImage(32, 16);
        fixtures::ExifContent exif;
        exif.extra << ExifEntry::rationals(Dir::Image, 0x011A, {{300, 1}})
                   << ExifEntry::rationals(Dir::Image, 0x011B, {{150, 1}});
        QTest::newRow("exif inches")
            << fixtures::makeJpeg(pixels, exif) << PixelDensity{1, 300, 150};
        QTest::newRow("tiff inches")
            << fixtures::makeTiff(pixels, exif) << PixelDensity{1, 300, 150};
        fixtures::ExifContent cm = exif;
        cm.extra << ExifEntry::shorts(Dir::Image, 0x0128, {3});
        QTest::newRow("exif centimetres")
            << fixtures::makeJpeg(pixels, cm) << PixelDensity{2, 300, 150};
        fixtures::ExifContent turned = exif;
        turned.extra << ExifEntry::shorts(Dir::Image, 0x0112, {8});
        QTest::newRow("exif turned")
            << fixtures::makeJpeg(pixels, turned) << PixelDensity{1, 150, 300};
        JpegOptions jfif;
        jfif.density = {2, 72, 72};
        QTest::newRow("jfif over exif")
            << fixtures::insertAfterSoi(encodeJpeg(pixels, jfif), {fixtures::makeExifApp1(exif)})
            << PixelDensity{2, 72, 72};
        QTest::newRow("none") << fixtures::makeJpeg(pixels, {}) << PixelDensity{};
        fixtures::ExifContent zero;
        zero.extra << ExifEntry::rationals(Dir::Image, 0x011A, {{300, 0}})
                   << ExifEntry::rationals(Dir::Image, 0x011B, {{150, 1}});
        QTest::newRow("zero denominator") << fixtures::makeJpeg(pixels, zero) << PixelDensity{};
    }
    void density()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(PixelDensity, expected);
        const QString path = write(QStringLiteral("density.bin"), bytes);
        const LoadedPhoto loaded = loadPhoto(path);
        QVERIFY(!loaded.photo.isNull());
        QCOMPARE(loaded.traits.density.unit, expected.unit);
        QCOMPARE(loaded.traits.density.x, expected.x);
        QCOMPARE(loaded.traits.density.y, expected.y);
    }

    // An RGB profile travels unchanged, from APP2 chunks however they are split or from the TIFF
    // tag; a grey profile would not describe the RGB copy and stays behind.
    void colourProfile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("kept");
        const QImage pixels = fixtures::quadrantImage(32, 16);
        const QByteArray adobe = QColorSpace(QColorSpace::AdobeRgb).iccProfile();
        QVERIFY(adobe.size() > 128);
        const QByteArray jpeg = fixtures::makeJpeg(pixels, {});
        QTest::newRow("one chunk")
            << fixtures::insertAfterSoi(jpeg, fixtures::iccSegments(adobe)) << true;
        QTest::newRow("split") << fixtures::insertAfterSoi(jpeg, fixtures::iccSegments(adobe, 100))
                               << true;
        fixtures::ExifContent tiffIcc;
        tiffIcc.extra << ExifEntry::bytes(Dir::Image, 0x8773, adobe);
        QTest::newRow("tiff tag") << fixtures::makeTiff(pixels, tiffIcc) << true;
        QByteArray grey = adobe;
        grey.replace(16, 4, "GRAY");
        QTest::newRow("grey") << fixtures::insertAfterSoi(jpeg, fixtures::iccSegments(grey))
                              << false;
        QByteArray cut = fixtures::iccSegments(adobe, 100).first();
        QTest::newRow("chunk missing") << fixtures::insertAfterSoi(jpeg, {cut}) << false;
    }
    void colourProfile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, kept);
        const QString path = write(QStringLiteral("icc.bin"), bytes);
        const LoadedPhoto loaded = loadPhoto(path);
        QVERIFY(!loaded.photo.isNull());
        QCOMPARE(loaded.traits.iccProfile,
                 kept ? QColorSpace(QColorSpace::AdobeRgb).iccProfile() : QByteArray());
    }
};

QTEST_GUILESS_MAIN(OrientationTest)
#include "tst_orientation.moc"
