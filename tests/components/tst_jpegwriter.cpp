#include "components/jpegwriter.h"

#include <sys/mount.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace orvello;

namespace {

QImage noisy(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    quint32 seed = 12345;
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            seed = seed * 1664525u + 1013904223u;
            line[x] =
                qRgb(100 + (seed >> 28), 120 + ((seed >> 20) & 15), 140 + ((seed >> 12) & 15));
        }
    }
    return img;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool failWrite(const QByteArray&)
{
    return false;
}

// Root ignores file modes: a read-only or full file system needs a real mount.
bool mountTmpfs(const QString& where, const char* options, unsigned long flags = 0)
{
    return ::mount("tmpfs", where.toLocal8Bit().constData(), "tmpfs", flags, options) == 0;
}

}  // namespace

class JpegWriterTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    const QByteArray original = QByteArray("the photo that was there before", 31);

    void placeOriginal(const QString& path)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(original);
    }

private slots:
    void writesFullSizeWithoutMetadata()
    {
        const QImage img = noisy(640, 480);
        const QString path = dir.filePath(QStringLiteral("out.jpg"));
        JpegWriter writer;
        QVERIFY2(writer.save(img, path), qPrintable(writer.error()));
        const QByteArray bytes = readAll(path);
        QVERIFY(!bytes.contains("Exif"));
        QImage back;
        QVERIFY(back.loadFromData(bytes, "jpeg"));
        QCOMPARE(back.size(), img.size());
        int worst = 0;
        for (int y = 0; y < img.height(); y += 7)
            for (int x = 0; x < img.width(); x += 5) {
                const QRgb a = img.pixel(x, y), b = back.pixel(x, y);
                worst = std::max({worst, qAbs(qRed(a) - qRed(b)), qAbs(qGreen(a) - qGreen(b)),
                                  qAbs(qBlue(a) - qBlue(b))});
            }
        QVERIFY2(worst <= 4, qPrintable(QString::number(worst)));
    }

    void fullChromaKeepsColouredEdges()
    {
        // A one-pixel red line on grey: 4:2:0 would halve its colour; 4:4:4 keeps it.
        QImage img(64, 64, QImage::Format_RGB32);
        img.fill(qRgb(128, 128, 128));
        for (int y = 0; y < 64; ++y) img.setPixel(31, y, qRgb(255, 0, 0));
        QImage back;
        QVERIFY(back.loadFromData(encodeJpeg(img, JpegOptions()), "jpeg"));
        QVERIFY(qRed(back.pixel(31, 20)) > 230);
        QVERIFY(qGreen(back.pixel(31, 20)) < 30);
    }

    void optimisedTablesAreSmallerAndDecodeTheSame()
    {
        const QImage img = noisy(320, 240);
        JpegOptions plain, optimised;
        optimised.optimizeCoding = true;
        const QByteArray a = encodeJpeg(img, plain), b = encodeJpeg(img, optimised);
        QVERIFY(b.size() < a.size());
        QImage da, db;
        QVERIFY(da.loadFromData(a) && db.loadFromData(b));
        QCOMPARE(da, db);
    }

    void failedWritesLeaveTheOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("keep.jpg"));
        placeOriginal(path);
        JpegWriter writer;
        writer.setWriteHook(failWrite);
        QVERIFY(!writer.save(noisy(64, 64), path));
        QVERIFY(!writer.error().isEmpty());
        QCOMPARE(readAll(path), original);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("keep.jpg")});

        // A folder that has vanished.
        QVERIFY(!JpegWriter().save(noisy(8, 8), dir.filePath(QStringLiteral("gone/x.jpg"))));
        QVERIFY(!JpegWriter().save(QImage(), dir.filePath(QStringLiteral("null.jpg"))));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("null.jpg"))));
    }

    void readOnlyFileSystem()
    {
        QTemporaryDir mnt;
        if (!mountTmpfs(mnt.path(), "size=1m"))
            QSKIP("mounting a tmpfs is refused here (needs root)");
        const QString path = mnt.filePath(QStringLiteral("keep.jpg"));
        placeOriginal(path);
        QVERIFY(::mount("tmpfs", mnt.path().toLocal8Bit().constData(), nullptr,
                        MS_REMOUNT | MS_RDONLY, nullptr) == 0);
        JpegWriter writer;
        const bool saved = writer.save(noisy(64, 64), path);
        const QByteArray after = readAll(path);
        ::umount(mnt.path().toLocal8Bit().constData());
        QVERIFY(!saved);
        QCOMPARE(after, original);
    }

    void fullFileSystem()
    {
        QTemporaryDir mnt;
        if (!mountTmpfs(mnt.path(), "size=64k"))
            QSKIP("mounting a tmpfs is refused here (needs root)");
        const QString path = mnt.filePath(QStringLiteral("keep.jpg"));
        placeOriginal(path);
        JpegWriter writer;
        const bool saved = writer.save(noisy(1000, 1000), path);  // far more than 64 KiB
        const QByteArray after = readAll(path);
        const QStringList left = QDir(mnt.path()).entryList(QDir::Files | QDir::Hidden);
        ::umount(mnt.path().toLocal8Bit().constData());
        QVERIFY(!saved);
        QCOMPARE(after, original);
        QCOMPARE(left, QStringList{QStringLiteral("keep.jpg")});
    }
};

QTEST_GUILESS_MAIN(JpegWriterTest)
#include "tst_jpegwriter.moc"
