// Where the programs look for their date font, how the photo argument is read, and what stands
// in the way of the single-instance lock and the hand-over socket.
#include "app/photohandover.h"
#include "app/singleinstance.h"
#include "app/startup.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QTemporaryDir>
#include <QtTest>
#include <list>

using namespace orvello;
using Outcome = SingleInstance::Outcome;

class StartupTest : public QObject {
    Q_OBJECT

    static QStringList fontNames()
    {
        QStringList names;
        for (const QString& f : dateFontFiles(QStringLiteral(ORVELLO_BIN_DIR)))
            names << QFileInfo(f).fileName();
        return names;
    }
    // Fills folder with the first count of the four font files.
    static void putFonts(const QString& folder, int count)
    {
        QDir().mkpath(folder);
        const QStringList names = fontNames();
        for (int i = 0; i < count; ++i)
            QVERIFY(QFile::copy(QStringLiteral(ORVELLO_BIN_DIR "/fonts/") + names[i],
                                folder + QLatin1Char('/') + names[i]));
    }

private slots:
    // A build tree keeps the fonts beside the program, an installed program in
    // ../share/orvello/fonts; a folder with only some of the files does not count.
    void fontFolder_data()
    {
        QTest::addColumn<int>("beside");
        QTest::addColumn<int>("installed");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("loads");
        QTest::newRow("build tree") << 4 << 0 << "bin/fonts" << true;
        QTest::newRow("installed") << 0 << 4 << "share/orvello/fonts" << true;
        QTest::newRow("both") << 4 << 4 << "bin/fonts" << true;
        QTest::newRow("partial beside") << 3 << 4 << "share/orvello/fonts" << true;
        QTest::newRow("partial installed") << 0 << 2 << "bin/fonts" << false;
        QTest::newRow("neither") << 0 << 0 << "bin/fonts" << false;
    }
    void fontFolder()
    {
        QFETCH(int, beside);
        QFETCH(int, installed);
        QFETCH(QString, expected);
        QFETCH(bool, loads);
        QTemporaryDir root;
        const QString bin = root.filePath(QStringLiteral("bin"));
        QDir().mkpath(bin);
        if (beside) putFonts(bin + QStringLiteral("/fonts"), beside);
        if (installed) putFonts(root.filePath(QStringLiteral("share/orvello/fonts")), installed);
        QCOMPARE(dateFontFolder(bin), root.filePath(expected));
        QCOMPARE(dateFontFiles(bin).size(), 4);
        QCOMPARE(loadDateFonts(bin), loads);
    }

    // Only a lock naming a running process means another instance, and only a socket nobody
    // answers on is replaced: whatever else stands in the way stays, and the start is told why.
    void lockAndSocketPaths_data()
    {
        QTest::addColumn<QString>("what");
        for (const char* what : {"", "stale", "live", "file", "folder", "link", "gone/x"})
            QTest::newRow(what) << QString::fromLatin1(what);
    }
    void lockAndSocketPaths()
    {
        QFETCH(QString, what);
        std::list<QLocalServer> live;
        const auto put = [&](const QString& path) {
            if (what == u"live") QVERIFY(live.emplace_back().listen(path));
            if (what == u"file") QVERIFY(QFile(path).open(QIODevice::WriteOnly));
            if (what == u"folder") QVERIFY(QDir().mkpath(path));
            if (what == u"link") QVERIFY(QFile::link(path + u'-', path));
            if (what != u"stale" && what != u"link") return;
            sockaddr_un addr = {AF_UNIX, {}};  // a socket left by a process that died
            qstrncpy(addr.sun_path, QFile::encodeName(what == u"link" ? path + u'-' : path),
                     sizeof addr.sun_path);
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
            ::close(fd);
        };
        const auto kind = [](const QString& path) {
            struct stat st = {};
            return ::lstat(QFile::encodeName(path), &st) == 0 ? st.st_mode & S_IFMT : 0;
        };
        QTemporaryDir dir;
        const QString lockPath = dir.filePath(what + u'a'), socketPath = dir.filePath(what + u'b');
        put(lockPath);
        put(socketPath);
        const auto before = kind(socketPath);
        SingleInstance instance(lockPath);
        QCOMPARE(instance.acquire(), what.isEmpty() ? Outcome::Acquired : Outcome::Failed);
        QCOMPARE(instance.failureReason().isEmpty(), what.isEmpty());
        const bool listens = what.isEmpty() || what == u"stale";
        PhotoHandover handover({});
        QCOMPARE(handover.listen(socketPath), listens);
        QCOMPARE(kind(socketPath), listens ? S_IFSOCK : before);
    }

    void photoArgument_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected");
        const QString cwd = QDir::currentPath();
        QTest::newRow("none") << QStringList{"orvello"} << QString();
        QTest::newRow("empty") << QStringList{"orvello", ""} << QString();
        QTest::newRow("absolute") << QStringList{"orvello", "/p/a b#1.jpg"} << "/p/a b#1.jpg";
        QTest::newRow("relative") << QStringList{"orvello", "x/../y.JPG"} << cwd + "/y.JPG";
        QTest::newRow("file URL") << QStringList{"orvello", "file:///p/%E6%98%A5%20a.jpg"}
                                  << QStringLiteral("/p/春 a.jpg");
        QTest::newRow("after --") << QStringList{"orvello", "--", "-x.jpg"} << cwd + "/-x.jpg";
        QTest::newRow("only --") << QStringList{"orvello", "--"} << QString();
        QTest::newRow("first of two")
            << QStringList{"orvello", "/p/1.jpg", "/p/2.jpg"} << "/p/1.jpg";
    }
    void photoArgument()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        QCOMPARE(orvello::photoArgument(arguments), expected);
    }
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
