// The texts orvello-stamp draws, as a script reads them from `exif`, and the options and settings
// files that set them, refused before any photo when they cannot be used.
#include "tools/fixtures/photowriter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace orvello;
using namespace orvello::fixtures;

class StampTextCliTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    struct Run {
        int status = -1;
        QByteArray out, err;
    };
    Run tool(const QString& command, const QStringList& args)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(ORVELLO_BIN_DIR "/orvello-stamp"), QStringList{command} + args);
        if (!p.waitForFinished(120000)) return {};
        return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
    }
    QString photo(const QString& name) const { return dir.filePath(name); }
    void write(const QString& name, const ExifContent& exif, const QList<QByteArray>& segments = {})
    {
        const QByteArray jpeg = makeJpeg(quadrantImage(160, 120), exif);
        QVERIFY(writeFile(photo(name), insertAfterSoi(jpeg, segments)));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        ExifContent dated;
        dated.dateTimeOriginal = QStringLiteral("2007:12:10 14:30:00");
        write(QStringLiteral("dated.jpg"), dated);
        ExifContent camera = dated;
        camera.make = QStringLiteral("Bar Camera"), camera.model = QStringLiteral("X1");
        write(QStringLiteral("camera.jpg"), camera);
        static const char xmp[] =
            "http://ns.adobe.com/xap/1.0/\0<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF "
            "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"><rdf:Description "
            "xmlns:exif=\"http://ns.adobe.com/exif/1.0/\" "
            "exif:DateTimeOriginal=\"2011-05-06T07:08:09+02:00\"/></rdf:RDF></x:xmpmeta>";
        write(QStringLiteral("xmponly.jpg"), ExifContent(),
              {jpegSegment(0xE1, QByteArray(xmp, sizeof xmp - 1))});
        ExifContent digitized;
        digitized.extra << ExifEntry::ascii(Dir::Exif, 0x9004, "2012:03:04 05:06:07");
        write(QStringLiteral("digitized.jpg"), digitized);
        write(QStringLiteral("undated.jpg"), ExifContent());
        QFile undated(photo(QStringLiteral("undated.jpg")));
        QVERIFY(undated.open(QIODevice::ReadWrite));
        QVERIFY(undated.setFileTime(QDateTime(QDate(2015, 6, 7), QTime(8, 9, 10)),
                                    QFileDevice::FileModificationTime));
        QVERIFY(writeFile(photo(QStringLiteral("stamp.ini")),
                          "[Stamp]\nDateFormat=yyyy/MM/dd HH:mm\nDateShift=+0:30\n"));
    }

    void exifTexts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("lines");  // the lines after captureDate
        const QString ini = photo(QStringLiteral("stamp.ini"));
        QTest::newRow("default") << "dated.jpg" << QStringList() << "dateText: 2007-12-10 14:30:00";
        QTest::newRow("day first")
            << "dated.jpg" << QStringList{"--date-format", "dd.MM.yyyy"} << "dateText: 10.12.2007";
        QTest::newRow("film back")
            << "dated.jpg" << QStringList{"--date-format", "yy MM dd"} << "dateText: 07 12 10";
        QTest::newRow("later") << "dated.jpg" << QStringList{"--date-shift", "+1:30"}
                               << "dateText: 2007-12-10 16:00:00";
        QTest::newRow("a day back") << "dated.jpg" << QStringList{"--date-shift", "-1 2:00"}
                                    << "dateText: 2007-12-09 12:30:00";
        QTest::newRow("settings file")
            << "dated.jpg" << QStringList{"--settings", ini} << "dateText: 2007/12/10 15:00";
        QTest::newRow("xmp") << "xmponly.jpg" << QStringList() << "dateText: 2011-05-06 07:08:09";
        QTest::newRow("digitized") << "digitized.jpg" << QStringList{"--date-shift", "+1 0:00"}
                                   << "dateText: 2012-03-05 05:06:07";
        QTest::newRow("no date") << "undated.jpg" << QStringList() << "dateText: ";
        QTest::newRow("file time") << "undated.jpg" << QStringList{"--date-fallback", "file"}
                                   << "dateText: 2015-06-07 08:09:10";
        QTest::newRow("camera title") << "camera.jpg" << QStringList{"--title", "{Make} {Model}"}
                                      << "dateText: 2007-12-10 14:30:00\ntitleText: Bar Camera X1";
    }
    void exifTexts()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, args);
        QFETCH(QString, lines);
        const Run r = tool(QStringLiteral("exif"), args << photo(name));
        QCOMPARE(r.status, 0);
        const QString out = QString::fromUtf8(r.out);
        const qsizetype at = out.indexOf(QLatin1String("\ndateText: "));
        QVERIFY2(at > 0 && out.lastIndexOf(QLatin1String("\ncaptureDate: "), at) > 0, r.out);
        QCOMPARE(out.mid(at + 1), lines + QLatin1String("\n\n"));
    }

    // A bad value stops both commands before any photo: nothing listed, nothing written.
    void badOptions_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("pattern") << QStringList{"--date-format", "YYYY-MM-DD"} << "--date-format";
        QTest::newRow("shift") << QStringList{"--date-shift", "+1:75"} << "--date-shift";
        QTest::newRow("fallback") << QStringList{"--date-fallback", "exif"} << "none 或 file";
        QTest::newRow("style") << QStringList{"--date-style", "neon"} << "plate";
        QTest::newRow("field") << QStringList{"--title", "{Lens}"} << "{Lens}";
        QTest::newRow("brace") << QStringList{"--title", "a } b"} << "花括号";
    }
    void badOptions()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        for (const QString& command : {QStringLiteral("exif"), QStringLiteral("stamp")}) {
            const Run r = tool(command, QStringList(args) << photo(QStringLiteral("dated.jpg")));
            QCOMPARE(r.status, 1);
            QVERIFY(r.out.isEmpty());
            QVERIFY2(QString::fromUtf8(r.err).contains(message), r.err);
        }
        QVERIFY(!QFile::exists(photo(QStringLiteral("PM_dated.jpg"))));
    }

    // The copies draw what exif reports: the file time only when asked, a shift in the lossless
    // copy too.
    // A settings file that cannot say exactly what to draw stops the run before any photo,
    // naming the file and the line.
    void settingsFileErrors_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");  // in the message; empty: the run goes ahead
        QTest::addColumn<QString>("title");
        // As QSettings reads it: a byte-order mark, a comment after a value, a continued value.
        QTest::newRow("good") << QByteArray(
                                     "\xEF\xBB\xBF; by hand\n[Other]\nx=y\n[SetLog]\naddTXB=1\n"
                                     "addFontSize=2.5 ; comment\naddFont2=a \\\n b\n")
                              << QString() << QString();
        QTest::newRow("escaped group name") << QByteArray("[Other]\n[Set%4Cog]\naddCurrentX=10\n")
                                            << QStringLiteral("第 2 行") << QString();
        QTest::newRow("after a continued value")
            << QByteArray("[SetLog]\naddFont=a \\\n b\naddCurrentX=x\n")
            << QStringLiteral("第 4 行") << QString();
        QTest::newRow("stamp group") << QByteArray("[Stamp]\nDateStyle=outline\nDateShift=1 hour\n")
                                     << QStringLiteral("第 3 行") << QString();
        QTest::newRow("a list, not a text")
            << QByteArray("[SetLog]\naddFont=a, b\n") << QStringLiteral("第 2 行") << QString();
        QTest::newRow("font name too long")
            << "[SetLog]\naddFont=" + QByteArray(20000, 'x') << QStringLiteral("过长") << QString();
        QTest::newRow("file too large") << "[SetLog]\naddFont=x\n" + QByteArray(70000, ';')
                                        << QStringLiteral("过大") << QString();
        QTest::newRow("title too long")
            << QByteArray("[SetLog]\n") << QStringLiteral("标题过长") << QString(1001, u'题');
        QTest::newRow("no equals sign") << QByteArray("[SetLog]\naddTXB=True\naddFontSize 3\n")
                                        << QStringLiteral("第 3 行") << QString();
        QTest::newRow("number that is not")
            << QByteArray("\n[SetLog]\naddCurrentX=6O\n") << QStringLiteral("第 3 行") << QString();
        QTest::newRow("open group")
            << QByteArray("[SetLog\naddTXB=True\n") << QStringLiteral("第 1 行") << QString();
        QTest::newRow("not UTF-8") << QByteArray("[SetLog]\naddFont2=\xcb\xce\xcc\xe5\n")
                                   << QStringLiteral("UTF-8") << QString();
        QTest::newRow("missing") << QByteArray() << QStringLiteral("无法读取设置文件") << QString();
    }
    void settingsFileErrors()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        QFETCH(QString, title);
        const QString tag = QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'_');
        const QString file = dir.filePath(tag + QStringLiteral(".ini"));
        if (!content.isEmpty()) writeFile(file, content);
        const QString out = dir.filePath(QStringLiteral("settings_") + tag);
        QVERIFY(QDir().mkpath(out));
        const QString photo = dir.filePath(QStringLiteral("settings.jpg"));
        writeFile(photo, makeJpeg(quadrantImage(64, 48), {}));
        QStringList args{QStringLiteral("--settings"),  file, QStringLiteral("--out"), out,
                         QStringLiteral("--overwrite"), photo};
        if (!title.isEmpty()) args << QStringLiteral("--title") << title;
        const Run r = tool(QStringLiteral("stamp"), args);
        if (expected.isEmpty()) {
            QCOMPARE(r.status, 0);
            QVERIFY(QFile::exists(out + QStringLiteral("/PM_settings.jpg")));
            return;
        }
        QCOMPARE(r.status, 1);
        const QString err = QString::fromUtf8(r.err);
        QVERIFY2((!title.isEmpty() || err.contains(file)) && err.contains(expected),
                 qPrintable(err));
        QVERIFY(err.size() < 1000);  // a line is quoted in part
        QCOMPARE(QDir(out).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    void copiesDrawTheTexts()
    {
        int runs = 0;
        const auto copy = [&](const QString& name, const QStringList& args) {
            const QString out = dir.filePath(QStringLiteral("out%1").arg(++runs));
            tool(QStringLiteral("stamp"),
                 QStringList{"--quiet", "--out", out} + args << photo(name));
            QFile f(QDir(out).filePath(QStringLiteral("PM_") + name));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        const QByteArray undated = copy("undated.jpg", {}),
                         dated = copy("dated.jpg", {"--lossless"});
        QVERIFY(!undated.isEmpty() && undated != copy("undated.jpg", {"--date-fallback", "file"}));
        QVERIFY(!dated.isEmpty() &&
                dated != copy("dated.jpg", {"--lossless", "--date-shift", "+1:00"}));
    }
};

QTEST_GUILESS_MAIN(StampTextCliTest)
#include "tst_stamptextcli.moc"
