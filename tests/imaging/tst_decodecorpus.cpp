// The bad-input corpus through the photo loader the window and the tool use: every file ends in
// a shown photo or a clear reason, never a crash or a hang.
#include "photo/photoloader.h"
#include "tests/support/badcorpus.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace orvello;

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
        previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
    }
    void cleanupTestCase() { QDir::setCurrent(previous); }

    void everyFileEndsCleanly()
    {
        for (const test::CorpusFile& file : corpus) {
            const LoadedPhoto loaded = loadPhoto(file.path);
            const QString what = file.path + QStringLiteral(": ") + file.what;
            QVERIFY2(loaded.photo.isNull() != loaded.error.isEmpty(), qPrintable(what));
            if (loaded.photo.isNull()) {
                QVERIFY2(loaded.exif.text.isEmpty(),
                         qPrintable(what));  // not listed when not shown
                continue;
            }
            QVERIFY2(loaded.photo.width() > 0 && loaded.photo.height() > 0, qPrintable(what));
            QVERIFY2(loaded.exif.text.startsWith(exifHeading()), qPrintable(what));
        }
    }
};

QTEST_GUILESS_MAIN(DecodeCorpusTest)
#include "tst_decodecorpus.moc"
