// orvello-stamp run as a separate process, as a user runs it.
#include "app/settings.h"
#include "tools/fixtures/heifwriter.h"
#include "tools/fixtures/photowriter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace orvello;

namespace {

struct Run {
    int status = -1;
    QString out, err;
};

}  // namespace

class CliTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString dated, plain;

    // locale: NAME=VALUE settings of the environment, not only the locale's.
    Run run(const QStringList& args, const QStringList& locale = {})
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString& setting : locale)
            env.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(ORVELLO_BIN_DIR "/orvello-stamp"), args);
        if (!p.waitForFinished(60000)) return {};
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }
    QString photo(const QString& name, QSize size, const fixtures::ExifContent& exif = {})
    {
        QImage img(size, QImage::Format_RGB32);
        img.fill(qRgb(40, 40, 40));
        const QString path = dir.filePath(name);
        fixtures::writeFile(path, fixtures::makeJpeg(img, exif));
        return path;
    }

private slots:
    void initTestCase()
    {
        fixtures::ExifContent exif;
        exif.dateTimeOriginal = QStringLiteral("2007:12:10 14:30:00");
        dated = photo(QStringLiteral("dated.jpg"), {600, 400}, exif);
        plain = photo(QStringLiteral("plain.jpg"), {400, 600});
    }

    void exifListsEachPhoto()
    {
        const Run r = run({QStringLiteral("exif"), dated, plain});
        QCOMPARE(r.status, 0);
        const QStringList blocks = r.out.split(QStringLiteral("\n\n"));
        QCOMPARE(blocks.size(), 3);
        QVERIFY(blocks[0].startsWith(QStringLiteral("当前文件EXIF信息：\n")));
        QVERIFY(blocks[0].contains(QStringLiteral("\nExifDTOrig 2007:12:10 14:30:00\n")));
        QVERIFY(blocks[0].endsWith(
            QStringLiteral("\ncaptureDate: 2007-12-10 14:30:00\ndateText: 2007-12-10 14:30:00")));
        QVERIFY(blocks[1].endsWith(QStringLiteral("\ncaptureDate: \ndateText: ")));
        QVERIFY(!r.out.contains(u'\r'));
    }

    void exifOnANonImageFailsButGoesOn()
    {
        QFile text(dir.filePath(QStringLiteral("notes.jpg")));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("not a photo");
        text.close();
        const Run r = run({QStringLiteral("exif"), text.fileName(), dated});
        QCOMPARE(r.status, 2);
        QVERIFY(
            r.out.startsWith(QStringLiteral("当前文件EXIF信息：\ncaptureDate: \ndateText: \n\n")));
        QVERIFY(r.out.contains(QStringLiteral("captureDate: 2007-12-10 14:30:00")));
        QVERIFY(r.err.contains(
            QStringLiteral("An error occurred trying to show the information for this file: ")));
    }

    void usageErrors()
    {
        QCOMPARE(run({}).status, 1);
        QCOMPARE(run({QStringLiteral("exif")}).status, 1);
        QCOMPARE(run({QStringLiteral("stamp")}).status, 1);
        QCOMPARE(
            run({QStringLiteral("stamp"), QStringLiteral("--rotate"), QStringLiteral("up"), dated})
                .status,
            1);
        QCOMPARE(run({QStringLiteral("frobnicate"), dated}).status, 1);
        QCOMPARE(run({"stamp", "--lossless", "--reencode", dated}).status, 1);
    }

    // The language follows the locale; the texts stay Chinese unless it asks for English.
    void languageFollowsTheLocale_data()
    {
        QTest::addColumn<QStringList>("locale");
        QTest::addColumn<bool>("english");
        const auto only = [](const QStringList& set) {
            return QStringList{"LANGUAGE=", "LC_ALL=", "LC_MESSAGES=", "LANG="} + set;
        };
        QTest::newRow("LANG en") << only({"LANG=en_US.UTF-8"}) << true;
        QTest::newRow("LANG zh") << only({"LANG=zh_CN.UTF-8"}) << false;
        QTest::newRow("C") << only({"LANG=C.UTF-8"}) << false;
        QTest::newRow("LC_ALL over LANG")
            << only({"LANG=en_US.UTF-8", "LC_ALL=zh_CN.UTF-8"}) << false;
        QTest::newRow("LANGUAGE first") << only({"LANG=zh_CN.UTF-8", "LANGUAGE=en_GB:zh"}) << true;
    }
    void languageFollowsTheLocale()
    {
        QFETCH(QStringList, locale);
        QFETCH(bool, english);
        const Run usage = run({QStringLiteral("frobnicate")}, locale);
        const Run missing =
            run({QStringLiteral("exif"), dir.filePath(QStringLiteral("missing.jpg"))}, locale);
        const QRegularExpression chinese(
            QStringLiteral("[\\x{3000}-\\x{303f}\\x{4e00}-\\x{9fff}]"));
        QCOMPARE(usage.err.contains(chinese), !english);
        QCOMPARE(missing.out.contains(chinese), !english);
        QVERIFY(usage.err.startsWith(
            english ? QStringLiteral("Usage: orvello-stamp exif [--title TEXT] [--settings FILE] "
                                     "[--date-format FORMAT] [--date-shift SHIFT] "
                                     "[--date-fallback none|file] PHOTO...\n")
                    : QStringLiteral("用法：orvello-stamp exif [--title 文字] [--settings 文件] "
                                     "[--date-format 格式] [--date-shift 偏移] "
                                     "[--date-fallback none|file] 照片...\n")));
    }

    void stampWritesTurnedStampedCopies()
    {
        // The window's stored settings apply: title on, drawn in white.
        AppSettings s;
        s.addTXB = true;
        s.addForeColor = 0xFFFFFF;
        QDir().mkpath(dir.filePath(QStringLiteral("config/Orvello")));
        SettingsStore(dir.filePath(QStringLiteral("config/Orvello/Orvello.ini"))).writeAll(s, 0, 0);

        const QString out = dir.filePath(QStringLiteral("out"));
        QDir().mkpath(out);
        const QByteArray before = [&] {
            QFile f(dated);
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();
        const Run r =
            run({QStringLiteral("stamp"), QStringLiteral("--rotate"), QStringLiteral("left"),
                 QStringLiteral("--title"), QStringLiteral("标题"), QStringLiteral("--out"), out,
                 dated, dir.filePath(QStringLiteral("missing.jpg")), plain});
        QCOMPARE(r.status, 2);
        QCOMPARE(r.out.count(u'\n'), 2);
        QVERIFY(r.err.contains(QStringLiteral("missing.jpg")));
        QImage stamped;
        QVERIFY(stamped.load(out + QStringLiteral("/PM_dated.jpg")));
        QCOMPARE(stamped.size(), QSize(400, 600));
        // Title pixels near 5 % / 6 % (portrait offsets) are white-ish; the photo was dark grey.
        int bright = 0;
        for (int y = 20; y < 70; ++y)
            for (int x = 15; x < 120; ++x) bright += qGray(stamped.pixel(x, y)) > 200;
        QVERIFY(bright > 20);
        QVERIFY(QFile::exists(out + QStringLiteral("/PM_plain.jpg")));
        QFile again(dated);
        QVERIFY(again.open(QIODevice::ReadOnly));
        QCOMPARE(again.readAll(), before);  // the source is untouched
    }

    void stampRefusesADamagedPhoto()
    {
        QImage img(300, 300, QImage::Format_RGB32);
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 300; ++x) img.setPixel(x, y, qRgb(x, y, x ^ y));
        QByteArray jpeg = fixtures::makeJpeg(img, {});
        jpeg.truncate(jpeg.size() / 2);
        const QString cut = dir.filePath(QStringLiteral("cut.jpg"));
        fixtures::writeFile(cut, jpeg);
        const Run r = run({QStringLiteral("stamp"), cut});
        QCOMPARE(r.status, 2);
        QVERIFY(r.err.contains(QStringLiteral("不完整")));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("PM_cut.jpg"))));
    }

    void stampSaysWhenTheHeifLibraryIsBroken()
    {
        QImage img(64, 48, QImage::Format_RGB32);
        img.fill(Qt::darkGreen);
        const QString heic = dir.filePath(QStringLiteral("phone.heic"));
        fixtures::writeFile(heic, fixtures::makeHeic(img));
        const QString out = dir.filePath(QStringLiteral("heifless"));
        const Run r =
            run({QStringLiteral("stamp"), QStringLiteral("--out"), out, heic, dated},
                {QStringLiteral("LD_LIBRARY_PATH=" ORVELLO_BIN_DIR "/../tests/nolibheif")});
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.contains(QStringLiteral("无法载入 HEIF 解码库")), qPrintable(r.err));
        QVERIFY(!QFile::exists(out + QStringLiteral("/PM_phone.jpg")));
        QVERIFY(QFile::exists(out + QStringLiteral("/PM_dated.jpg")));  // the rest goes on
    }
};

QTEST_GUILESS_MAIN(CliTest)
#include "tst_cli.moc"
