// orvello-stamp's lossless copies, the default for JPEG photos: the copy is the photo's own blocks
// but for those under the stamps, turned and made upright without loss; a photo that cannot be
// copied so is encoded in full with a line saying why, and a damaged photo fails as it always has.
#include "app/startup.h"
#include "overlay/overlay.h"
#include "overlay/overlaytext.h"
#include "photo/photoloader.h"
#include "tests/support/badcorpus.h"
#include "tests/support/jpegprobe.h"
#include "tools/fixtures/photowriter.h"
#include "tools/fixtures/variantwriter.h"

#include <turbojpeg.h>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace orvello;
using namespace orvello::probe;

Q_DECLARE_METATYPE(orvello::PictureTurn)

namespace {

const QString kDate = QStringLiteral("2019:08:07 06:05:04");

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The MCU-aligned pieces of the turned picture that the stamps (the date only) may touch; with
// stored, those of the picture that turn gives back (the copy's stored frame).
QList<QRect> stampPieces(QSize picture, QSize mcu, const AppSettings& settings = {},
                         PictureTurn stored = {})
{
    QImage canvas(picture, QImage::Format_RGB32);
    const QString date = QStringLiteral("2019-08-07 06:05:04");
    const PreparedOverlay overlay =
        prepareOverlay(canvas, makeOverlayInput(settings, date, {}, isPortraitCanvas(picture)));
    const QRect ink = stored.turnedRect(overlay.date.inkRect, picture);
    picture = stored.turnedSize(picture);
    const int left = ink.left() / mcu.width() * mcu.width();
    const int top = ink.top() / mcu.height() * mcu.height();
    return {QRect(QPoint(left, top), ink.bottomRight() + QPoint(mcu.width(), mcu.height())) &
            QRect(QPoint(), picture)};
}

// Decoded by libjpeg's own djpeg (CMYK and YCCK turned to RGB as it does), not by our reader.
QImage djpeg(const QByteArray& jpeg)
{
    QProcess p;
    p.start(QStringLiteral("djpeg"), {QStringLiteral("-pnm")});
    p.write(jpeg);
    p.closeWriteChannel();
    p.waitForFinished(60000);
    return QImage::fromData(p.readAllStandardOutput(), "PPM").convertToFormat(QImage::Format_RGB32);
}

// The bytes a libjpeg tool makes of jpeg, or nothing when it fails.
QByteArray through(const QString& tool, const QStringList& args, const QByteArray& jpeg)
{
    QProcess p;
    p.start(tool, args);
    p.write(jpeg);
    p.closeWriteChannel();
    p.waitForFinished(60000);
    return p.exitCode() == 0 ? p.readAllStandardOutput() : QByteArray();
}

// The copy with every block's DC changed, its segments kept: a picture edited elsewhere.
QByteArray edited(const QByteArray& jpeg)
{
    tjhandle tj = tjInitTransform();
    tjtransform t{};
    t.options = TJXOPT_PERFECT;
    t.customFilter = [](short* c, tjregion array, tjregion, int, int, tjtransform*) {
        for (int i = 0; i < array.w * array.h; i += 64) c[i] += 8;
        return 0;
    };
    unsigned char* out = nullptr;
    unsigned long size = 0;
    QByteArray result;
    if (tjTransform(tj, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                    static_cast<unsigned long>(jpeg.size()), 1, &out, &size, &t, 0) == 0)
        result = QByteArray(reinterpret_cast<char*>(out), qsizetype(size));
    tjFree(out);
    tjDestroy(tj);
    return result;
}

}  // namespace

class LosslessCliTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    QString photo(const QString& name, QSize size, int orientation = 1, bool white = false,
                  fixtures::Chroma chroma = fixtures::Chroma::Half420, bool makerNote = false)
    {
        fixtures::ExifContent exif;
        exif.dateTimeOriginal = kDate;
        if (orientation != 1)
            exif.extra << fixtures::ExifEntry::shorts(fixtures::Dir::Image, 0x0112,
                                                      {quint16(orientation)});
        if (makerNote)
            exif.extra << fixtures::ExifEntry::bytes(fixtures::Dir::Exif, 0x927C,
                                                     fixtures::vendorMakerNote());
        const QString path = dir.filePath(name);
        fixtures::writeFile(path, fixtures::makeJpeg(white ? whitePhoto(size) : grainyPhoto(size),
                                                     exif, 90, chroma));
        return path;
    }
    int run(const QStringList& args, QByteArray* err = nullptr, const QString& out = "out",
            const QString& in = {})
    {
        QProcess p;
        p.setWorkingDirectory(in.isEmpty() ? dir.path() : in);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(ORVELLO_BIN_DIR "/orvello-stamp"),
                QStringList{"stamp", "--overwrite", "--out", dir.filePath(out)} + args);
        p.waitForFinished(120000);
        if (err) *err = p.readAllStandardError();
        return p.exitCode();
    }
    static QImage whitePhoto(QSize size)
    {
        QImage white(size, QImage::Format_RGB32);
        white.fill(Qt::white);
        return white;
    }
    // (The photo loader's header names a namespace decode too.)
    static QImage decode(const QByteArray& jpeg, int flags = 0)
    {
        return probe::decode(jpeg, flags);
    }
    int unstamp(const QStringList& args, QByteArray* err = nullptr)
    {
        QProcess p;
        p.start(QStringLiteral(ORVELLO_BIN_DIR "/orvello-stamp"),
                QStringList{"unstamp", "--out", dir.filePath("restored")} + args);
        p.waitForFinished(60000);
        if (err) *err = p.readAllStandardError();
        return p.exitCode();
    }
    QString copyOf(const QString& name) { return dir.filePath(QStringLiteral("out/PM_") + name); }

private slots:
    void initTestCase()
    {
        QVERIFY(loadDateFonts(QStringLiteral(ORVELLO_BIN_DIR)));
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("out")));
    }

    // Decoding the copy gives the photo's own pixels (turned losslessly) everywhere outside the
    // MCUs around the date; the date looks as the full re-encode draws it; the size stays. A styled
    // date is drawn large on a white photo, where any of its halo, shadow or plate that fell
    // outside the copied-in blocks would show as a cut.
    void keepsThePhotoOutsideTheStamp_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QStringList>("turns");
        QTest::addColumn<PictureTurn>("turn");
        QTest::addColumn<QString>("style");
        const QSize s(1600, 1200);
        QTest::newRow("as stored") << s << 1 << QStringList() << PictureTurn{} << QString();
        QTest::newRow("ragged, as stored")
            << QSize(1605, 1203) << 1 << QStringList() << PictureTurn{} << QString();
        QTest::newRow("rotate left")
            << s << 1 << QStringList{"--rotate", "left"} << PictureTurn::left() << QString();
        QTest::newRow("stored sideways (6)")
            << s << 6 << QStringList() << PictureTurn::right() << QString();
        QTest::newRow("stored mirrored (2), rotate right")
            << s << 2 << QStringList{"--rotate", "right"}
            << PictureTurn::fromOrientation(2).then(PictureTurn::right()) << QString();
        for (const char* style : {"outline", "shadow", "plate"})
            QTest::newRow(style) << s << 1 << QStringList() << PictureTurn{} << QString(style);
        QTest::newRow("plate, rotate left") << s << 1 << QStringList{"--rotate", "left"}
                                            << PictureTurn::left() << QStringLiteral("plate");
    }
    void keepsThePhotoOutsideTheStamp()
    {
        QFETCH(QSize, size);
        QFETCH(int, orientation);
        QFETCH(QStringList, turns);
        QFETCH(PictureTurn, turn);
        QFETCH(QString, style);
        const QString source = photo(QStringLiteral("p.jpg"), size, orientation, !style.isEmpty());
        AppSettings settings;
        if (!style.isEmpty()) {
            settings.addFontSize = 8;
            settings.dateStyle = *decodeStampStyle(style);
            const QString ini = dir.filePath(QStringLiteral("large.ini"));
            fixtures::writeFile(ini, "[SetLog]\naddFontSize=8\n");
            turns << "--settings" << ini << "--date-style" << style;
        }
        QByteArray err;
        QCOMPARE(
            run(QStringList{"--no-restore-data", "--quiet"} + turns + QStringList{source}, &err),
            0);
        QCOMPARE(err, QByteArray());
        const QByteArray copy = readAll(copyOf(QStringLiteral("p.jpg")));
        const QByteArray photoBytes = readAll(source);
        // (A white photo is too small a file for its size to say anything.)
        QVERIFY2(!style.isEmpty() || copy.size() < photoBytes.size() * 103 / 100,
                 qPrintable(QStringLiteral("%1 → %2").arg(photoBytes.size()).arg(copy.size())));

        const QImage stamped = decode(copy, TJFLAG_FASTUPSAMPLE);
        const QSize upright = turn.turnedSize(size);
        QCOMPARE(stamped.size(), upright);
        const QList<QRect> pieces = stampPieces(upright, turn.turnedSize({16, 16}), settings);
        const QImage plain = decode(plainTurn(photoBytes, turn), TJFLAG_FASTUPSAMPLE);
        QCOMPARE(changedOutside(stamped, plain, pieces), 0);
        // The date is there, at the lower right of the upright picture...
        QVERIFY(pieces[0].center().x() > upright.width() / 2);
        QVERIFY(pieces[0].center().y() > upright.height() / 2);
        QVERIFY(meanDifference(stamped, plain, pieces[0]) > 5);

        // ...and close to the date the full re-encode draws on the same upright picture.
        QCOMPARE(run(QStringList{"--reencode"} + turns + QStringList{source}), 0);
        const QImage full = decode(readAll(copyOf(QStringLiteral("p.jpg"))));
        if (orientation == 1) {
            const double apart = meanDifference(decode(copy), full, pieces[0]);
            QVERIFY2(apart < 4, qPrintable(QString::number(apart)));
        }
        if (style.isEmpty()) return;
        // The full re-encode paints nothing of the style outside the blocks the copy re-encodes.
        int darkOutside = 0;
        for (int y = 0; y < full.height(); ++y)
            for (int x = 0; x < full.width(); ++x)
                if (qGray(full.pixel(x, y)) < 240 && !pieces[0].contains(x, y)) ++darkOutside;
        QCOMPARE(darkOutside, 0);
    }

    // Frames in RGB keep their colour signalling (no JFIF header saying YCbCr); four-ink frames
    // and samplings the transform cannot take go to the full re-encode with the reason. Either
    // way the copy shows the photo's colours as djpeg decodes them.
    void keepsTheColoursOfEveryFrame_data()
    {
        using J = fixtures::JpegVariant;
        QTest::addColumn<int>("colour");
        QTest::addColumn<QList<QSize>>("sampling");
        QTest::addColumn<QString>("fallback");  // what the full re-encode's line names, if any
        QTest::newRow("RGB") << int(J::Colour::Rgb) << QList<QSize>() << QString();
        QTest::newRow("YCCK") << int(J::Colour::Ycck) << QList<QSize>() << QStringLiteral("彩色");
        QTest::newRow("CMYK") << int(J::Colour::Cmyk) << QList<QSize>() << QStringLiteral("彩色");
        QTest::newRow("sampled 3x1")
            << int(J::Colour::YCbCr) << QList<QSize>{{3, 1}} << QStringLiteral("3x1,1x1,1x1");
        QTest::newRow("chroma finer than luma")
            << int(J::Colour::YCbCr) << QList<QSize>{{1, 1}, {2, 2}, {1, 1}}
            << QStringLiteral("1x1,2x2,1x1");
    }
    void keepsTheColoursOfEveryFrame()
    {
        QFETCH(int, colour);
        QFETCH(QList<QSize>, sampling);
        QFETCH(QString, fallback);
        fixtures::JpegVariant variant;
        variant.colour = fixtures::JpegVariant::Colour(colour);
        variant.sampling = sampling;
        fixtures::ExifContent exif;
        exif.dateTimeOriginal = kDate;
        const QSize size(960, 720);
        const QByteArray source = fixtures::insertAfterSoi(
            fixtures::makeJpegLayout(grainyPhoto(size), variant), {fixtures::makeExifApp1(exif)});
        const QString path = dir.filePath(QStringLiteral("c.jpg"));
        QVERIFY(fixtures::writeFile(path, source));
        QByteArray err;
        QCOMPARE(run({"--lossless", path}, &err), 0);
        const QByteArray copy = readAll(copyOf(QStringLiteral("c.jpg")));
        QCOMPARE(run({"--reencode", path}), 0);
        const QByteArray full = readAll(copyOf(QStringLiteral("c.jpg")));
        const QString line = QString::fromUtf8(err);
        if (fallback.isEmpty()) {
            QVERIFY2(!line.contains(QStringLiteral("重新编码")), qPrintable(line));
        } else {
            QVERIFY2(line.contains(QStringLiteral("已完整重新编码")) && line.contains(fallback),
                     qPrintable(line));
            QCOMPARE(copy, full);
        }

        const QImage photo = djpeg(source), stamped = djpeg(copy), encoded = djpeg(full);
        QCOMPARE(stamped.size(), size);
        const QList<QRect> pieces = stampPieces(size, {16, 16});
        if (fallback.isEmpty()) QCOMPARE(changedOutside(stamped, photo, pieces), 0);
        const QRect away(0, 0, size.width(), pieces[0].top());
        QVERIFY2(meanDifference(stamped, photo, away) < 2,
                 qPrintable(QString::number(meanDifference(stamped, photo, away))));
        QVERIFY(meanDifference(stamped, encoded, QRect(QPoint(), size)) < 2);
        QVERIFY(meanDifference(stamped, photo, pieces[0]) > 2);  // the date is there
    }

    // unstamp puts the photo's own blocks back: djpeg decodes the result exactly as it decodes
    // the photo (turned losslessly as the copy was). What cannot be restored truly is refused.
    void unstampPutsThePhotoBack_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QStringList>("recoding");  // jpegtran's options for the photo
        QTest::addColumn<QStringList>("turning");   // jpegtran's turn of the photo
        QTest::newRow("4:2:0") << 1 << QStringList() << QStringList();
        QTest::newRow("stored sideways (6)")
            << 6 << QStringList() << QStringList{"-rotate", "90", "-perfect"};
        QTest::newRow("progressive, optimised, restart intervals, mirrored (2)")
            << 2 << QStringList{"-progressive", "-optimize", "-restart", "1", "-copy", "all"}
            << QStringList{"-flip", "horizontal", "-perfect"};
    }
    void unstampPutsThePhotoBack()
    {
        QFETCH(int, orientation);
        QFETCH(QStringList, recoding);
        QFETCH(QStringList, turning);
        const QString source = photo(QStringLiteral("u.jpg"), {1600, 1200}, orientation);
        QByteArray photoBytes = readAll(source);
        if (!recoding.isEmpty()) {
            photoBytes = through(QStringLiteral("jpegtran"), recoding, photoBytes);
            QVERIFY(fixtures::writeFile(source, photoBytes));
        }
        QCOMPARE(run({source}), 0);
        const QString copy = copyOf(QStringLiteral("u.jpg"));
        QVERIFY(readAll(copy).size() < photoBytes.size() * 105 / 100);
        QVERIFY(QDir(dir.filePath("restored")).removeRecursively());
        QCOMPARE(unstamp({copy}), 0);
        const QByteArray restored = readAll(dir.filePath(QStringLiteral("restored/u.jpg")));
        const QByteArray turned = turning.isEmpty()
                                      ? photoBytes
                                      : through(QStringLiteral("jpegtran"), turning, photoBytes);
        const QByteArray expected = through(QStringLiteral("djpeg"), {}, turned);
        QVERIFY(!expected.isEmpty());
        QVERIFY(through(QStringLiteral("djpeg"), {}, restored) == expected);
        QVERIFY(through(QStringLiteral("djpeg"), {}, readAll(copy)) != expected);

        // An existing file is kept; an edited copy, or one without the data, is refused.
        QByteArray err;
        QCOMPARE(unstamp({copy}, &err), 2);
        QCOMPARE(readAll(dir.filePath(QStringLiteral("restored/u.jpg"))), restored);
        QVERIFY(fixtures::writeFile(copy, edited(readAll(copy))));
        QCOMPARE(unstamp({"--overwrite", copy}, &err), 2);
        QVERIFY2(err.contains("改动"), err.constData());
        QCOMPARE(run({"--lossless", "--no-restore-data", source}), 0);
        QCOMPARE(unstamp({"--overwrite", copy}, &err), 2);
        QVERIFY2(err.contains("没有恢复数据"), err.constData());
        QCOMPARE(readAll(dir.filePath(QStringLiteral("restored/u.jpg"))), restored);
    }

    // Where a turn would move a partial edge block to the top or left, the copy keeps the stored
    // frame and carries the turn in its orientation tag: no line, nothing lost outside the stamp,
    // shown upright with the date where --reencode puts it, and unstamp gives the photo back.
    void tagsTheTurnWhereItWouldCrop_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QStringList>("options");  // jpegtran's for the photo, or the stamp's
        QTest::addColumn<bool>("full");            // 4:4:4, else 4:2:0
        QTest::addColumn<bool>("makerNote");
        QTest::addColumn<int>("tag");  // the turn the copy needs
        for (int o = 1; o <= 8; ++o)
            for (const bool full : {false, true})
                QTest::addRow("%s, %d", full ? "4:4:4" : "4:2:0", o)
                    << o << QStringList() << full << false << o;
        QTest::newRow("progressive, restart intervals, 6")
            << 6 << QStringList{"-progressive", "-restart", "1", "-copy", "all"} << false << false
            << 6;
        QTest::newRow("no tag, rotate left")
            << 1 << QStringList{"--rotate", "left"} << false << false << 8;
        QTest::newRow("kept metadata, 3, rotate right")
            << 3 << QStringList{"--keep-metadata", "--rotate", "right"} << true << false << 8;
        QTest::newRow("maker note kept in place, 6")
            << 6 << QStringList{"--keep-metadata"} << false << true << 6;
        QTest::newRow("maker note, no tag, rotate right")
            << 1 << QStringList{"--keep-metadata", "--rotate", "right"} << false << true << 6;
    }
    void tagsTheTurnWhereItWouldCrop()
    {
        QFETCH(int, orientation);
        QFETCH(QStringList, options);
        QFETCH(bool, full);
        QFETCH(bool, makerNote);
        QFETCH(int, tag);
        const QSize size(1001, 751), mcu = full ? QSize(8, 8) : QSize(16, 16);
        const QString source =
            photo(QStringLiteral("r.jpg"), size, orientation, false,
                  full ? fixtures::Chroma::Full444 : fixtures::Chroma::Half420, makerNote);
        QByteArray photoBytes = readAll(source), err;
        if (options.startsWith("-progressive")) {
            QVERIFY(fixtures::writeFile(
                source, photoBytes = through(QStringLiteral("jpegtran"), options, photoBytes)));
            options.clear();
        }
        // (The restore data is about the stamp's share of the picture, 4 % of this grain.)
        QCOMPARE(run(options + QStringList{"--quiet", "--no-restore-data", source}, &err), 0);
        QCOMPARE(err, QByteArray());
        const QString copyPath = copyOf(QStringLiteral("r.jpg"));
        const QByteArray copy = readAll(copyPath);
        QVERIFY(copy.size() < photoBytes.size() * 103 / 100);
        // Transposing (5) keeps the partial edges at the right and bottom: turned as any other.
        const PictureTurn turn = PictureTurn::fromOrientation(tag);
        const bool tagged = tag != 1 && tag != 5;
        QCOMPARE(through(QStringLiteral("exiftool"), {"-s3", "-n", "-Orientation", copyPath}, {})
                     .trimmed(),
                 tagged ? QByteArray::number(tag) : QByteArray());

        const QSize upright = turn.turnedSize(size);
        const QList<QRect> pieces = stampPieces(upright, turn.turnedSize(mcu));
        const QByteArray expected = tagged ? photoBytes : plainTurn(photoBytes, turn);
        const QImage photoPixels = djpeg(expected);
        QCOMPARE(changedOutside(djpeg(copy), photoPixels,
                                tagged ? stampPieces(upright, mcu, {}, turn.inverse()) : pieces),
                 0);
        QCOMPARE(run(options + QStringList{"--quiet", source}), 0);
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("restored")));
        QCOMPARE(unstamp({"--overwrite", copyPath}), 0);
        QVERIFY(through(QStringLiteral("djpeg"), {}, readAll(dir.filePath("restored/r.jpg"))) ==
                through(QStringLiteral("djpeg"), {}, expected));

        const QImage shown = loadPhoto(copyPath).photo;
        const QImage plain = tagged ? turn.applied(photoPixels) : photoPixels;
        QCOMPARE(shown.size(), upright);
        QVERIFY(meanDifference(shown, plain, pieces[0]) > 2);
        QVERIFY(meanDifference(shown, plain, QRect(QPoint(), upright / 2)) < 1);
        QCOMPARE(run(options + QStringList{"--reencode", source}), 0);
        QVERIFY(meanDifference(shown, decode(readAll(copyPath)), pieces[0]) < 4);
    }

    // A damaged photo fails with the message it always had, and nothing is written.
    void damagedPhotoFailsAsBefore()
    {
        const QString whole = photo(QStringLiteral("t.jpg"), {1600, 1200});
        const QByteArray bytes = readAll(whole);
        fixtures::writeFile(whole, bytes.left(bytes.size() / 2));
        QFile::remove(copyOf(QStringLiteral("t.jpg")));
        QByteArray plainErr, losslessErr;
        QCOMPARE(run({"--reencode", whole}, &plainErr), 2);
        QCOMPARE(run({"--rotate", "left", whole}, &losslessErr), 2);
        QCOMPARE(losslessErr, plainErr);
        QVERIFY(!plainErr.isEmpty());
        QVERIFY(!QFile::exists(copyOf(QStringLiteral("t.jpg"))));
    }

    // Every damaged and hostile photo fails with the message it has with --reencode and
    // leaves nothing behind; what is written either way is written here too, the only extra
    // lines saying that a photo was encoded in full.
    void hostilePhotosFailAsBefore()
    {
        const QString corpusDir = dir.filePath(QStringLiteral("corpus"));
        QVERIFY(QDir().mkpath(corpusDir));
        const QList<test::CorpusFile> corpus = test::writeBadCorpus(corpusDir);
        QStringList paths;
        for (const test::CorpusFile& f : corpus)
            if (f.nativePath.isEmpty()) paths << f.path;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("plain")));
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("lossless")));
        QByteArray plainErr, losslessErr;
        const int plain =
            run(QStringList{"--reencode"} + paths, &plainErr, QStringLiteral("plain"), corpusDir);
        QCOMPARE(run(paths, &losslessErr, QStringLiteral("lossless"), corpusDir), plain);
        const QStringList before = QString::fromUtf8(plainErr).split('\n', Qt::SkipEmptyParts);
        QStringList after = QString::fromUtf8(losslessErr).split('\n', Qt::SkipEmptyParts);
        after.removeIf([](const QString& line) { return line.contains("已完整重新编码"); });
        after.replaceInStrings(QStringLiteral("/lossless/"), QStringLiteral("/plain/"));
        QCOMPARE(after, before);
        QVERIFY(!before.isEmpty());
        QCOMPARE(QDir(dir.filePath("lossless")).entryList(QDir::Files),
                 QDir(dir.filePath("plain")).entryList(QDir::Files));
        test::removeNativeNames(corpusDir, corpus);
    }
};

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    LosslessCliTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_lossless.moc"
