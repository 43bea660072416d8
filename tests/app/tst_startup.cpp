// Where the programs look for their date font, and how the photo argument is read.
#include "app/startup.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace orvello;

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
