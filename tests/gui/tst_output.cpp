// Turning, saving and printing the open photo in the window.
#include "components/exifreader.h"
#include "imaging/colourprofile.h"
#include "tests/gui/testwindow.h"
#include "tools/fixtures/photowriter.h"

#include <QColorSpace>
#include <QFile>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace orvello;

class OutputTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    test::ScriptedHost host;
    std::unique_ptr<frmMain> window;
    QString photoPath;
    QImage photo;

    std::unique_ptr<frmMain> makeWindow()
    {
        return test::loadedWindow(host, dir.filePath(QStringLiteral("o.ini")));
    }
    void open(const QString& path) { test::openThroughDialog(host, *window, path); }
    void answerFile(const QString& path)
    {
        FileDialogResult r;
        r.path = path;
        host.fileAnswers << r;
    }
    static QByteArray readAll(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void initTestCase()
    {
        photo = QImage(300, 200, QImage::Format_RGB32);
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 300; ++x)
                photo.setPixel(x, y, qRgb(x * 255 / 300, y * 255 / 200, 90));
        photoPath = dir.filePath(QStringLiteral("IMG_0001.jpg"));
        QVERIFY(photo.save(photoPath, "jpeg", 98));
    }
    void init()
    {
        host = test::ScriptedHost();
        window = makeWindow();
        window->settings().addDTB = window->settings().addTXB = false;
        open(photoPath);
        QVERIFY(window->photoLoaded());
    }
    void cleanup() { window.reset(); }

    void rotationTurnsThePhotoAndRestoresTheButtons()
    {
        const QImage before = window->canvas();
        window->click(QStringLiteral("XPButton3"));
        QCOMPARE(window->canvas().size(), QSize(200, 300));
        QVERIFY(window->document().isPortrait);
        QCOMPARE(window->canvas().pixel(0, 299), before.pixel(0, 0));  // upper-left goes down
        for (const char* b : {"XPButton2", "XPButton23", "XPButton3", "XPButton4"})
            QVERIFY2(window->control(QString::fromLatin1(b))->isEnabled(), b);
        window->click(QStringLiteral("XPButton4"));
        QCOMPARE(window->canvas(), before);
        QVERIFY(!window->document().isPortrait);
    }

    void saveWritesTheCanvasAtFullSize()
    {
        window->click(QStringLiteral("XPButton3"));
        const QString out = dir.filePath(QStringLiteral("saved.jpg"));
        answerFile(out);
        window->click(QStringLiteral("XPButton2"));
        const FileDialogRequest& r = host.fileDialogs.last();
        QVERIFY(r.save);
        QCOMPARE(r.fileName, QStringLiteral("PM_IMG_0001.jpg"));
        QCOMPARE(r.title, QStringLiteral("照片文件另存为…(注:保存后的文件不包含相关EXIF信息)"));
        QCOMPARE(r.nameFilters, QStringList{QStringLiteral("JPEG Files (*.jpg)")});
        QVERIFY(r.overwritePrompt);
        QVERIFY(r.defaultSuffix.isEmpty());
        QImage saved;
        QVERIFY(saved.load(out));
        QCOMPARE(saved.size(), QSize(200, 300));
        const QRgb a = saved.pixel(100, 150), b = window->canvas().pixel(100, 150);
        QVERIFY(qAbs(qRed(a) - qRed(b)) <= 3 && qAbs(qGreen(a) - qGreen(b)) <= 3);
        QVERIFY(host.messages.isEmpty());  // no success message
    }

    // A photo stored sideways (Orientation 6) shows upright, portrait, its date at the lower
    // right of the upright picture; the listing keeps the stored tag; a save carries the photo's
    // colour profile and its density, turned with the picture, and no EXIF. AutoOrient=0 shows
    // the picture as stored.
    void sidewaysPhotoOpensUpright_data()
    {
        QTest::addColumn<bool>("autoOrient");
        QTest::newRow("upright") << true;
        QTest::newRow("as stored") << false;
    }
    void sidewaysPhotoOpensUpright()
    {
        QFETCH(bool, autoOrient);
        const QString ini = dir.filePath(QStringLiteral("orient.ini"));
        QSettings(ini, QSettings::IniFormat)
            .setValue(QStringLiteral("SetLog/AutoOrient"), autoOrient ? "1" : "0");
        QImage stored(200, 100, QImage::Format_RGB32);
        stored.fill(qRgb(20, 20, 60));
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 30; ++x) stored.setPixel(x, y, qRgb(230, 20, 20));
        fixtures::ExifContent exif;
        exif.dateTimeOriginal = QStringLiteral("2022:03:04 05:06:07");
        exif.extra << fixtures::ExifEntry::shorts(fixtures::Dir::Image, 0x0112, {6})
                   << fixtures::ExifEntry::rationals(fixtures::Dir::Image, 0x011A, {{300, 1}})
                   << fixtures::ExifEntry::rationals(fixtures::Dir::Image, 0x011B, {{150, 1}});
        const QByteArray adobe = QColorSpace(QColorSpace::AdobeRgb).iccProfile();
        const QString path = dir.filePath(QStringLiteral("sideways.jpg"));
        QVERIFY(
            fixtures::writeFile(path, fixtures::insertAfterSoi(fixtures::makeJpeg(stored, exif, 95),
                                                               fixtures::iccSegments(adobe))));
        window = test::loadedWindow(host, ini);
        open(path);
        QVERIFY(window->photoLoaded());
        QVERIFY(window->document().captureDateText.startsWith(QStringLiteral("2022-03-04")));
        QVERIFY(window->control<QPlainTextEdit>(QStringLiteral("Text0"))
                    ->toPlainText()
                    .contains(QStringLiteral("ImageOrientation 6")));
        const QImage canvas = window->canvas();
        if (!autoOrient) {
            QCOMPARE(canvas.size(), QSize(200, 100));
            return;
        }
        QCOMPARE(canvas.size(), QSize(100, 200));
        QVERIFY(window->document().isPortrait);
        QCOMPARE(qRed(canvas.pixel(90, 10)) > 180, true);  // the stored top-left, now top-right
        QRect date;
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x)
                if (qRed(canvas.pixel(x, y)) > 150 && qGreen(canvas.pixel(x, y)) > 150)
                    date |= QRect(x, y, 1, 1);
        QVERIFY(!date.isEmpty());
        QVERIFY2(date.left() >= 50 && date.top() >= 150,
                 qPrintable(QStringLiteral("%1,%2").arg(date.left()).arg(date.top())));

        window->click(QStringLiteral("XPButton3"));  // a quarter turn to the left
        const QString out = dir.filePath(QStringLiteral("sideways-saved.jpg"));
        answerFile(out);
        window->click(QStringLiteral("XPButton2"));
        const QByteArray saved = readAll(out);
        const JpegHeaderFacts facts = readJpegHeaderFacts(saved);
        QCOMPARE(facts.iccProfile, adobe);
        QCOMPARE(facts.density, (PixelDensity{1, 300, 150}));
        QVERIFY(findExifBlock(saved).isEmpty());
    }

    // The copy is JPEG data: a TIFF photo's copy is offered as .jpg, a JPEG's name is kept.
    void saveProposesAJpegName()
    {
        const QString tiff = dir.filePath(QStringLiteral("scan.v2.TIF"));
        QVERIFY(photo.save(tiff, "tiff"));
        open(tiff);
        QVERIFY(window->photoLoaded());
        const QString out = dir.filePath(QStringLiteral("from-tiff.jpg"));
        answerFile(out);
        window->click(QStringLiteral("XPButton2"));
        QCOMPARE(host.fileDialogs.last().fileName, QStringLiteral("PM_scan.v2.jpg"));
        QImage saved;
        QVERIFY(saved.load(out, "jpeg"));
        open(photoPath);
        window->click(QStringLiteral("XPButton2"));
        QCOMPARE(host.fileDialogs.last().fileName, QStringLiteral("PM_IMG_0001.jpg"));
    }

    void failedSaveSaysSoAndKeepsTheFile()
    {
        const QByteArray original = readAll(photoPath);
        answerFile(dir.filePath(QStringLiteral("no-such-folder/x.jpg")));
        window->click(QStringLiteral("XPButton2"));
        QCOMPARE(host.messages.size(), 1);
        // The specified text first, then why.
        const QStringList lines = host.messages[0].text.split(u'\n');
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], QStringLiteral("存储失败！"));
        QCOMPARE(lines[1],
                 QStringLiteral("文件夹不存在：") + dir.filePath(QStringLiteral("no-such-folder")));
        QCOMPARE(readAll(photoPath), original);
        // A cancelled dialog writes and says nothing.
        window->click(QStringLiteral("XPButton2"));
        QCOMPARE(host.messages.size(), 1);
    }

    void printingPresetsAndRemembersThePaper()
    {
        host.printerInstalled = true;
        const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
        QPageLayout::Orientation offered = QPageLayout::Portrait;
        host.printSetupAnswer = [&](QPrinter& printer) {
            offered = printer.pageLayout().orientation();
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            printer.setPageSize(QPageSize(QPageSize::Letter));
            return true;
        };
        window->click(QStringLiteral("XPButton23"));
        QCOMPARE(host.printSetups, 1);
        QCOMPARE(offered, QPageLayout::Landscape);
        QCOMPARE(window->settings().DPaperSize, qint16(1));  // Letter
        const QByteArray bytes = readAll(pdf);
        QVERIFY(bytes.startsWith("%PDF"));
        QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                     bytes.count("/Type /Page "),
                 1);

        // The next print offers Letter again, and a portrait photo offers portrait.
        QPageSize::PageSizeId paper = QPageSize::A4;
        host.printSetupAnswer = [&](QPrinter& printer) {
            paper = printer.pageLayout().pageSize().id();
            offered = printer.pageLayout().orientation();
            return false;
        };
        window->click(QStringLiteral("XPButton3"));
        window->click(QStringLiteral("XPButton23"));
        QCOMPARE(paper, QPageSize::Letter);
        QCOMPARE(offered, QPageLayout::Portrait);
        // One dialog offers the printers too, and the one chosen (here, a file) stays current.
        QCOMPARE(host.printSetupRequests.size(), 2);
        QVERIFY(host.printSetupRequests[0].request.choosePrinter);
        QVERIFY(host.printSetupRequests[1].request.choosePrinter);
        QCOMPARE(host.printSetupRequests[1].printer, host.printSetupRequests[0].printer);
        QCOMPARE(host.printSetupRequests[1].outputFileName, pdf);

        // Also after a restart.
        window->close();
        window = makeWindow();
        open(photoPath);
        paper = QPageSize::A4;
        window->click(QStringLiteral("XPButton23"));
        QCOMPARE(paper, QPageSize::Letter);
    }

    // With no printer, the one print dialog offers a PDF named after the photo.
    void withoutPrinterPdfIsOffered()
    {
        host.printerInstalled = false;
        const qsizetype fileDialogs = host.fileDialogs.size();
        host.printSetupAnswer = [](QPrinter&) { return true; };
        window->click(QStringLiteral("XPButton23"));
        const QString pdf = dir.filePath(QStringLiteral("PM_IMG_0001.pdf"));
        QCOMPARE(host.printSetupRequests.last().outputFileName, pdf);
        QVERIFY(readAll(pdf).startsWith("%PDF"));
        QVERIFY(host.messages.isEmpty() && host.fileDialogs.size() == fileDialogs);
    }
};

QTEST_MAIN(OutputTest)
#include "tst_output.moc"
