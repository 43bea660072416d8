// orvello-stamp stamp as a batch run meets existing files: it replaces nothing unasked, never
// writes through a link, never over a photo it reads, and a title given is drawn.
#include "app/settings.h"
#include "tools/fixtures/photowriter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace orvello;

class StampOutputTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString photo;

    // Runs the tool with the test's own (empty) settings; returns its exit status.
    int stamp(const QStringList& args, QString* err = nullptr)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(ORVELLO_BIN_DIR "/orvello-stamp"),
                QStringList{QStringLiteral("stamp")} + args);
        if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit) return -1;
        if (err) *err = QString::fromUtf8(p.readAllStandardError());
        return p.exitCode();
    }
    static QByteArray bytes(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void put(const QString& path, const QByteArray& content)
    {
        QFile::remove(path);
        QVERIFY(fixtures::writeFile(path, content));
    }
    QString out(const QString& name) const { return dir.filePath(QStringLiteral("out/") + name); }

private slots:
    void initTestCase()
    {
        photo = dir.filePath(QStringLiteral("dated.jpg"));
        QVERIFY(fixtures::writeDatedPhoto(photo, QSize(600, 400), qRgb(30, 30, 30),
                                          QStringLiteral("2007:12:10 14:30:00"), 90));
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("out"))));
    }
    void init() { QFile::remove(out(QStringLiteral("PM_dated.jpg"))); }

    void anExistingCopyIsReplacedOnlyWhenAsked()
    {
        const QString target = out(QStringLiteral("PM_dated.jpg"));
        put(target, "an earlier copy");
        const QStringList args{QStringLiteral("--out"), dir.filePath(QStringLiteral("out")), photo};
        QString err;
        QCOMPARE(stamp(args, &err), 2);
        QVERIFY2(err.contains(target) && err.contains(QLatin1String("--overwrite")),
                 qPrintable(err));
        QCOMPARE(bytes(target), QByteArray("an earlier copy"));

        QCOMPARE(stamp(QStringList{QStringLiteral("--overwrite")} + args), 0);
        QVERIFY(bytes(target).startsWith("\xFF\xD8"));
    }

    void aLinkIsReplacedNeverWrittenThrough()
    {
        const QString victim = dir.filePath(QStringLiteral("someone-elses.txt"));
        put(victim, "not ours");
        const QString target = out(QStringLiteral("PM_dated.jpg"));
        QVERIFY(QFile::link(victim, target));
        const QStringList args{QStringLiteral("--out"), dir.filePath(QStringLiteral("out")), photo};
        QCOMPARE(stamp(args), 2);
        QVERIFY(QFileInfo(target).isSymLink());

        QCOMPARE(stamp(QStringList{QStringLiteral("--overwrite")} + args), 0);
        QCOMPARE(bytes(victim), QByteArray("not ours"));
        QVERIFY(!QFileInfo(target).isSymLink());
        QVERIFY(bytes(target).startsWith("\xFF\xD8"));
        QVERIFY(QFileInfo(target).permissions() & QFileDevice::ReadOther);  // not a private temp
    }

    // A photo named like the copy of another, in the same run: it is read, never replaced, even
    // with --overwrite; and two photos of one name give one copy, not one over the other.
    void inputsAndThisRunsCopiesAreNeverReplaced()
    {
        const QString named = out(QStringLiteral("PM_dated.jpg"));
        QVERIFY(QFile::copy(photo, named));
        const QByteArray original = bytes(named);
        QString err;
        QCOMPARE(stamp({QStringLiteral("--overwrite"), QStringLiteral("--out"),
                        dir.filePath(QStringLiteral("out")), photo, named},
                       &err),
                 2);
        QVERIFY2(err.contains(named), qPrintable(err));
        QCOMPARE(bytes(named), original);
        QVERIFY(QFile::exists(out(QStringLiteral("PM_PM_dated.jpg"))));

        const QString twin = dir.filePath(QStringLiteral("twin/dated.jpg"));
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("twin"))));
        QVERIFY(QFile::copy(photo, twin));
        QFile::remove(named);
        QCOMPARE(stamp({QStringLiteral("--overwrite"), QStringLiteral("--out"),
                        dir.filePath(QStringLiteral("out")), photo, twin},
                       &err),
                 2);
        QVERIFY(err.contains(named));
        QVERIFY(QFile::exists(named));
    }

    void aGivenTitleIsDrawn()
    {
        // With the stored settings the title is off; giving one turns it on for the run.
        const auto brightInTitleCorner = [&] {
            QImage stamped(out(QStringLiteral("PM_dated.jpg")));
            int bright = 0;
            for (int y = 25; y < 70; ++y)
                for (int x = 25; x < 150; ++x) bright += qGray(stamped.pixel(x, y)) > 150;
            return bright;
        };
        const QStringList args{QStringLiteral("--overwrite"), QStringLiteral("--out"),
                               dir.filePath(QStringLiteral("out")), photo};
        QCOMPARE(stamp(args), 0);
        QCOMPARE(brightInTitleCorner(), 0);
        QCOMPARE(stamp(QStringList{QStringLiteral("--title"), QStringLiteral("标题")} + args), 0);
        QVERIFY(brightInTitleCorner() > 20);
    }
};

QTEST_GUILESS_MAIN(StampOutputTest)
#include "tst_stampoutput.moc"
