#include "photo/folderlist.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace orvello;

class FolderListTest : public QObject {
    Q_OBJECT

    static void touch(const QString& path)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }

private slots:
    void listsPhotoNamesInListingOrder()
    {
        QTemporaryDir dir;
        for (const char* name :
             {"A.JPG", "b.jpg", "c.Tif", "d.jpeg", "e.png", ".hidden.jpg", "x.tiff"})
            touch(dir.filePath(QString::fromLatin1(name)));
        QDir(dir.path()).mkdir(QStringLiteral("folder.jpg"));
        const FolderList list = listPhotoFolder(dir.path(), QStringLiteral("c.Tif"));
        QStringList sorted = list.names;
        sorted.sort();
        QCOMPARE(sorted, (QStringList{"A.JPG", "b.jpg", "c.Tif"}));
        QCOMPARE(list.names.at(list.chosenIndex), QStringLiteral("c.Tif"));
        // The order is the folder listing's own, not sorted by the program.
        QCOMPARE(
            list.names,
            QDir(dir.path()).entryList({"A.JPG", "b.jpg", "c.Tif"}, QDir::Files, QDir::Unsorted));
    }

    void chosenNameOutsideTheListSelectsTheFirst()
    {
        QTemporaryDir dir;
        touch(dir.filePath(QStringLiteral("x.jpeg")));
        touch(dir.filePath(QStringLiteral("y.jpg")));
        QCOMPARE(listPhotoFolder(dir.path(), QStringLiteral("x.jpeg")).chosenIndex, 0);
        QCOMPARE(listPhotoFolder(dir.path(), QStringLiteral("Y.JPG")).chosenIndex,
                 0);  // exact match
    }

    void emptyAndMissingFolders()
    {
        QTemporaryDir dir;
        touch(dir.filePath(QStringLiteral("notes.txt")));
        QVERIFY(listPhotoFolder(dir.path(), QString()).names.isEmpty());
        QVERIFY(listPhotoFolder(dir.filePath(QStringLiteral("gone")), QString()).names.isEmpty());
    }

    void folderOfPathKeepsTheSeparator()
    {
        QCOMPARE(folderOfPath(QStringLiteral("/a/b/c.jpg")), QStringLiteral("/a/b/"));
        QCOMPARE(folderOfPath(QStringLiteral("/c.jpg")), QStringLiteral("/"));
        QCOMPARE(isPhotoName(QStringLiteral("x.JpG")), true);
        QCOMPARE(isPhotoName(QStringLiteral("jpg")), false);
    }
};

QTEST_GUILESS_MAIN(FolderListTest)
#include "tst_folderlist.moc"
