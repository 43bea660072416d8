// The bad-input corpus through the photo loader the window and the tool use, turning photos
// upright and reading the metadata a copy keeps: every file ends as expected (shown whole, shown
// but incomplete, or refused with its reason) within 2 s, nothing is written to standard error on
// the way, and metadata that cannot be read leaves the copy without it instead of failing.
#include "components/exifreader.h"
#include "photo/photoloader.h"
#include "tests/support/badcorpus.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace orvello;
using Shown = test::CorpusFile::Shown;

namespace {

// Sends standard error to a file while it lives; what was written is read back.
class StderrCapture {
public:
    explicit StderrCapture(const QString& path) : path_(path)
    {
        std::fflush(stderr);
        saved_ = ::dup(2);
        const int fd =
            ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(fd, 2);
        ::close(fd);
    }
    ~StderrCapture() { restore(); }
    QByteArray text()
    {
        restore();
        QFile f(path_);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(capture lost)");
    }

private:
    void restore()
    {
        if (saved_ < 0) return;
        std::fflush(stderr);
        ::dup2(saved_, 2);
        ::close(saved_);
        saved_ = -1;
    }
    QString path_;
    int saved_ = -1;
};

}  // namespace

class DecodeCorpusTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString previous;
    QList<test::CorpusFile> corpus;

private slots:
    void initTestCase()
    {
        corpus = test::writeBadCorpus(dir.path());
        QVERIFY(corpus.size() > 20);
#ifndef ORVELLO_SANITIZED
        // Reading and decoding allocate what a file needs, not what the caps allow: the whole
        // corpus opens within the 1.6 GB address space where reading once reserved 2 GiB.
        const rlimit limit{1'600'000'000, 1'600'000'000};
        QCOMPARE(::setrlimit(RLIMIT_AS, &limit), 0);
#endif
        previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
    }
    void cleanupTestCase()
    {
        test::removeNativeNames(dir.path(), corpus);
        QDir::setCurrent(previous);
    }

    void everyFileEndsAsExpected_data()
    {
        QTest::addColumn<test::CorpusFile>("file");
        for (const test::CorpusFile& f : corpus) QTest::newRow(qPrintable(f.path)) << f;
    }

    void everyFileEndsAsExpected()
    {
        QFETCH(test::CorpusFile, file);
        const QString what = file.path + QStringLiteral(": ") + file.what;
        QElapsedTimer clock;
        clock.start();
        LoadedPhoto loaded;
        QByteArray errorOutput;
        {
            StderrCapture capture(dir.filePath(QStringLiteral("stderr.txt")));
            const LoadOptions keep{true, true};
            loaded = file.nativePath.isEmpty() ? loadPhoto(file.path, keep)
                                               : loadPhoto(file.nativePath, keep);
            if (loaded.metadata) {
                // The copy's segments, and a copy with them that reads back.
                QString problem;
                const QList<JpegSegment> segments =
                    loaded.metadata->segmentsFor(loaded.photo.size(), &problem);
                QVERIFY2(problem.isEmpty() || segments.isEmpty(), qPrintable(what));
                // What the listing cannot read is not carried either.
                if (!file.readerLists && file.shown != Shown::Refused)
                    QVERIFY2(segments.isEmpty(), qPrintable(what));
                JpegOptions options;
                options.segments = segments;
                const QByteArray copy = encodeJpeg(QImage(16, 16, QImage::Format_RGB32), options);
                QVERIFY2(!copy.isEmpty(), qPrintable(what));
                if (!segments.isEmpty()) readPropertyItems(copy);  // throws when unreadable
            }
            errorOutput = capture.text();
        }
        // A hang or a runaway decode, not a speed measure: every file takes milliseconds.
        QVERIFY2(clock.elapsed() < 2000, qPrintable(what));
        QVERIFY2(errorOutput.isEmpty(),
                 qPrintable(what + ": " + QString::fromLocal8Bit(errorOutput)));
        QVERIFY2(loaded.photo.isNull() != loaded.error.isEmpty(), qPrintable(what));
        switch (file.shown) {
        case Shown::Refused:
            QVERIFY2(loaded.photo.isNull(), qPrintable(what));
            QVERIFY2(loaded.error.contains(file.refusal), qPrintable(what + ": " + loaded.error));
            QVERIFY2(loaded.exif.text.isEmpty(), qPrintable(what));  // not listed when not shown
            return;
        case Shown::Whole:
        case Shown::Incomplete:
            QVERIFY2(!loaded.photo.isNull(), qPrintable(what + ": " + loaded.error));
            QCOMPARE(loaded.incomplete, file.shown == Shown::Incomplete);
            QVERIFY(loaded.photo.width() > 0 && loaded.photo.height() > 0);
            QCOMPARE(loaded.photo.format(), QImage::Format_RGB32);
            QVERIFY2(loaded.exif.text.startsWith(exifHeading()), qPrintable(what));
            for (const QString& line : file.listed)
                QVERIFY2(loaded.exif.text.split("\r\n").contains(line), qPrintable(line));
        }
    }
};

QTEST_GUILESS_MAIN(DecodeCorpusTest)
#include "tst_decodecorpus.moc"
