// Stamping many photos at once: the same files as one save at a time, in the order asked, with
// damage and cancelling confined to the photo they touch.
#include "app/startup.h"
#include "batch/stampbatch.h"
#include "components/jpegwriter.h"
#include "components/nativefile.h"
#include "components/photometadata.h"
#include "imaging/rotation.h"
#include "overlay/overlay.h"
#include "photo/photoloader.h"
#include "tools/fixtures/heifwriter.h"
#include "tools/fixtures/photowriter.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using namespace orvello;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QImage pattern(QSize size, int seed)
{
    QImage img(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            img.setPixel(x, y, qRgb((x * 7 + seed) & 255, (y * 5 + seed) & 255, (x ^ y) & 255));
    return img;
}

// A file that another run puts at the target while this one is still writing.
QByteArray appearingPath;
bool putAppearingFile(const QByteArray&)
{
    if (!appearingPath.isEmpty() && !QFile::exists(QFile::decodeName(appearingPath)))
        fixtures::writeFile(QFile::decodeName(appearingPath), "the other run's copy");
    return true;
}

std::atomic<bool> stopNow{false};
bool raiseCancel(const QByteArray&)
{
    stopNow = true;
    return true;
}

}  // namespace

class BatchTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    QString photo(const QString& name, QSize size, int seed, const QString& date = {})
    {
        fixtures::ExifContent exif;
        exif.dateTimeOriginal = date;
        const QString path = dir.filePath(name);
        fixtures::writeFile(path, fixtures::makeJpeg(pattern(size, seed), exif));
        return path;
    }
    QProcess::ExitStatus run(const QStringList& args, int* status, QByteArray* out,
                             QByteArray* err = nullptr)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(ORVELLO_BIN_DIR "/orvello-stamp"), QStringList{"stamp"} + args);
        p.waitForFinished(120000);
        *status = p.exitCode();
        *out = p.readAllStandardOutput();
        if (err) *err = p.readAllStandardError();
        return p.exitStatus();
    }

private slots:
    void initTestCase() { QVERIFY(loadDateFonts(QStringLiteral(ORVELLO_BIN_DIR))); }

    // Each photo's copy is byte for byte what the window writes when that photo is open with the
    // same settings: its own capture date, the title, the turns.
    void batchEqualsSingleSave_data()
    {
        QTest::addColumn<bool>("title");
        QTest::addColumn<int>("turns");
        QTest::addColumn<float>("size");
        QTest::newRow("date only") << false << 0 << 2.0f;
        QTest::newRow("date and title") << true << 0 << 2.0f;
        QTest::newRow("turned once") << true << 1 << 2.0f;
        QTest::newRow("turned back") << false << 2 << 2.0f;
        // Text above and below the size Qt stops drawing glyph images at, on these shapes.
        QTest::newRow("large text") << true << 0 << 18.0f;
    }
    void batchEqualsSingleSave()
    {
        QFETCH(bool, title);
        QFETCH(int, turns);
        QFETCH(float, size);
        const QString tag = QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'_');
        const QList<QString> paths{photo(tag + QStringLiteral("_wide.jpg"), {320, 200}, 1,
                                         QStringLiteral("2007:12:10 14:30:00")),
                                   photo(tag + QStringLiteral("_tall.jpg"), {180, 300}, 2,
                                         QStringLiteral("2011:01:02 03:04:05")),
                                   photo(tag + QStringLiteral("_square.jpg"), {240, 240}, 3),
                                   photo(tag + QStringLiteral("_wide2.jpg"), {320, 200}, 4,
                                         QStringLiteral("2020:02:29 23:59:59"))};
        StampRecipe recipe;
        recipe.settings.addTXB = title;
        recipe.settings.addFontSize = size;
        recipe.settings.addForeColor = 0x00FF00;
        recipe.text1 = QStringLiteral("  标题 Title  ");
        for (int i = 0; i < turns; ++i) recipe.turns << (i % 2 ? Rotate90R : Rotate90);
        const QString out = dir.filePath(tag);
        QVERIFY(QDir().mkpath(out));
        QList<QByteArray> sources;
        for (const QString& p : paths) sources << QFile::encodeName(p);
        const QList<StampItem> items =
            planStampBatch(sources, QFile::encodeName(out), ExistingCopies::Refuse);
        int written = 0;
        runStampBatch(items, recipe, 3, [&](int, const StampOutcome& o) {
            written += o.status == StampOutcome::Status::Written;
        });
        QCOMPARE(written, paths.size());
        for (const QString& p : paths) {
            // The window's way: the photo on the canvas, DrawOverlay, then the save.
            LoadedPhoto loaded = loadPhoto(p);
            QImage photo = loaded.photo;
            for (const QuarterTurn turn : recipe.turns) photo = turn(photo);
            QImage canvas;
            DrawOverlay(canvas, photo,
                        makeOverlayInput(recipe.settings, loaded.exif.captureDateText, recipe.text1,
                                         isPortraitCanvas(photo.size())));
            const QByteArray single = encodeJpeg(canvas, JpegOptions{});
            QVERIFY(!single.isEmpty());
            QVERIFY2(readAll(out + QStringLiteral("/PM_") + QFileInfo(p).fileName()) == single,
                     qPrintable(p));
        }
    }

    // Each photo is read once however many parts of its copy need its metadata (the listing, the
    // stamps' texts, the kept metadata, the header), whichever way the copy is made.
    void eachPhotoReadOnce_data()
    {
        QTest::addColumn<bool>("lossless");
        QTest::newRow("full re-encode") << false;
        QTest::newRow("lossless") << true;
    }
    void eachPhotoReadOnce()
    {
        QFETCH(bool, lossless);
        const QString out = dir.filePath(QStringLiteral("once%1").arg(lossless));
        QVERIFY(QDir().mkpath(out));
        const QList<QByteArray> sources{
            QFile::encodeName(photo(QStringLiteral("once%1a.jpg").arg(lossless), {320, 200}, 5,
                                    QStringLiteral("2007:12:10 14:30:00"))),
            QFile::encodeName(photo(QStringLiteral("once%1b.jpg").arg(lossless), {200, 320}, 6,
                                    QStringLiteral("2011:01:02 03:04:05")))};
        StampRecipe recipe;
        recipe.settings.addTXB = true;
        recipe.text1 = QStringLiteral("{Make} {FileName}");
        recipe.copy.keepMetadata = true;
        recipe.copy.lossless = lossless;
        const quint64 parsed = exifBlocksParsed(), sniffed = photoKindsSniffed();
        int written = 0;
        runStampBatch(planStampBatch(sources, QFile::encodeName(out), ExistingCopies::Refuse),
                      recipe, 2, [&](int, const StampOutcome& o) {
                          written +=
                              o.status == StampOutcome::Status::Written && o.warning.isEmpty();
                      });
        QCOMPARE(written, 2);
        QCOMPARE(exifBlocksParsed() - parsed, quint64(2));
        QCOMPARE(photoKindsSniffed() - sniffed, quint64(2));
    }

    // Several workers finish in any order; the report keeps the order of the arguments, and a
    // damaged photo fails alone, leaving the copy already at its target as it was.
    void orderKeptAndDamageConfined()
    {
        const QString out = dir.filePath(QStringLiteral("order"));
        QVERIFY(QDir().mkpath(out));
        QStringList args{QStringLiteral("--jobs"), QStringLiteral("3"),
                         QStringLiteral("--overwrite"), QStringLiteral("--out"), out};
        QStringList names;
        for (int i = 0; i < 7; ++i) {
            // Large and small photos alternate, so later ones often finish first.
            const QString name = QStringLiteral("o%1.jpg").arg(i);
            photo(name, i % 2 ? QSize(64, 48) : QSize(1200, 900), i);
            names << name;
        }
        QByteArray cut = readAll(dir.filePath(names[3]));
        cut.truncate(cut.size() / 3);
        fixtures::writeFile(dir.filePath(names[3]), cut);
        fixtures::writeFile(out + QStringLiteral("/PM_o3.jpg"), "an earlier copy");
        for (const QString& n : names) args << dir.filePath(n);

        int status = -1;
        QByteArray stdoutBytes, stderrBytes;
        QCOMPARE(run(args, &status, &stdoutBytes, &stderrBytes), QProcess::NormalExit);
        QCOMPARE(status, 2);
        QStringList expected;
        for (const QString& n : names)
            if (n != names[3])
                expected << dir.filePath(n) + QStringLiteral(" -> ") + out +
                                QStringLiteral("/PM_") + n;
        QCOMPARE(QString::fromUtf8(stdoutBytes).split(u'\n', Qt::SkipEmptyParts), expected);
        QVERIFY(QString::fromUtf8(stderrBytes).contains(QStringLiteral("o3.jpg")));
        QVERIFY(!stderrBytes.contains('\r'));  // no progress line off a terminal
        QCOMPARE(readAll(out + QStringLiteral("/PM_o3.jpg")), QByteArray("an earlier copy"));
        QCOMPARE(QDir(out).entryList(QDir::Files | QDir::Hidden).size(), names.size());
    }

    // A folder stands for its photos, in the list's order; a name that is not UTF-8 gets a copy
    // under the same bytes.
    void folderMeansItsPhotos()
    {
        const QString folder = dir.filePath(QStringLiteral("folder"));
        QVERIFY(QDir().mkpath(folder));
        const QByteArray gbName = QStringEncoder("GB18030").encode(QStringLiteral("照片.jpg"));
        const QByteArray jpeg = fixtures::makeJpeg(pattern({40, 30}, 9), {});
        for (const char* name : {"b10.jpg", "b9.JPG", "c.tif.txt", "d.jpeg"})
            fixtures::writeFile(folder + u'/' + QLatin1String(name), jpeg);
        fixtures::writeFile(folder + QStringLiteral("/e.HEIC"),
                            fixtures::makeHeic(pattern({40, 30}, 9)));
        const QByteArray gbPath = QFile::encodeName(folder) + '/' + gbName;
        {
            std::FILE* f = std::fopen(gbPath.constData(), "wb");
            QVERIFY(f);
            std::fwrite(jpeg.constData(), 1, size_t(jpeg.size()), f);
            std::fclose(f);
        }
        const QString out = dir.filePath(QStringLiteral("folderout"));
        QVERIFY(QDir().mkpath(out));
        int status = -1;
        QByteArray stdoutBytes;
        QCOMPARE(run({QStringLiteral("--out"), out, folder}, &status, &stdoutBytes),
                 QProcess::NormalExit);
        QCOMPARE(status, 0);
        const QList<QByteArray> lines = stdoutBytes.split('\n');
        QCOMPARE(lines.size(), 6);  // five photos and the end
        const auto at = [&](const QByteArray& tail) {
            for (int i = 0; i < lines.size(); ++i)
                if (lines[i].endsWith(tail)) return i;
            return -1;
        };
        QVERIFY(at("/PM_b9.JPG") >= 0 && at("/PM_b9.JPG") < at("/PM_b10.jpg"));  // by value
        QVERIFY(at("/PM_d.jpeg") > at("/PM_b10.jpg"));
        QVERIFY(at("/PM_e.jpg") > at("/PM_d.jpeg"));  // a phone's photo, copied as .jpg
        QVERIFY(at("/folder/" + gbName + " -> " + QFile::encodeName(out) + "/PM_" + gbName) >= 0);
        std::FILE* copy = std::fopen((QFile::encodeName(out) + "/PM_" + gbName).constData(), "rb");
        QVERIFY(copy);
        std::fclose(copy);
        // Qt cannot spell these names to remove them with the folder.
        ::unlink((QFile::encodeName(out) + "/PM_" + gbName).constData());
        ::unlink(gbPath.constData());
    }

    // A copy that appears while ours is written is kept unless replacing was asked for; either
    // way no temporary file is left. The same where the file system has no hard links or
    // no-replace rename, with and without unnamed files.
    void copyAppearingMeanwhile_data()
    {
        QTest::addColumn<bool>("replace");
        QTest::addColumn<bool>("appear");
        QTest::addColumn<bool>("links");
        QTest::addColumn<bool>("unnamed");
        QTest::newRow("kept") << false << true << true << true;
        QTest::newRow("replaced") << true << true << true << true;
        QTest::newRow("no links, kept") << false << true << false << false;
        QTest::newRow("no links, replaced") << true << true << false << false;
        QTest::newRow("no links, new") << false << false << false << false;
        QTest::newRow("no links, unnamed, new") << false << false << false << true;
        QTest::newRow("no links, unnamed, kept") << false << true << false << true;
    }
    void copyAppearingMeanwhile()
    {
        QFETCH(bool, replace);
        QFETCH(bool, appear);
        QFETCH(bool, links);
        QFETCH(bool, unnamed);
        const QString out = dir.filePath(QStringLiteral("appear%1").arg(QTest::currentDataTag()));
        QVERIFY(QDir().mkpath(out));
        const QString target = out + QStringLiteral("/PM_a.jpg");
        appearingPath = appear ? QFile::encodeName(target) : QByteArray();
        simulateFileSystemForTests(unnamed, links);
        JpegWriter writer;
        writer.setReplaceExisting(replace);
        writer.setWriteHook(putAppearingFile);
        const QImage big = pattern({1500, 1000}, 5);
        const bool saved = writer.saveNative(big, QFile::encodeName(target));
        simulateFileSystemForTests(true, true);
        appearingPath.clear();
        QCOMPARE(saved, replace || !appear);
        QCOMPARE(writer.targetExisted(), appear && !replace);
        QCOMPARE(readAll(target) == "the other run's copy", appear && !replace);
        if (saved) QCOMPARE(QImage::fromData(readAll(target)).size(), big.size());
        QCOMPARE(QDir(out).entryList(QDir::Files | QDir::Hidden), QStringList{"PM_a.jpg"});
    }

    // Copies go into --out and the sub-folders made in it, never through a sub-folder swapped
    // for a link while the run goes on.
    void outFolderNeverLeft()
    {
        const QString out = dir.filePath(QStringLiteral("made/out")), away = dir.filePath("away");
        QVERIFY(QDir().mkpath(away));
        QList<QByteArray> sources;
        for (int i = 0; i < 3; ++i)
            sources << QFile::encodeName(photo(QStringLiteral("s%1.jpg").arg(i), {64, 48}, i));
        const QList<StampItem> items = planStampBatch(sources, QFile::encodeName(out),
                                                      ExistingCopies::Refuse, {"", "a/b/", "a/"});
        QList<StampOutcome> outcomes(items.size());
        runStampBatch(items, StampRecipe{}, 1, [&](int i, const StampOutcome& o) {
            outcomes[i] = o;
            // After the first copy, its sub-folder is swapped for a link to a folder outside.
            if (i == 1)
                QVERIFY(QDir(out + QStringLiteral("/a")).removeRecursively() &&
                        QFile::link(away, out + QStringLiteral("/a")));
        });
        using S = StampOutcome::Status;
        QCOMPARE(outcomes[0].status, S::Written);
        QCOMPARE(outcomes[1].status, S::Written);
        QCOMPARE(outcomes[2].status, S::Failed);
        QVERIFY2(outcomes[2].message.contains(QStringLiteral("通向 --out 文件夹之外")),
                 qPrintable(outcomes[2].message));
        QCOMPARE(QDir(away).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }

    // Each part of a path is read in its own encoding; a byte that none reads is shown escaped.
    void pathsShownReadably_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QString>("shown");
        const QByteArray gb = QStringEncoder("GB18030").encode(QStringLiteral("照片"));
        QTest::newRow("UTF-8") << QStringLiteral("/相册/照片.jpg").toUtf8()
                               << QStringLiteral("/相册/照片.jpg");
        QTest::newRow("GB18030 folder, UTF-8 name")
            << "/" + gb + "/" + QStringLiteral("夏天.jpg").toUtf8()
            << QStringLiteral("/照片/夏天.jpg");
        QTest::newRow("neither") << QByteArray(
                                        "a/\xff\xe7\x85"
                                        "b.jpg")
                                 << QStringLiteral("a/\\xFF\\xE7\\x85b.jpg");
    }
    void pathsShownReadably()
    {
        QFETCH(QByteArray, path);
        QFETCH(QString, shown);
        QCOMPARE(shownPath(path), shown);
    }

    // Cancelling stops before the next photo and inside a running write: whole files or none.
    void cancellingLeavesNoPartialFile()
    {
        const QString out = dir.filePath(QStringLiteral("cancel"));
        QVERIFY(QDir().mkpath(out));
        QList<QByteArray> sources;
        for (int i = 0; i < 4; ++i)
            sources << QFile::encodeName(photo(QStringLiteral("c%1.jpg").arg(i), {200, 150}, i));
        const QList<StampItem> items =
            planStampBatch(sources, QFile::encodeName(out), ExistingCopies::Refuse);
        std::atomic<bool> cancel{false};
        QList<StampOutcome::Status> statuses(items.size());
        runStampBatch(
            items, StampRecipe{}, 1,
            [&](int i, const StampOutcome& o) {
                statuses[i] = o.status;
                cancel = true;
            },
            &cancel);
        using S = StampOutcome::Status;
        QCOMPARE(statuses, (QList<S>{S::Written, S::Cancelled, S::Cancelled, S::Cancelled}));
        QCOMPARE(QDir(out).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("PM_c0.jpg")});

        // Raised while the data is being written: the earlier file stays, nothing is added.
        const QString target = out + QStringLiteral("/PM_c0.jpg");
        const QByteArray before = readAll(target);
        for (const bool native : {false, true}) {
            stopNow = false;
            JpegWriter writer;
            writer.setCancelFlag(&stopNow);
            writer.setWriteHook(raiseCancel);
            const QImage big = pattern({1500, 1000}, 7);  // several pieces of encoded data
            QVERIFY(!(native ? writer.saveNative(big, QFile::encodeName(target))
                             : writer.save(big, target)));
            QVERIFY(writer.wasCancelled());
            QCOMPARE(readAll(target), before);
            QCOMPARE(QDir(out).entryList(QDir::Files | QDir::Hidden).size(), 1);
        }
    }
};

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    BatchTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_batch.moc"
