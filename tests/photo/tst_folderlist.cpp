#include "components/jpegwriter.h"
#include "imaging/saveoutput.h"
#include "photo/folderlist.h"
#include "photo/photoloader.h"
#include "tools/fixtures/photowriter.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

using namespace orvello;

namespace {

void touchNative(const QByteArray& path, const QByteArray& bytes = {})
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
    ::close(fd);
}

QList<QByteArray> nativeEntries(const QByteArray& folder)
{
    QList<QByteArray> names;
    DIR* d = ::opendir(folder.constData());
    while (const dirent* e = d ? ::readdir(d) : nullptr)
        if (e->d_name[0] != '.') names << QByteArray(e->d_name);
    if (d) ::closedir(d);
    return names;
}

}  // namespace

class FolderListTest : public QObject {
    Q_OBJECT

private slots:
    // Sorted as a file manager sorts: letter case aside, numbers by value; the chosen entry is
    // found in that order.
    void listsPhotosInFileManagerOrder_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<int>("chosenIndex");
        QTest::newRow("numbers by value")
            << QStringList{"IMG_10.jpg", "IMG_9.jpg", "IMG_100.jpg", "IMG_1.jpg"} << "IMG_10.jpg"
            << QStringList{"IMG_1.jpg", "IMG_9.jpg", "IMG_10.jpg", "IMG_100.jpg"} << 2;
        QTest::newRow("letter case aside")
            << QStringList{"B.jpg", "a.JPG", "c.Tif", "A2.jpg"} << "c.Tif"
            << QStringList{"a.JPG", "A2.jpg", "B.jpg", "c.Tif"} << 3;
        QTest::newRow("only photo files")
            << QStringList{"d.JPEG", "e.png",  ".hidden.jpg", "x.tiff", "p2.jpg",
                           "h.HEIC", "i.heif", "j.heic.txt",  "k.jpgx"}
            << "x.tiff" << QStringList{"d.JPEG", "h.HEIC", "i.heif", "p2.jpg", "x.tiff"} << 4;
        QTest::newRow("chosen compared exactly")
            << QStringList{"y.jpg", "z.jpg"} << "Z.JPG" << QStringList{"y.jpg", "z.jpg"} << 0;
    }

    void listsPhotosInFileManagerOrder()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, chosen);
        QFETCH(QStringList, listed);
        QFETCH(int, chosenIndex);
        QTemporaryDir dir;
        for (const QString& f : files) touchNative(QFile::encodeName(dir.filePath(f)));
        QDir(dir.path()).mkdir(QStringLiteral("folder.jpg"));
        const FolderList list = listPhotoFolder(dir.path(), chosen);
        QCOMPARE(list.names, listed);
        QCOMPARE(list.chosenIndex, chosenIndex);
        QCOMPARE(list.nativeNames.size(), list.names.size());
    }

    void emptyAndMissingFolders()
    {
        QTemporaryDir dir;
        touchNative(QFile::encodeName(dir.filePath(QStringLiteral("notes.txt"))));
        QVERIFY(listPhotoFolder(dir.path(), QString()).names.isEmpty());
        QVERIFY(listPhotoFolder(dir.filePath(QStringLiteral("gone")), QString()).names.isEmpty());
        QCOMPARE(folderOfPath(QStringLiteral("/a/b/c.jpg")), QStringLiteral("/a/b/"));
        QCOMPARE(isPhotoName(QStringLiteral("x.JpG")), true);
        QCOMPARE(isPhotoName(QStringLiteral("jpg")), false);
        // The copy is JPEG data: a JPEG keeps its name, every other kind is named .jpg.
        QCOMPARE(stampedFileName(QStringLiteral("x.jpeg")), QStringLiteral("PM_x.jpeg"));
        QCOMPARE(stampedFileName(QStringLiteral("x.TIFF")), QStringLiteral("PM_x.jpg"));
        QCOMPARE(stampedFileName(QStringLiteral("x.y.HEIC")), QStringLiteral("PM_x.y.jpg"));
        QCOMPARE(stampedNativeName("x.heif"), QByteArray("PM_x.jpg"));
    }

    // A name written by a Chinese Windows system: GB18030 bytes, not UTF-8. It is listed under
    // its decoded name, opened by its bytes, and its copy is saved as "PM_" + the same bytes.
    void gb18030NameIsListedOpenedAndSaved()
    {
        QTemporaryDir dir;
        const QString shown = QStringLiteral("旅行照片01.jpg");
        QStringEncoder gb("GB18030");
        const QByteArray native = gb.encode(shown);
        QVERIFY(native != shown.toUtf8());
        const QByteArray folder = QFile::encodeName(dir.path()) + '/';
        fixtures::ExifContent exif;
        exif.dateTimeOriginal = QStringLiteral("2009:08:07 06:05:04");
        touchNative(folder + native, fixtures::makeJpeg(fixtures::quadrantImage(40, 30), exif));
        touchNative(folder + "a.jpg", fixtures::makeJpeg(fixtures::quadrantImage(8, 8), {}));

        const FolderList list = listPhotoFolder(dir.path(), shown);
        QCOMPARE(list.names.size(), 2);
        const int at = list.names.indexOf(shown);
        QCOMPARE(list.chosenIndex, at);
        QCOMPARE(list.nativeNames[at], native);

        const LoadedPhoto loaded = loadPhoto(folder + list.nativeNames[at]);
        QVERIFY2(loaded.error.isEmpty(), qPrintable(loaded.error));
        QCOMPARE(loaded.photo.size(), QSize(40, 30));
        QCOMPARE(loaded.exif.captureDateText, QStringLiteral("2009-08-07 06:05:04"));

        // The save dialog hands back the proposed name as text; the copy gets the stored bytes.
        const QString proposed = QStringLiteral("PM_") + shown;
        const QByteArray target =
            nativeSavePath(dir.filePath(proposed), proposed, "PM_" + list.nativeNames[at]);
        QCOMPARE(target, folder + "PM_" + native);
        JpegWriter writer;
        QVERIFY2(writer.saveNative(loaded.photo, target), qPrintable(writer.error()));
        QVERIFY(nativeEntries(folder).contains("PM_" + native));
        QCOMPARE(loadPhoto(target).photo.size(), QSize(40, 30));
        QCOMPARE(nativeEntries(folder).size(), 3);  // no temporary file left behind
        // Another name chosen in the dialog is written as typed.
        QCOMPARE(nativeSavePath(dir.filePath("other.jpg"), proposed, "PM_" + native),
                 folder + "other.jpg");
        // Qt's own removal cannot name these files.
        for (const QByteArray& name : nativeEntries(folder)) ::unlink((folder + name).constData());
    }
};

QTEST_GUILESS_MAIN(FolderListTest)
#include "tst_folderlist.moc"
