// orvello-stamp stamp on whole archives, run as a user or a scheduler runs it: stopped and started
// again, told its settings and photos from files, over folder trees, two at once, on a full disk.
#include "tools/fixtures/photowriter.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QRegularExpression>
#include <QStandardPaths>
#include <climits>
#include <csignal>
#include <cstring>

using namespace orvello;

namespace {

struct Run {
    int status = -1;  // the exit status, or the signal that ended it
    bool signalled = false;
    QByteArray out, err;
};

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every file under root by its path below root, with its bytes.
QMap<QString, QByteArray> treeFiles(const QString& root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(root).relativeFilePath(path), readAll(path));
    }
    return files;
}

QMap<QString, QByteArray> copiesIn(const QMap<QString, QByteArray>& files)
{
    QMap<QString, QByteArray> copies;
    for (auto it = files.begin(); it != files.end(); ++it)
        if (QFileInfo(it.key()).fileName().startsWith(QStringLiteral("PM_")))
            copies.insert(it.key(), it.value());
    return copies;
}

// The names alone, cheap enough to watch a running batch with.
QStringList fileNames(const QString& root)
{
    QStringList names;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) names << QDir(root).relativeFilePath(it.next());
    return names;
}

QStringList hiddenFiles(const QString& root)
{
    QStringList hidden;
    for (const QString& name : fileNames(root))
        if (QFileInfo(name).fileName().startsWith(u'.')) hidden << name;
    return hidden;
}

qsizetype copyCount(const QString& root)
{
    return fileNames(root).filter(QRegularExpression(QStringLiteral("(^|/)PM_"))).size();
}

QImage noisy(QSize size, int seed)
{
    QImage img(size, QImage::Format_RGB32);
    quint32 v = quint32(seed) * 2654435761u + 1;
    for (int y = 0; y < size.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            v = v * 1664525u + 1013904223u;
            row[x] = 0xff000000u | (v >> 8);
        }
    }
    return img;
}

}  // namespace

class StampRunTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString settingsFile;
    QMap<QString, QByteArray> stoppedReference;

    QProcessEnvironment environment(const QStringList& extra = {}) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("PARALLEL"), QStringLiteral("--will-cite"));
        env.insert(QStringLiteral("PATH"),
                   QStringLiteral(ORVELLO_BIN_DIR ":") + env.value(QStringLiteral("PATH")));
        for (const QString& pair : extra)
            env.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
        return env;
    }
    static Run finish(QProcess& p)
    {
        if (!p.waitForFinished(240000)) return {};
        return {p.exitCode(), p.exitStatus() == QProcess::CrashExit, p.readAllStandardOutput(),
                p.readAllStandardError()};
    }
    Run stamp(const QStringList& args, const QByteArray& input = {}, const QStringList& env = {})
    {
        QProcess p;
        p.setProcessEnvironment(environment(env));
        p.start(QStringLiteral(ORVELLO_BIN_DIR "/orvello-stamp"), QStringList{"stamp"} + args);
        p.write(input);
        p.closeWriteChannel();
        return finish(p);
    }
    // A tree of photos: a few in the top folder and in two levels of sub-folders, each with a
    // copy of an earlier run beside it that a folder argument must pass over.
    QString makeTree(const QString& name, int perFolder, QSize size)
    {
        const QString root = dir.filePath(name);
        int seed = 0;
        for (const QString& sub :
             {QString(), QStringLiteral("2019"), QStringLiteral("2019/夏天")}) {
            if (!QDir().mkpath(root + u'/' + sub)) return {};
            for (int i = 0; i < perFolder; ++i) {
                fixtures::ExifContent exif;
                exif.dateTimeOriginal =
                    QStringLiteral("2019:07:%1 10:00:00").arg(i + 1, 2, 10, QLatin1Char('0'));
                fixtures::writeFile(root + u'/' + sub + QStringLiteral("/p%1.jpg").arg(i),
                                    fixtures::makeJpeg(noisy(size, ++seed), exif));
            }
        }
        fixtures::writeFile(root + QStringLiteral("/PM_old.jpg"),
                            fixtures::makeJpeg(noisy({40, 30}, 99), {}));
        return root;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        settingsFile = dir.filePath(QStringLiteral("stamp.ini"));
        fixtures::writeFile(settingsFile,
                            "[SetLog]\naddTXB=True\naddForeColor=255\n"
                            "addFontSize=3.5\naddCurrentX=10\n");
    }

    // The same set of photos from arguments, a list file, standard input or a NUL-separated
    // list, names in any encoding included; a named PM_ file is taken, a folder's are not.
    void photoListsAndFolders_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("folder arguments") << QStringLiteral("args");
        QTest::newRow("lines from a file") << QStringLiteral("file");
        QTest::newRow("lines on standard input") << QStringLiteral("stdin");
        QTest::newRow("find -print0 on standard input") << QStringLiteral("null");
    }
    void photoListsAndFolders()
    {
        QFETCH(QString, how);
        const QString root = dir.filePath(QStringLiteral("lists_") + how);
        const QString out = root + QStringLiteral("_out");
        QVERIFY(QDir().mkpath(root) && QDir().mkpath(out));
        const QByteArray folder = QFile::encodeName(root) + '/';
        const QByteArray gbName = QStringEncoder("GB18030").encode(QStringLiteral("照片.jpg"));
        QList<QByteArray> names{"a.jpg", "b.jpg", gbName, "PM_x.jpg"};
        for (int i = 0; i < names.size(); ++i) {
            const QByteArray jpeg = fixtures::makeJpeg(noisy({48, 32}, i), {});
            std::FILE* f = std::fopen((folder + names[i]).constData(), "wb");
            QVERIFY(f);
            std::fwrite(jpeg.constData(), 1, size_t(jpeg.size()), f);
            std::fclose(f);
        }
        QByteArray list;
        for (const QByteArray& name : names) list += folder + name + (how == "null" ? '\0' : '\n');
        QStringList args{QStringLiteral("--out"), out};
        QByteArray input;
        if (how == "args") {
            args << root << root + QStringLiteral("/PM_x.jpg");
        } else if (how == "file") {
            fixtures::writeFile(root + QStringLiteral(".list"), list);
            args << QStringLiteral("--files-from") << root + QStringLiteral(".list");
        } else {
            args << QStringLiteral("--files-from") << QStringLiteral("-");
            if (how == "null") args << QStringLiteral("--null");
            input = list;
        }
        const Run r = stamp(args, input);
        QCOMPARE(r.status, 0);
        QVERIFY2(r.err.endsWith(QStringLiteral("已写 4 张，跳过 0 张，失败 0 张\n").toUtf8()),
                 r.err.constData());
        QList<QByteArray> copies;
        for (const QByteArray& line : r.out.split('\n'))
            if (!line.isEmpty()) copies << line.mid(line.lastIndexOf('/') + 1);
        std::sort(copies.begin(), copies.end());
        QList<QByteArray> expected;
        for (const QByteArray& name : names) expected << "PM_" + name;
        std::sort(expected.begin(), expected.end());
        QCOMPARE(copies, expected);
        ::unlink((QFile::encodeName(out) + "/PM_" + gbName).constData());
        ::unlink((folder + gbName).constData());
    }

    // A tree keeps its shape under --out and never reaches out of it; copies of an earlier run
    // are not stamped again.
    void recursiveTree_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("beside, then again") << QStringLiteral("beside");
        QTest::newRow("under --out") << QStringLiteral("out");
        QTest::newRow("a link under --out leads out") << QStringLiteral("link");
    }
    void recursiveTree()
    {
        QFETCH(QString, how);
        const QString root = makeTree(QStringLiteral("tree_") + how, 2, {64, 48});
        const QString out = root + QStringLiteral("_out"), away = root + QStringLiteral("_away");
        QStringList args{QStringLiteral("--recursive"), QStringLiteral("--settings"), settingsFile};
        if (how != "beside") {
            QVERIFY(QDir().mkpath(out) && QDir().mkpath(away));
            args << QStringLiteral("--out") << out;
        }
        if (how == "link") QVERIFY(QFile::link(away, out + QStringLiteral("/2019")));
        const Run r = stamp(args + QStringList{root});
        const QStringList expected{
            QStringLiteral("2019/PM_p0.jpg"),      QStringLiteral("2019/PM_p1.jpg"),
            QStringLiteral("2019/夏天/PM_p0.jpg"), QStringLiteral("2019/夏天/PM_p1.jpg"),
            QStringLiteral("PM_p0.jpg"),           QStringLiteral("PM_p1.jpg")};
        if (how == "link") {
            QCOMPARE(r.status, 2);
            QVERIFY2(QString::fromUtf8(r.err).contains(QStringLiteral("通向 --out 文件夹之外")),
                     r.err.constData());
            QCOMPARE(treeFiles(away).keys(), QStringList());
            QCOMPARE(copiesIn(treeFiles(out)).keys(), expected.mid(4));
            return;
        }
        QCOMPARE(r.status, 0);
        const QString where = how == "beside" ? root : out;
        QStringList written = copiesIn(treeFiles(where)).keys();
        written.removeOne(QStringLiteral("PM_old.jpg"));
        QCOMPARE(written, expected);
        if (how != "beside") return;
        // The same command again: no PM_PM_ file, and with --skip-existing nothing to do.
        const Run again = stamp(args + QStringList{root});
        QCOMPARE(again.status, 2);
        QVERIFY(!again.err.contains("PM_PM_"));
        const Run skipping = stamp(args + QStringList{QStringLiteral("--skip-existing"), root});
        QCOMPARE(skipping.status, 0);
        QVERIFY(
            skipping.err.endsWith(QStringLiteral("已写 0 张，跳过 6 张，失败 0 张\n").toUtf8()));
        QCOMPARE(copiesIn(treeFiles(root)).size(), 7);
    }

    // A copy depends only on its photo and the settings: one photo set in three folders, stamped
    // twice by two workers, gives one set of bytes per photo. The text comes in several sizes,
    // above and below the size Qt stops drawing glyph images at.
    void sameBytesEveryTime()
    {
        const QString root = dir.filePath(QStringLiteral("same"));
        const QString ini = root + QStringLiteral(".ini");
        fixtures::writeFile(ini, "[SetLog]\naddTXB=True\naddFontSize=12\naddCurrentX=5\n");
        const QSize sizes[] = {{640, 400}, {200, 150}, {480, 620}, {300, 200}};
        for (const char* sub : {"/a/", "/b/", "/a/c/"}) {
            QVERIFY(QDir().mkpath(root + QLatin1String(sub)));
            for (int i = 0; i < 4; ++i) {
                fixtures::ExifContent exif;
                exif.dateTimeOriginal = QStringLiteral("2019:07:0%1 10:2%1:3%1").arg(i + 1);
                fixtures::writeFile(root + QLatin1String(sub) + QStringLiteral("p%1.jpg").arg(i),
                                    fixtures::makeJpeg(noisy(sizes[i], i), exif));
            }
        }
        QMap<QString, QSet<QByteArray>> copies;
        for (const QString& out : {root + QStringLiteral("_1"), root + QStringLiteral("_2")}) {
            QVERIFY(QDir().mkpath(out));
            const Run r =
                stamp({QStringLiteral("--recursive"), QStringLiteral("--jobs"), QStringLiteral("2"),
                       QStringLiteral("--settings"), ini, QStringLiteral("--title"),
                       QStringLiteral("夜景 Tokyo"), QStringLiteral("--out"), out, root});
            QCOMPARE(r.status, 0);
            const QMap<QString, QByteArray> files = copiesIn(treeFiles(out));
            QCOMPARE(files.size(), 12);
            for (auto it = files.begin(); it != files.end(); ++it)
                copies[QFileInfo(it.key()).fileName()].insert(it.value());
        }
        QCOMPARE(copies.size(), 4);
        for (auto it = copies.begin(); it != copies.end(); ++it)
            QVERIFY2(it.value().size() == 1, qPrintable(it.key()));
    }

    // What a scheduler reads: 0 or 2, the summary last; --quiet leaves the failures alone; a
    // number of jobs beyond the machine is lowered, and said so.
    void statusAndSummary_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::newRow("plain") << QStringList();
        QTest::newRow("quiet") << QStringList{QStringLiteral("--quiet")};
        QTest::newRow("too many jobs")
            << QStringList{QStringLiteral("--jobs"), QStringLiteral("4096")};
    }
    void statusAndSummary()
    {
        QFETCH(QStringList, options);
        const QString out =
            dir.filePath(QStringLiteral("summary_") + QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(QDir().mkpath(out));
        const QString good = dir.filePath(QStringLiteral("good.jpg"));
        const QString cut = dir.filePath(QStringLiteral("cut.jpg"));
        fixtures::writeFile(good, fixtures::makeJpeg(noisy({64, 48}, 3), {}));
        fixtures::writeFile(cut, fixtures::makeJpeg(noisy({640, 480}, 4), {}).left(900));
        const Run r = stamp(options + QStringList{QStringLiteral("--out"), out, good, cut});
        QCOMPARE(r.status, 2);
        const QStringList lines = QString::fromUtf8(r.err).split(u'\n', Qt::SkipEmptyParts);
        const bool quiet = options.contains(QStringLiteral("--quiet"));
        QCOMPARE(r.out.isEmpty(), quiet);
        QVERIFY2(lines.filter(QStringLiteral("cut.jpg")).size() == 1, r.err.constData());
        if (quiet) {
            QCOMPARE(lines.size(), 1);
            return;
        }
        QCOMPARE(lines.last(), QStringLiteral("已写 1 张，跳过 0 张，失败 1 张"));
        const bool manyJobs = options.contains(QStringLiteral("--jobs"));
        QCOMPARE(lines.filter(QStringLiteral("--jobs 4096 超出本机所能")).size(), manyJobs ? 1 : 0);
        QCOMPARE(lines.size(), manyJobs ? 3 : 2);
    }

    // Stopped half-way by any of the usual signals, the run dies of that signal and leaves no
    // temporary file, only whole copies; the same command again finishes it, byte for byte as
    // a run that was never stopped. Both ways of keeping temporary files are tried.
    void stoppedRunResumes_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("named");
        for (const int sig : {SIGINT, SIGTERM, SIGHUP})
            for (const bool named : {false, true})
                QTest::addRow("%s, %s", strsignal(sig), named ? "named" : "unnamed")
                    << sig << named;
    }
    void stoppedRunResumes()
    {
        QFETCH(int, signal);
        QFETCH(bool, named);
        const QString tag = QStringLiteral("stop%1%2").arg(signal).arg(named);
        const QString root = makeTree(tag, 5, {1400, 1000});
        const QStringList args{QStringLiteral("--recursive"), QStringLiteral("--skip-existing"),
                               QStringLiteral("--jobs"),      QStringLiteral("2"),
                               QStringLiteral("--settings"),  settingsFile};
        if (stoppedReference.isEmpty()) {
            const QString ref = makeTree(QStringLiteral("stop_ref"), 5, {1400, 1000});
            QCOMPARE(stamp(args + QStringList{ref}).status, 0);
            stoppedReference = copiesIn(treeFiles(ref));
        }
        const QMap<QString, QByteArray>& whole = stoppedReference;

        QProcess p;
        p.setProcessEnvironment(
            environment({named ? QStringLiteral("ORVELLO_NAMED_TEMPORARY_FILES=1") : QString()}));
        p.start(QStringLiteral(ORVELLO_BIN_DIR "/orvello-stamp"),
                QStringList{"stamp"} + args + QStringList{root});
        QVERIFY(p.waitForStarted());
        // Named: stopped while a temporary file is there; unnamed: once a copy is done.
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 60000 && p.state() == QProcess::Running &&
               (named ? hiddenFiles(root).isEmpty() : copyCount(root) < 2))
            p.waitForFinished(2);
        QVERIFY2(p.state() == QProcess::Running, "the run ended before it could be stopped");
        // One thread at most takes the signal: the workers block it.
        const QString tasks = QStringLiteral("/proc/%1/task/").arg(p.processId());
        int takers = 0;
        for (const QString& task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            const QByteArray status = readAll(tasks + task + QStringLiteral("/status"));
            const qsizetype at = status.indexOf("SigBlk:") + 7;
            const quint64 mask =
                status.mid(at, status.indexOf('\n', at) - at).trimmed().toULongLong(nullptr, 16);
            takers += !(mask & (1ull << (signal - 1)));
        }
        QVERIFY(takers <= 1);
        ::kill(pid_t(p.processId()), signal);
        const Run stopped = finish(p);
        QVERIFY(stopped.signalled);
        QCOMPARE(stopped.status, signal);
        QCOMPARE(hiddenFiles(root), QStringList());
        const QMap<QString, QByteArray> partial = copiesIn(treeFiles(root));
        QVERIFY(partial.size() < whole.size());
        // It says what it had done; PM_old.jpg is no copy of this run.
        const QRegularExpressionMatch said =
            QRegularExpression(QStringLiteral("已写 (\\d+) 张，跳过 0 张，失败 0 张\n$"))
                .match(QString::fromUtf8(stopped.err));
        QVERIFY2(said.hasMatch() && said.captured(1).toInt() < partial.size(),
                 stopped.err.constData());
        for (auto it = partial.begin(); it != partial.end(); ++it)
            QVERIFY2(whole.value(it.key()) == it.value(), qPrintable(it.key()));

        const Run resumed = stamp(args + QStringList{root});
        QCOMPARE(resumed.status, 0);
        QCOMPARE(copiesIn(treeFiles(root)), whole);
        QCOMPARE(hiddenFiles(root), QStringList());
    }

    // A photo deeper than the system can name is said to be so, not taken for a missing photo.
    void tooDeepIsNamed()
    {
        const QString root = dir.filePath(QStringLiteral("deep"));
        QVERIFY(QDir().mkpath(root));
        QByteArray path = QFile::encodeName(root);
        const QByteArray part(200, 'd');
        int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY);
        for (; fd >= 0 && path.size() < PATH_MAX; path += '/' + part) {
            ::mkdirat(fd, part.constData(), 0755);
            const int next = ::openat(fd, part.constData(), O_RDONLY | O_DIRECTORY);
            ::close(fd);
            fd = next;
        }
        const QByteArray jpeg = fixtures::makeJpeg(noisy({32, 24}, 1), {});
        const int photo = ::openat(fd, "p.jpg", O_WRONLY | O_CREAT, 0644);
        QVERIFY(photo >= 0 && ::write(photo, jpeg.constData(), size_t(jpeg.size())) == jpeg.size());
        ::close(photo);
        ::close(fd);
        const Run r = stamp({QStringLiteral("--recursive"), root});
        QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), root});
        QCOMPARE(r.status, 2);
        const QString err = QString::fromUtf8(r.err);
        QVERIFY2(
            err.contains(QStringLiteral("路径太长")) && !err.contains(QStringLiteral("没有照片")),
            r.err.constData());
    }

    // Two runs into one folder: each copy is written by one of them; the other says it was
    // refused, and neither replaces what the other wrote.
    void concurrentRunsShareTheWork()
    {
        const QString root = dir.filePath(QStringLiteral("twice"));
        const QString out = root + QStringLiteral("_out");
        QVERIFY(QDir().mkpath(root) && QDir().mkpath(out));
        QStringList args{QStringLiteral("--jobs"), QStringLiteral("2"), QStringLiteral("--out"),
                         out};
        const int count = 16;
        for (int i = 0; i < count; ++i) {
            const QString path = root + QStringLiteral("/t%1.jpg").arg(i);
            fixtures::writeFile(path, fixtures::makeJpeg(noisy({400, 300}, i), {}));
            args << path;
        }
        QProcess first, second;
        for (QProcess* p : {&first, &second}) {
            p->setProcessEnvironment(environment());
            p->start(QStringLiteral(ORVELLO_BIN_DIR "/orvello-stamp"), QStringList{"stamp"} + args);
        }
        const Run a = finish(first), b = finish(second);
        QList<QByteArray> written;
        for (const QByteArray& out : {a.out, b.out})
            for (const QByteArray& line : out.split('\n'))
                if (!line.isEmpty()) written << line.mid(line.indexOf(" -> ") + 4);
        std::sort(written.begin(), written.end());
        QCOMPARE(written.size(), count);
        QVERIFY(std::adjacent_find(written.begin(), written.end()) == written.end());
        const int refused =
            int(QString::fromUtf8(a.err + b.err).count(QStringLiteral("目标文件已存在")));
        QCOMPARE(refused, count);
        QCOMPARE(QDir(out).entryList(QDir::Files | QDir::Hidden).size(), count);
    }

    // A full disk: every failure says so, and nothing partial or temporary is left on it.
    void fullDiskSaysSo()
    {
        const QString out = dir.filePath(QStringLiteral("full"));
        QVERIFY(QDir().mkpath(out));
        QStringList photos;
        for (int i = 0; i < 6; ++i) {
            photos << dir.filePath(QStringLiteral("f%1.jpg").arg(i));
            fixtures::writeFile(photos.last(), fixtures::makeJpeg(noisy({400, 300}, i), {}));
        }
        // A small file system of its own, in a namespace of the test's (no root needed).
        const QString script = QStringLiteral(
            "mount -t tmpfs -o size=600k none \"$0\" || exit 99; "
            "orvello-stamp stamp --jobs 2 --out \"$0\" \"$@\"; s=$?; "
            "echo \"== $s\"; ls -A \"$0\"");
        QProcess p;
        p.setProcessEnvironment(environment());
        p.start(QStringLiteral("unshare"), QStringList{QStringLiteral("-rm"), QStringLiteral("sh"),
                                                       QStringLiteral("-c"), script, out} +
                                               photos);
        const Run r = finish(p);
        if (r.status == 99 || (p.error() == QProcess::FailedToStart))
            QSKIP("no mount namespace for a small file system here");
        const QList<QByteArray> parts = r.out.split('\n');
        qsizetype mark = 0;
        while (mark < parts.size() && !parts[mark].startsWith("== ")) ++mark;
        QVERIFY2(mark < parts.size(), r.out.constData());
        QCOMPARE(parts[mark], QByteArray("== 2"));
        const QStringList failures = QString::fromUtf8(r.err)
                                         .split(u'\n', Qt::SkipEmptyParts)
                                         .filter(QStringLiteral("存储失败"));
        QVERIFY2(!failures.isEmpty(), r.err.constData());
        QCOMPARE(failures.filter(QStringLiteral("磁盘已满")), failures);
        // Whatever is on the disk is a copy reported as written.
        for (const QByteArray& name : parts.mid(mark + 1))
            if (!name.isEmpty()) QVERIFY2(r.out.contains("/" + name + '\n'), name.constData());
    }

    // The README's recipe for many machines, run here with this machine as the only one:
    // stopped half-way, run again, and every copy once, whole and as a single run writes it.
    void parallelRecipeResumes()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("parallel")).isEmpty())
            QFAIL("GNU parallel is missing: make test installs it");
        // Enough jobs that the run is still going, on any machine, when its first copy appears.
        const QString ref = makeTree(QStringLiteral("par_ref"), 8, {900, 700});
        const QString root = makeTree(QStringLiteral("par"), 8, {900, 700});
        QCOMPARE(
            stamp({QStringLiteral("--recursive"), QStringLiteral("--settings"), settingsFile, ref})
                .status,
            0);
        const QMap<QString, QByteArray> whole = copiesIn(treeFiles(ref));
        const QString recipe = QStringLiteral(
            "cd \"$0\" && find . -type f \\( -iname '*.jpg' -o -iname '*.tif' \\) "
            "! -name 'PM_*' -print0 | parallel -0 -n 2 -S 1/: --workdir . "
            "orvello-stamp stamp --skip-existing --settings \"$1\" --quiet");
        const auto start = [&](QProcess& p) {
            p.setProcessEnvironment(environment());
            // A group of its own, stopped as a whole as a terminal stops it.
            p.start(QStringLiteral("setsid"),
                    {QStringLiteral("bash"), QStringLiteral("-c"), recipe, root, settingsFile});
        };
        QProcess first;
        start(first);
        QVERIFY(first.waitForStarted());
        QElapsedTimer clock;
        clock.start();
        // PM_old.jpg is there from the start: stop at the first copy the run writes.
        while (clock.elapsed() < 60000 && first.state() == QProcess::Running && copyCount(root) < 2)
            first.waitForFinished(2);
        QVERIFY2(first.state() == QProcess::Running, "the run ended before it could be stopped");
        ::kill(-pid_t(first.processId()), SIGTERM);
        finish(first);
        QVERIFY(copiesIn(treeFiles(root)).size() < whole.size());
        QCOMPARE(hiddenFiles(root), QStringList());

        QProcess second;
        start(second);
        const Run r = finish(second);
        QVERIFY2(r.status == 0 && !r.signalled, r.err.constData());
        QCOMPARE(copiesIn(treeFiles(root)), whole);
        QCOMPARE(hiddenFiles(root), QStringList());
    }
};

QTEST_GUILESS_MAIN(StampRunTest)
#include "tst_stamprun.moc"
