// What orvello-stamp's copies carry, read back by exiftool as any photo manager would: upright
// pictures with the stamp where the upright photo wants it, the colour profile and density of
// the photo, its metadata on request, and the quality asked for.
#include "components/exifreader.h"
#include "imaging/colourprofile.h"
#include "tools/fixtures/cameraexif.h"
#include "tools/fixtures/heifwriter.h"
#include "tools/fixtures/photowriter.h"

#include <QColorSpace>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace orvello;
using fixtures::Dir;
using fixtures::ExifEntry;

namespace {

constexpr int kW = 400, kH = 300;  // the photos as taken

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// exiftool's value of each tag, one "Tag: value" line each; -n gives numbers as stored.
QMap<QString, QString> exiftool(const QString& path, const QStringList& tags, bool numbers = true)
{
    QProcess p;
    QStringList args{QStringLiteral("-S")};
    if (numbers) args << QStringLiteral("-n");
    for (const QString& t : tags) args << QLatin1Char('-') + t;
    p.start(QStringLiteral("exiftool"), args << path);
    p.waitForFinished(60000);
    QMap<QString, QString> values;
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split(u'\n')) {
        const qsizetype colon = line.indexOf(QStringLiteral(": "));
        if (colon > 0) values.insert(line.left(colon), line.mid(colon + 2).trimmed());
    }
    return values;
}

bool runExiftool(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral("exiftool"),
            QStringList{QStringLiteral("-q"), QStringLiteral("-overwrite_original")} + args);
    return p.waitForFinished(60000) && p.exitCode() == 0;
}

// exiftool's own output lines for the arguments, one per line, "[minor]" marks dropped.
QStringList exiftoolLines(const QString& path, const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral("exiftool"), args + QStringList{path});
    p.waitForFinished(60000);
    QStringList lines =
        QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    lines.replaceInStrings(QStringLiteral("[minor] "), QString());
    return lines;
}

// Where the stored picture's pixel (x, y) shows in the picture as taken, for orientation tag.
QPoint takenPoint(int tag, int x, int y)
{
    switch (tag) {
    case 2: return {kW - 1 - x, y};
    case 6: return {kW - 1 - y, x};
    case 8: return {y, kH - 1 - x};
    default: return {x, y};
    }
}

QImage storedFor(const QImage& taken, int tag)
{
    const bool sideways = tag >= 5;
    QImage stored(sideways ? kH : kW, sideways ? kW : kH, QImage::Format_RGB32);
    for (int y = 0; y < stored.height(); ++y)
        for (int x = 0; x < stored.width(); ++x)
            stored.setPixel(x, y, taken.pixel(takenPoint(tag, x, y)));
    return stored;
}

bool near(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) < 24 && std::abs(qGreen(a) - qGreen(b)) < 24 &&
           std::abs(qBlue(a) - qBlue(b)) < 24;
}

// The box of the black stamp's pixels (no quadrant colour is near black).
QRect inkBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qRed(p) < 70 && qGreen(p) < 70 && qBlue(p) < 70) box |= QRect(x, y, 1, 1);
        }
    return box;
}

}  // namespace

class CopyMetadataTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    int runs = 0;

    struct Run {
        int status = -1;
        QByteArray out, err;
        QString copy;  // the copy's path
    };
    Run stamp(const QString& photo, const QStringList& options)
    {
        const QString out = dir.filePath(QStringLiteral("out%1").arg(++runs));
        QDir().mkpath(out);
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(ORVELLO_BIN_DIR "/orvello-stamp"),
                QStringList{QStringLiteral("stamp"), QStringLiteral("--quiet"),
                            QStringLiteral("--out"), out} +
                    options + QStringList{photo});
        p.waitForFinished(120000);
        const QString name =
            QStringLiteral("PM_") + QFileInfo(photo).completeBaseName() + QStringLiteral(".jpg");
        return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError(),
                QDir(out).filePath(name)};
    }

    // A camera photo: quadrants of colour, EXIF with date, camera, GPS and a thumbnail.
    QString cameraPhoto(const QString& name, int tag)
    {
        const QString path = dir.filePath(name);
        fixtures::ExifContent exif;
        exif.dateTimeOriginal = QStringLiteral("2019:08:07 06:05:04");
        exif.make = QStringLiteral("Orvello Test Camera");
        exif.model = QStringLiteral("OTC-1");
        exif.extra << ExifEntry::shorts(Dir::Image, 0x0112, {quint16(tag)});
        exif.thumbnailJpeg = fixtures::makeJpeg(QImage(16, 12, QImage::Format_RGB32), {});
        if (!fixtures::writeFile(
                path,
                fixtures::makeJpeg(storedFor(fixtures::quadrantImage(kW, kH), tag), exif, 95)))
            return {};
        const bool tagged = runExiftool(
            {QStringLiteral("-GPSLatitude=48.8566"), QStringLiteral("-GPSLatitudeRef=N"),
             QStringLiteral("-GPSLongitude=2.3522"), QStringLiteral("-GPSLongitudeRef=E"),
             QStringLiteral("-XMP-tiff:Orientation#=%1").arg(tag),
             QStringLiteral("-IPTC:Keywords=Orvello"), path});
        return tagged ? path : QString();
    }

private slots:
    void initTestCase()
    {
        // Black ink, so the stamp can be told from every quadrant.
        QSettings ini(dir.filePath(QStringLiteral("config/Orvello/Orvello.ini")),
                      QSettings::IniFormat);
        ini.setValue(QStringLiteral("SetLog/addForeColor"), QStringLiteral("0"));
        ini.setValue(QStringLiteral("SetLog/addFontSize"), QStringLiteral("6"));
    }

    // A photo stored sideways or mirrored gives an upright copy, stamped at the lower right of
    // the upright picture; with --keep-metadata exiftool reads the camera's items in it, with
    // Orientation 1, the copy's size and no thumbnail. The same holds for the lossless copy, whose
    // turn is lossless too (no line on standard error: nothing fell back to the full re-encode).
    void uprightCopyKeepsMetadata_data()
    {
        QTest::addColumn<int>("tag");
        QTest::addColumn<QStringList>("options");
        QTest::newRow("rotated 90 clockwise (6)") << 6 << QStringList{"--reencode"};
        QTest::newRow("rotated 90 counter-clockwise (8)") << 8 << QStringList{"--reencode"};
        QTest::newRow("mirrored (2)") << 2 << QStringList{"--reencode"};
        QTest::newRow("lossless, rotated 90 clockwise (6)") << 6 << QStringList();
        QTest::newRow("lossless, mirrored (2)") << 2 << QStringList{"--lossless"};
    }
    void uprightCopyKeepsMetadata()
    {
        QFETCH(int, tag);
        QFETCH(QStringList, options);
        const QString photo = cameraPhoto(QStringLiteral("camera%1.jpg").arg(tag), tag);
        QVERIFY(!photo.isEmpty());
        const Run run = stamp(photo, options + QStringList{QStringLiteral("--keep-metadata")});
        QCOMPARE(run.status, 0);
        QVERIFY2(run.err.isEmpty(), run.err.constData());

        const QImage copy(run.copy);
        QCOMPARE(copy.size(), QSize(kW, kH));
        const QImage taken = fixtures::quadrantImage(kW, kH);
        for (const QPoint p :
             {QPoint(kW / 4, kH / 4), QPoint(3 * kW / 4, kH / 4), QPoint(kW / 4, 3 * kH / 4)})
            QVERIFY(near(copy.pixel(p), taken.pixel(p)));
        const QRect ink = inkBox(copy);
        QVERIFY(!ink.isEmpty());
        QVERIFY2(ink.left() > kW / 2 && ink.top() > kH * 3 / 4,
                 qPrintable(QStringLiteral("ink at %1,%2").arg(ink.left()).arg(ink.top())));

        const auto tags = exiftool(run.copy, {"DateTimeOriginal", "Make", "Model", "GPSLatitude",
                                              "GPSLongitude", "IFD0:Orientation", "ExifImageWidth",
                                              "ExifImageHeight", "ThumbnailImage", "Keywords"});
        QCOMPARE(tags.value("DateTimeOriginal"), QStringLiteral("2019:08:07 06:05:04"));
        QCOMPARE(tags.value("Make"), QStringLiteral("Orvello Test Camera"));
        QCOMPARE(tags.value("Model"), QStringLiteral("OTC-1"));
        QCOMPARE(tags.value("GPSLatitude").left(7), QStringLiteral("48.8566"));
        QCOMPARE(tags.value("GPSLongitude").left(6), QStringLiteral("2.3522"));
        QCOMPARE(tags.value("Orientation"), QStringLiteral("1"));
        QCOMPARE(tags.value("ExifImageWidth"), QString::number(kW));
        QCOMPARE(tags.value("ExifImageHeight"), QString::number(kH));
        QVERIFY(!tags.contains("ThumbnailImage"));
        QCOMPARE(tags.value("Keywords"), QStringLiteral("Orvello"));
        QCOMPARE(exiftool(run.copy, {"XMP-tiff:Orientation"}).value("Orientation"),
                 QStringLiteral("1"));

        // Without the option the copy is upright all the same, and carries no EXIF.
        const Run plain = stamp(photo, options);
        QVERIFY2(plain.err.isEmpty(), plain.err.constData());
        QCOMPARE(QImage(plain.copy).size(), QSize(kW, kH));
        QVERIFY(exiftool(plain.copy, {"DateTimeOriginal", "Make"}).isEmpty());
        // Kept as stored on request: the stored picture, stamped at its own lower right.
        const Run stored = stamp(photo, options + QStringList{QStringLiteral("--no-auto-orient")});
        QVERIFY2(stored.err.isEmpty(), stored.err.constData());
        const QImage asStored(stored.copy);
        QCOMPARE(asStored.size(), tag >= 5 ? QSize(kH, kW) : QSize(kW, kH));
        QVERIFY(near(asStored.pixel(5, 5), QImage(photo).pixel(5, 5)));
        const QRect storedInk = inkBox(asStored);
        QVERIFY(storedInk.left() > asStored.width() / 2 && storedInk.top() > asStored.height() / 2);
    }

    // A JPEG's maker note travels as its bytes; a TIFF photo's storage tags do not travel at all.
    void makerNoteAndTiffItems()
    {
        fixtures::ExifContent exif;
        exif.make = QStringLiteral("Vendor");
        exif.dateTimeOriginal = QStringLiteral("2001:02:03 04:05:06");
        exif.extra << ExifEntry::bytes(Dir::Exif, 0x927C, fixtures::vendorMakerNote());
        const QString jpeg = dir.filePath(QStringLiteral("makernote.jpg"));
        QVERIFY(
            fixtures::writeFile(jpeg, fixtures::makeJpeg(fixtures::quadrantImage(64, 48), exif)));
        const Run run = stamp(jpeg, {QStringLiteral("--keep-metadata")});
        QCOMPARE(run.status, 0);
        QByteArray note;
        for (const PropertyItem& item : readPropertyItems(readAll(run.copy)))
            if (item.tag() == 0x927C) item.GetData(note);
        QCOMPARE(note, fixtures::vendorMakerNote());

        const QString tiff = dir.filePath(QStringLiteral("scan.tif"));
        QVERIFY(
            fixtures::writeFile(tiff, fixtures::makeTiff(fixtures::quadrantImage(64, 48), exif)));
        const Run fromTiff = stamp(tiff, {QStringLiteral("--keep-metadata")});
        QCOMPARE(fromTiff.status, 0);
        const auto tags = exiftool(fromTiff.copy, {"Make", "DateTimeOriginal", "StripOffsets",
                                                   "BitsPerSample", "ExifImageWidth"});
        QCOMPARE(tags.value("Make"), QStringLiteral("Vendor"));
        QCOMPARE(tags.value("DateTimeOriginal"), QStringLiteral("2001:02:03 04:05:06"));
        QVERIFY(!tags.contains("StripOffsets"));
        QCOMPARE(tags.value("ExifImageWidth"), QStringLiteral("64"));
        // A TIFF's maker note lies among its pictures and cannot go; the photo's line says so.
        QVERIFY2(QString::fromUtf8(fromTiff.err).contains(QStringLiteral("副本不含厂商注释")),
                 fromTiff.err.constData());
    }

    // Maker notes stay readable in the copy, whatever they count their offsets from, though the
    // copy drops items before them (the primary directory's sizes, the thumbnail): exiftool reads
    // as many of their items in the copy as in the photo, and finds nothing new to warn about.
    void makerNotesStayReadable_data()
    {
        QTest::addColumn<QString>("make");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("heic");
        QTest::newRow("Canon") << "Canon" << QStringList{"--reencode"} << false;
        QTest::newRow("Canon, lossless") << "Canon" << QStringList() << false;
        QTest::newRow("Sony, lossless") << "SONY" << QStringList{"--lossless"} << false;
        QTest::newRow("Nikon, big-endian")
            << "NIKON CORPORATION" << QStringList{"--reencode"} << false;
        QTest::newRow("Canon in a HEIC") << "Canon" << QStringList() << true;
    }
    void makerNotesStayReadable()
    {
        QFETCH(QString, make);
        QFETCH(QStringList, options);
        QFETCH(bool, heic);
        const QImage stored = storedFor(fixtures::quadrantImage(kW, kH), 6);
        const QByteArray exif = fixtures::cameraExifTiff(make, 6, stored.size());
        const QString photo = dir.filePath(make + (heic ? ".heic" : ".jpg"));
        QVERIFY(fixtures::writeFile(
            photo, heic ? fixtures::makeHeic(stored, exif)
                        : fixtures::insertAfterSoi(
                              fixtures::makeJpeg(stored, {}),
                              {fixtures::jpegSegment(0xE1, QByteArray("Exif\0\0", 6) + exif)})));
        const Run run = stamp(photo, options + QStringList{QStringLiteral("--keep-metadata")});
        QCOMPARE(run.status, 0);
        QVERIFY2(run.err.isEmpty(), run.err.constData());

        const QStringList makerNotes{"-a", "-G1", "-s", "-MakerNotes:all"};
        const QStringList notes = exiftoolLines(photo, makerNotes);
        QVERIFY2(notes.size() >= 3, qPrintable(notes.join(u'\n')));
        QCOMPARE(exiftoolLines(run.copy, makerNotes), notes);
        const QStringList validate{"-validate", "-warning", "-a"};
        const QStringList before = exiftoolLines(photo, validate);
        // The restore data is ours alone: exiftool names it unknown, which is all it should do.
        const QString restoreData = QStringLiteral("Unknown APP11 'ORVELLO-RESTORE' segment");
        for (const QString& line : exiftoolLines(run.copy, validate))
            QVERIFY2(line.startsWith(QStringLiteral("Validate")) || before.contains(line) ||
                         line.endsWith(restoreData),
                     qPrintable(line));
        // What must change for the copy did.
        const auto tags =
            exiftool(run.copy, {"IFD0:Orientation", "ExifImageWidth", "ExifImageHeight",
                                "ThumbnailImage", "IFD0:ImageWidth"});
        QCOMPARE(tags.value("Orientation"), QStringLiteral("1"));
        const QSize size = QImage(run.copy).size();
        QCOMPARE(tags.value("ExifImageWidth"), QString::number(size.width()));
        QCOMPARE(tags.value("ExifImageHeight"), QString::number(size.height()));
        QVERIFY(!tags.contains("ThumbnailImage") && !tags.contains("ImageWidth"));
    }

    // The colour profile goes into every copy unchanged, the density into its JFIF header.
    void profileAndDensityTravel()
    {
        const QByteArray adobe = QColorSpace(QColorSpace::AdobeRgb).iccProfile();
        fixtures::ExifContent exif;
        exif.extra << ExifEntry::rationals(Dir::Image, 0x011A, {{300, 1}})
                   << ExifEntry::rationals(Dir::Image, 0x011B, {{300, 1}})
                   << ExifEntry::shorts(Dir::Image, 0x0112, {6});
        const QString photo = dir.filePath(QStringLiteral("adobe.jpg"));
        QVERIFY(fixtures::writeFile(
            photo,
            fixtures::insertAfterSoi(fixtures::makeJpeg(fixtures::quadrantImage(80, 60), exif),
                                     fixtures::iccSegments(adobe, 200))));
        const Run run = stamp(photo, {});
        QCOMPARE(run.status, 0);
        const JpegHeaderFacts copy = readJpegHeaderFacts(readAll(run.copy));
        QCOMPARE(copy.iccProfile, adobe);
        QCOMPARE(copy.density, (PixelDensity{1, 300, 300}));
        const QStringList description{"ICC_Profile:ProfileDescription"};
        QCOMPARE(exiftool(run.copy, description, false).value("ProfileDescription"),
                 exiftool(photo, description, false).value("ProfileDescription"));
        QCOMPARE(exiftool(run.copy, description, false).value("ProfileDescription"),
                 QStringLiteral("Adobe RGB"));
    }

    // Metadata that cannot be read gives a copy without it and a warning line, never a failed
    // photo; a photo that cannot be stamped fails as it always did, and nothing is written.
    void damageThroughKeptMetadata()
    {
        const QByteArray pixels = fixtures::makeJpeg(fixtures::quadrantImage(64, 48), {});
        const QString damaged = dir.filePath(QStringLiteral("badexif.jpg"));
        QVERIFY(fixtures::writeFile(
            damaged, fixtures::insertAfterSoi(
                         pixels, {fixtures::jpegSegment(
                                     0xE1, QByteArray("Exif\0\0MM\0*\xFF\xFF\xFF\xF0junk", 18))})));
        const Run run = stamp(damaged, {QStringLiteral("--keep-metadata")});
        QCOMPARE(run.status, 0);
        QVERIFY(QFile::exists(run.copy));
        const QString err = QString::fromUtf8(run.err);
        QVERIFY2(err.startsWith(QStringLiteral("警告：")) && err.contains(damaged),
                 qPrintable(err));
        QVERIFY(findExifBlock(readAll(run.copy)).isEmpty());

        const QString cut = dir.filePath(QStringLiteral("cut.jpg"));
        QVERIFY(fixtures::writeFile(cut, pixels.left(pixels.size() / 2)));
        const Run plain = stamp(cut, {});
        const Run kept = stamp(cut, {QStringLiteral("--keep-metadata")});
        QCOMPARE(kept.status, 2);
        QCOMPARE(kept.err, plain.err);
        QVERIFY(!QFile::exists(kept.copy));
    }

    // Quality 1 to 100 is taken, and a lower one gives a smaller copy; anything else is refused
    // before a photo is touched.
    void quality()
    {
        // Fine detail, which a lower quality gives up.
        QImage detail(200, 150, QImage::Format_RGB32);
        for (int y = 0; y < detail.height(); ++y)
            for (int x = 0; x < detail.width(); ++x)
                detail.setPixel(x, y,
                                qRgb((x * 37 + y * 11) & 255, (x * y) & 255, (x ^ y) * 5 & 255));
        const QString photo = dir.filePath(QStringLiteral("quality.jpg"));
        QVERIFY(fixtures::writeFile(photo, fixtures::makeJpeg(detail, {}, 95)));
        const Run best = stamp(photo, {});
        const Run low = stamp(photo, {QStringLiteral("--quality"), QStringLiteral("40")});
        QCOMPARE(low.status, 0);
        QVERIFY(QFileInfo(low.copy).size() * 2 < QFileInfo(best.copy).size());
        for (const char* bad : {"0", "101", "x", "-5"}) {
            const Run refused =
                stamp(photo, {QStringLiteral("--quality"), QString::fromLatin1(bad)});
            QCOMPARE(refused.status, 1);
            QVERIFY(!QFile::exists(refused.copy));
        }
    }
};

QTEST_GUILESS_MAIN(CopyMetadataTest)
#include "tst_copymetadata.moc"
