#include "tests/support/scriptedhost.h"
#include "ui/mcmndlg.h"

#include <QtTest>

using namespace orvello;
using namespace orvello::mCmnDlg;

class CmnDlgTest : public QObject {
    Q_OBJECT

    static QString z(const char* text)
    {
        return QString::fromUtf8(text).replace(u'~', QChar(u'\0'));
    }

private slots:
    void flags()
    {
        QCOMPARE(openFlags(0, true, false, false, true), 0x1004);
        QCOMPARE(saveFlags(0, true), 0x6);
        QCOMPARE(openFlags(0x20 | 0x40, false, false, false, false), 0);  // hook, template cleared
        QCOMPARE(openFlags(0x60 | 0x8, false, true, true, false), 0x209);
        QCOMPARE(saveFlags(0x40, false), 0x4);
    }

    void filterConversionAndEntries()
    {
        const QString two = convertFilter(QStringLiteral("JPEG (*.jpg)|*.jpg|TIFF (*.tif)|*.tif"));
        QCOMPARE(two, z("JPEG (*.jpg)~*.jpg~TIFF (*.tif)~*.tif~~"));
        QCOMPARE(FilterEntry(two, 1), z("JPEG (*.jpg)~*.jpg"));
        QCOMPARE(FilterEntry(two, 2), z("TIFF (*.tif)~*.tif"));
        QVERIFY(FilterEntry(two, 3).isEmpty());
        QVERIFY(FilterEntry(two, 0).isEmpty());
        QVERIFY(FilterEntry(two, -1).isEmpty());
        QVERIFY(FilterEntry(QString(), 1).isEmpty());
        // A colon splits like a bar, also inside a description.
        QCOMPARE(convertFilter(QStringLiteral("a:b|c")), z("a~b~c~~"));
        QCOMPARE(nameFilters(convertFilter(QStringLiteral("照片文件 (*.jpg;*.tif)|*.jpg;*.tif"))),
                 QStringList{QStringLiteral("照片文件 (*.jpg *.tif)")});
        QCOMPARE(nameFilters(convertFilter(QStringLiteral("Pictures|*.png;*.bmp"))),
                 QStringList{QStringLiteral("Pictures (*.png *.bmp)")});
    }

    void openConfirmedHandsBackTheChoice()
    {
        test::ScriptedHost host;
        FileDialogResult chosen;
        chosen.path = QStringLiteral("/photos/b/IMG_2.JPG");
        chosen.filterIndex = 2;
        host.fileAnswers << chosen;
        QString name = QStringLiteral("/photos/a/x.jpg"), title,
                filter = QStringLiteral("A|*.a|B|*.b");
        bool readOnly = false;
        qint32 index = 1, flags = 0x20;
        QVERIFY(ShowOpenDialog(name, title, true, false, readOnly, true, filter, index, QString(),
                               QStringLiteral("选择打开照片文件"), QStringLiteral("jpg"), host,
                               flags));
        QCOMPARE(name, chosen.path);
        QCOMPARE(title, QStringLiteral("IMG_2.JPG"));
        QCOMPARE(index, 2);
        QCOMPARE(filter, z("B~*.b"));
        QCOMPARE(flags, 0x1004);
        QVERIFY(!readOnly);
        QCOMPARE(host.fileDialogs.size(), 1);
        const FileDialogRequest& r = host.fileDialogs[0];
        QVERIFY(!r.save);
        QCOMPARE(r.fileName, QStringLiteral("/photos/a/x.jpg"));
        QCOMPARE(r.title, QStringLiteral("选择打开照片文件"));
        QCOMPARE(r.defaultSuffix, QStringLiteral("jpg"));
        QCOMPARE(r.nameFilters,
                 (QStringList{QStringLiteral("A (*.a)"), QStringLiteral("B (*.b)")}));
        QCOMPARE(r.filterIndex, 1);
        QVERIFY(r.fileMustExist);
        QVERIFY(r.hideReadOnly);
        QVERIFY(!r.readOnly);
    }

    void cancelClearsTheOutputs()
    {
        test::ScriptedHost host;
        QString name = QStringLiteral("/a/b.jpg"), title = QStringLiteral("b.jpg"),
                filter = QStringLiteral("A|*.a");
        bool readOnly = true;
        qint32 index = 1, flags = 0x1000;
        QVERIFY(!ShowOpenDialog(name, title, true, false, readOnly, true, filter, index, QString(),
                                QString(), QString(), host, flags));
        QVERIFY(name.isEmpty() && title.isEmpty() && filter.isEmpty());
        QCOMPARE(index, -1);
        QCOMPARE(flags, 0);
        QVERIFY(readOnly);  // left as it was

        name = QStringLiteral("PM_b.jpg");
        filter = QStringLiteral("JPEG Files (*.jpg)|*.jpg");
        index = 1;
        QVERIFY(!ShowSaveDialog(name, title, true, filter, index, QString(), QString(), QString(),
                                host, flags));
        QVERIFY(name.isEmpty() && filter.isEmpty());
        QCOMPARE(index, 0);
        QCOMPARE(flags, 0);
        QVERIFY(host.fileDialogs.last().save);
        QVERIFY(host.fileDialogs.last().overwritePrompt);
    }

    void readOnlyComesBackWhenTheDialogKeepsIt()
    {
        test::ScriptedHost host;
        FileDialogResult chosen;
        chosen.path = QStringLiteral("/x/y.tif");
        chosen.readOnly = true;
        host.fileAnswers << chosen;
        QString name, title, filter = QStringLiteral("T|*.tif");
        bool readOnly = false;
        qint32 index = 1, flags = 0;
        QVERIFY(ShowOpenDialog(name, title, false, false, readOnly, false, filter, index, QString(),
                               QString(), QString(), host, flags));
        QVERIFY(readOnly);
        QVERIFY(flags & OFN_READONLY);
    }

    void overlongNamesAreRefused()
    {
        test::ScriptedHost host;
        QString name(1025, u'a'), title, filter = QStringLiteral("A|*.a");
        bool readOnly = false;
        qint32 index = 1, flags = 0;
        QVERIFY(!ShowOpenDialog(name, title, true, false, readOnly, true, filter, index, QString(),
                                QString(), QString(), host, flags));
        QVERIFY(host.fileDialogs.isEmpty());
    }
};

QTEST_GUILESS_MAIN(CmnDlgTest)
#include "tst_mcmndlg.moc"
