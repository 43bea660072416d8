// orvello-stamp exif run as a separate process with its arguments as raw bytes, its output to a
// pipe or to a terminal, and under an address-space limit.
#include "tools/fixtures/photowriter.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>
#include <vector>

#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace orvello;

namespace {

const QByteArray tool = ORVELLO_BIN_DIR "/orvello-stamp";

struct Run {
    int status = -1;
    QByteArray out;
};

// Runs the tool's exif command with these argument bytes; its standard output is a pipe or a
// terminal. shellPrefix, when set, runs it through the shell after that text (for ulimit).
Run run(const QList<QByteArray>& args, bool terminal, const QByteArray& shellPrefix = {},
        const QByteArray& command = "exif")
{
    std::vector<QByteArray> argv;
    if (shellPrefix.isEmpty()) {
        argv = {tool, command};
        for (const QByteArray& a : args) argv.push_back(a);
    } else {
        QByteArray line = shellPrefix + " exec \"$0\" \"$@\"";
        argv = {"/bin/sh", "-c", line, tool, command};
        for (const QByteArray& a : args) argv.push_back(a);
    }
    std::vector<char*> pointers;
    for (QByteArray& a : argv) pointers.push_back(a.data());
    pointers.push_back(nullptr);

    int fds[2] = {-1, -1};
    int reader = -1;
    pid_t pid = -1;
    if (terminal) {
        pid = ::forkpty(&reader, nullptr, nullptr, nullptr);
    } else if (::pipe(fds) == 0) {
        pid = ::fork();
        reader = fds[0];
    }
    if (pid == 0) {
        if (!terminal) ::dup2(fds[1], 1), ::close(fds[0]), ::close(fds[1]);
        ::execv(pointers[0], pointers.data());
        ::_exit(127);
    }
    if (!terminal) ::close(fds[1]);
    Run r;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(reader, buffer, sizeof buffer);
        if (n <= 0) break;  // a terminal ends in EIO once the tool has gone
        r.out.append(buffer, n);
    }
    ::close(reader);
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        r.status = WEXITSTATUS(status);
    return r;
}

}  // namespace

class CliExifTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QByteArray hostile;

private slots:
    void initTestCase()
    {
        fixtures::ExifContent exif;
        exif.dateTimeOriginal = QStringLiteral("2007:12:10 14:30:00");
        // Sets the terminal's title, clears the screen, and a C1 control introducer.
        // A forged line of its own, and a right-to-left override that turns text around.
        exif.extra << fixtures::ExifEntry::ascii(
            fixtures::Dir::Image, 0x010E, QStringLiteral("a\x1B]0;owned\x07\x1B[2Jb\u009B5n"));
        exif.extra << fixtures::ExifEntry::ascii(
            fixtures::Dir::Image, 0x013B,
            QStringLiteral("x\r\nExifDTOrig 1999:09:09 09:09:09\n\u202Eevil\u2066"));
        hostile = QFile::encodeName(dir.filePath(QStringLiteral("hostile.jpg")));
        QVERIFY(fixtures::writeFile(QString::fromUtf8(hostile),
                                    fixtures::makeJpeg(fixtures::quadrantImage(32, 24), exif)));
    }

    void controlsReachAPipeAsStored()
    {
        const Run r = run({hostile}, false);
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.contains(
            QString("ImageDescription a\x1B]0;owned\x07\x1B[2Jb\u009B5n\n").toUtf8()));
        QVERIFY(r.out.contains(
            QString("ImageArtist x\nExifDTOrig 1999:09:09 09:09:09\n\u202Eevil\u2066\n").toUtf8()));
    }

    void controlsAreShownOnATerminal()
    {
        const Run r = run({hostile}, true);
        QCOMPARE(r.status, 0);
        QByteArray text = r.out;
        text.replace("\r\n", "\n");  // the terminal's own line ends
        QVERIFY2(text.contains("ImageDescription a\\x1B]0;owned\\x07\\x1B[2Jb\\x9B5n\n"),
                 text.constData());
        QVERIFY(!text.contains('\x1B') && !text.contains('\x07') && !text.contains("\xC2\x9B"));
        QVERIFY2(text.contains("\nImageArtist x\\r\\nExifDTOrig 1999:09:09 09:09:09\\n"
                               "\\u202Eevil\\u2066\n"),
                 text.constData());
        QVERIFY(!text.contains("\nExifDTOrig 1999") && !text.contains("\u202E"));
        QVERIFY(text.contains("\ncaptureDate: 2007-12-10 14:30:00\n"));
    }

    // A file name with a line feed stays on its one line of stamp's output on a terminal, and
    // reaches a pipe as its own bytes.
    void namesStayOnOneLine()
    {
        const QByteArray name = QFile::encodeName(dir.path()) + "/x\nExifDTOrig \xE2\x80\xAE.jpg";
        QVERIFY(QFile::copy(QString::fromUtf8(hostile), QString::fromUtf8(name)));
        const QByteArray out = QFile::encodeName(dir.filePath(QStringLiteral("out")));
        QVERIFY(QDir().mkpath(QString::fromUtf8(out)));
        const Run shown = run({"--overwrite", "--out", out, name}, true, {}, "stamp");
        QCOMPARE(shown.status, 0);
        QVERIFY2(shown.out.contains("/x\\nExifDTOrig \\u202E.jpg -> "), shown.out.constData());
        QVERIFY(!shown.out.contains("\nExifDTOrig"));
        const Run piped = run({"--overwrite", "--out", out, name}, false, {}, "stamp");
        QCOMPARE(piped.status, 0);
        QVERIFY(piped.out.contains(name + " -> "));
    }

    // A name written by a Chinese Windows system reaches the tool as its own bytes.
    void gb18030NameIsOpened()
    {
        QStringEncoder gb("GB18030");
        const QByteArray name =
            QFile::encodeName(dir.path()) + '/' + gb.encode(QString("照片.jpg"));
        QFile::copy(QString::fromUtf8(hostile), dir.filePath("copy.jpg"));
        QCOMPARE(
            ::rename(QFile::encodeName(dir.filePath("copy.jpg")).constData(), name.constData()), 0);
        const Run r = run({name}, false);
        ::unlink(name.constData());
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.contains("\ncaptureDate: 2007-12-10 14:30:00\n"));
    }

    // Reading a photo allocates what the file holds, not the largest size allowed; a file too
    // large for the memory left is reported, and the next one is listed.
    void listsUnderAnAddressSpaceLimit()
    {
#ifdef ORVELLO_SANITIZED
        QSKIP("the sanitizer reserves more address space than the limit allows");
#endif
        QFile sparse(dir.filePath(QStringLiteral("sparse.jpg")));
        QVERIFY(sparse.open(QIODevice::WriteOnly) && sparse.resize(900 << 20));
        sparse.close();
        const Run small =
            run({ORVELLO_SOURCE_DIR "/samples/landscape.jpg"}, false, "ulimit -v 700000;");
        QCOMPARE(small.status, 0);
        QVERIFY(small.out.contains("\nExifDTOrig "));
        const Run r = run({QFile::encodeName(sparse.fileName()), hostile}, false,
                          "ulimit -v 700000; exec 2>&1;");
        QCOMPARE(r.status, 2);
        QVERIFY2(r.out.contains("There is not enough memory to read the file."), r.out.constData());
        QVERIFY(r.out.contains("\ncaptureDate: 2007-12-10 14:30:00\n"));
    }
};

QTEST_GUILESS_MAIN(CliExifTest)
#include "tst_cliexif.moc"
