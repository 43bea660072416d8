// Opening photos and stepping through the folder in the window.
#include "tests/gui/testwindow.h"
#include "tests/support/badcorpus.h"
#include "tools/fixtures/heifwriter.h"
#include "tools/fixtures/photowriter.h"
#include "ui/picturebox.h"

#include <QDir>
#include <QImageWriter>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace orvello;

class OpenPhotoTest : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDir;
    test::ScriptedHost host;
    std::unique_ptr<frmMain> window;

    static void writeImage(const QString& path, QSize size, const char* format = "jpeg")
    {
        QImage img(size, QImage::Format_RGB32);
        img.fill(QColor(40, 90, 160));
        QImageWriter w(path, format);
        QVERIFY2(w.write(img), qPrintable(w.errorString()));
    }
    void choose(const QString& path) { test::openThroughDialog(host, *window, path); }
    QListWidget* list() const { return window->control<QListWidget>(QStringLiteral("List1")); }
    QString label() const { return window->control<QLabel>(QStringLiteral("Label1"))->text(); }
    QImage canvas() const { return window->canvas(); }

private slots:
    void init()
    {
        host = test::ScriptedHost();
        window = test::loadedWindow(host, settingsDir.filePath(QStringLiteral("o.ini")));
        // The load step ends with the open command; unanswered, it is cancelled.
        QCOMPARE(host.fileDialogs.size(), 1);
        QVERIFY(list()->count() == 0);
    }
    void cleanup() { window.reset(); }

    void openDialogArguments()
    {
        const FileDialogRequest& r = host.fileDialogs.first();
        QCOMPARE(r.title, QStringLiteral("选择打开照片文件"));
        QCOMPARE(r.nameFilters,
                 (QStringList{QStringLiteral("照片文件 (*.jpg *.jpeg *.tif *.tiff *.heic *.heif)"),
                              QStringLiteral("所有文件 (*)")}));
        QCOMPARE(r.filterIndex, 1);
        QCOMPARE(r.defaultSuffix, QStringLiteral("jpg"));
        QVERIFY(r.fileMustExist);
        QVERIFY(r.hideReadOnly);
        QVERIFY(!r.save);
        QVERIFY(r.fileName.isEmpty());
        QVERIFY(r.initialFolder.isEmpty());
    }

    void openListsTheFolderAndStepsWithArrowKeys()
    {
        QTemporaryDir dir;
        writeImage(dir.filePath(QStringLiteral("A.JPG")), {300, 200});
        writeImage(dir.filePath(QStringLiteral("b.jpg")), {200, 300});
        writeImage(dir.filePath(QStringLiteral("c.Tif")), {100, 100}, "tiff");
        writeImage(dir.filePath(QStringLiteral("e.png")), {10, 10}, "png");
        choose(dir.filePath(QStringLiteral("b.jpg")));
        QCOMPARE(list()->count(), 3);
        QCOMPARE(list()->currentItem()->text(), QStringLiteral("b.jpg"));
        QCOMPARE(label(), QStringLiteral("当前文件：") + dir.filePath(QStringLiteral("b.jpg")));
        QCOMPARE(canvas().size(), QSize(200, 300));
        QVERIFY(window->document().isPortrait);
        QVERIFY(window->photoLoaded());
        QVERIFY(window->control(QStringLiteral("XPButton23"))->isEnabled());
        QVERIFY(window->control<QPlainTextEdit>(QStringLiteral("Text0"))
                    ->toPlainText()
                    .startsWith(QStringLiteral("当前文件EXIF信息：")));

        // Each key press opens the entry it moves to: the first, then each next one.
        QStringList seen{list()->currentItem()->text()};
        list()->setFocus();
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(list(), i == 0 ? Qt::Key_Home : Qt::Key_Down);
            QCOMPARE(label(),
                     QStringLiteral("当前文件：") + dir.filePath(list()->currentItem()->text()));
            seen << list()->currentItem()->text();
            QCOMPARE(window->document().photoName, list()->currentItem()->text());
        }
        seen.removeDuplicates();
        QCOMPARE(seen.size(), 3);
        // The square TIFF is not portrait.
        list()->setCurrentItem(
            list()->findItems(QStringLiteral("c.Tif"), Qt::MatchExactly).first());
        QCOMPARE(canvas().size(), QSize(100, 100));
        QVERIFY(!window->document().isPortrait);

        // The next dialog starts at the current photo; cancelling it keeps everything.
        const QString current = window->document().photoPath;
        window->click(QStringLiteral("XPButton1"));
        QCOMPARE(host.fileDialogs.last().fileName, current);
        QCOMPARE(window->document().photoPath, current);
        QCOMPARE(list()->count(), 3);
    }

    void currentFileLineGrowsAndElidesLongPaths()
    {
        QTemporaryDir dir;
        const QString shortPath = dir.filePath(QStringLiteral("a.jpg"));
        writeImage(shortPath, {30, 20});
        const QString deep =
            dir.filePath(QString(120, u'd') + QStringLiteral("/") + QString(120, u'e'));
        QVERIFY(QDir().mkpath(deep));
        const QString longPath = deep + QStringLiteral("/long.jpg");
        writeImage(longPath, {30, 20});
        auto* line = window->control<QLabel>(QStringLiteral("Label1"));

        choose(shortPath);
        QCOMPARE(label(), QStringLiteral("当前文件：") + shortPath);
        QVERIFY(line->width() > 60);  // past its design width, to show the whole path
        QVERIFY(line->width() >= line->sizeHint().width());
        QCOMPARE(line->toolTip(), shortPath);

        choose(longPath);
        QVERIFY(label().startsWith(QStringLiteral("当前文件：") + dir.path().left(5)));
        QVERIFY(label().endsWith(QStringLiteral("/long.jpg")));
        QVERIFY(label().contains(QChar(0x2026)));
        QVERIFY(line->geometry().right() < window->width());
        QVERIFY(line->width() >= line->sizeHint().width());
        QCOMPARE(line->toolTip(), longPath);
    }

    // While a message about the new photo is up, the window already shows that photo: the list
    // highlights it, the canvas and the preview hold it and Text0 holds its listing so far.
    void messagesComeAfterTheNewPhotoIsShown_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::newRow("listing error")
            << QStringLiteral("bad-exif-header.jpg") << QStringLiteral("An error occurred");
        QTest::newRow("incomplete photo")
            << QStringLiteral("truncated.jpg") << QStringLiteral("不完整");
    }
    void messagesComeAfterTheNewPhotoIsShown()
    {
        QFETCH(QString, name);
        QFETCH(QString, message);
        QTemporaryDir dir;
        test::writeBadCorpus(dir.path());
        const QString first = dir.filePath(QStringLiteral("0-first.jpg"));
        writeImage(first, {640, 480});
        choose(first);
        QVERIFY(window->photoLoaded());
        QListWidgetItem* target = list()->findItems(name, Qt::MatchExactly).value(0);
        QVERIFY(target);

        bool seen = false;
        host.onMessage = [&](const MessageRequest& m) {
            if (!m.text.contains(message)) return;
            seen = true;
            QCOMPARE(list()->selectedItems(), QList<QListWidgetItem*>{target});
            QCOMPARE(label(), QStringLiteral("当前文件：") + dir.filePath(name));
            QVERIFY(canvas().size() != QSize(640, 480));
            const QImage preview = window->control<PictureBox>(QStringLiteral("Picture1"))->image();
            QVERIFY(preview.pixel(241, 241) != qRgb(40, 90, 160));
            QVERIFY(window->control<QPlainTextEdit>(QStringLiteral("Text0"))
                        ->toPlainText()
                        .startsWith(QStringLiteral("当前文件EXIF信息：")));
            QCOMPARE(window->document().photoName, name);
        };
        // A click makes the entry current before it selects it.
        list()->scrollToItem(target);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                          list()->visualItemRect(target).center());
        host.onMessage = nullptr;
        QVERIFY(seen);
    }

    void exifListingAndCaptureDateFollowTheSelection()
    {
        QTemporaryDir dir;
        QImage grey(1500, 1000, QImage::Format_RGB32);
        grey.fill(qRgb(50, 50, 50));
        fixtures::ExifContent dated;
        dated.dateTimeOriginal = QStringLiteral("2007:12:10 14:30:00");
        dated.make = QStringLiteral("Orvello Test Camera");
        QVERIFY(fixtures::writeFile(dir.filePath(QStringLiteral("1dated.jpg")),
                                    fixtures::makeJpeg(grey, dated)));
        QVERIFY(fixtures::writeFile(dir.filePath(QStringLiteral("2plain.jpg")),
                                    fixtures::makeJpeg(grey, {})));
        choose(dir.filePath(QStringLiteral("1dated.jpg")));
        const QString text =
            window->control<QPlainTextEdit>(QStringLiteral("Text0"))->toPlainText();
        QVERIFY2(text.contains(QStringLiteral("\nExifDTOrig 2007:12:10 14:30:00")),
                 qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Orvello Test Camera")));
        QCOMPARE(window->document().captureDateText, QStringLiteral("2007-12-10 14:30:00"));
        QVERIFY(window->document().exifImage);
        // The date is stamped in pale yellow near 60 % / 91 %.
        const QImage stamped = canvas();
        bool yellow = false;
        for (int y = 910; y < 1000 && !yellow; ++y)
            for (int x = 900; x < 1500 && !yellow; ++x)
                yellow = stamped.pixel(x, y) == qRgb(255, 255, 128);
        QVERIFY(yellow);
        QVERIFY(host.messages.isEmpty());

        // The next photo has no date: nothing of the last one remains.
        list()->setCurrentItem(
            list()->findItems(QStringLiteral("2plain.jpg"), Qt::MatchExactly).first());
        QVERIFY(window->document().captureDateText.isEmpty());
        for (int y = 910; y < 1000; y += 3)
            for (int x = 900; x < 1500; x += 3) QCOMPARE(canvas().pixel(x, y), qRgb(50, 50, 50));
        QCOMPARE(window->control<QPlainTextEdit>(QStringLiteral("Text0"))->toPlainText(),
                 QStringLiteral("当前文件EXIF信息："));
    }

    // Photos from cameras, scanners and phones, under any letter case, listed side by side; a
    // HEIC the file turns comes out upright once.
    void everyKindOfPhotoIsListedAndOpened()
    {
        QTemporaryDir dir;
        writeImage(dir.filePath(QStringLiteral("a.jpeg")), {30, 20});
        writeImage(dir.filePath(QStringLiteral("B.TIFF")), {20, 20}, "tiff");
        fixtures::HeicVariant turned;
        turned.orientation = 6;
        QVERIFY(
            fixtures::writeFile(dir.filePath(QStringLiteral("c.heic")),
                                fixtures::makeHeic(fixtures::quadrantImage(96, 64), {}, turned)));
        QVERIFY(fixtures::writeFile(dir.filePath(QStringLiteral("d.HEIF")),
                                    fixtures::makeHeic(fixtures::quadrantImage(48, 32))));
        writeImage(dir.filePath(QStringLiteral("e.png")), {10, 10}, "png");
        choose(dir.filePath(QStringLiteral("c.heic")));
        QCOMPARE(list()->count(), 4);
        QCOMPARE(list()->currentItem()->text(), QStringLiteral("c.heic"));
        QCOMPARE(canvas().size(), QSize(64, 96));
        QVERIFY(window->document().isPortrait);
        list()->setFocus();
        QTest::keyClick(list(), Qt::Key_Down);
        QCOMPARE(window->document().photoName, QStringLiteral("d.HEIF"));
        QCOMPARE(canvas().size(), QSize(48, 32));
        QTest::keyClick(list(), Qt::Key_Home);
        QCOMPARE(window->document().photoName, QStringLiteral("a.jpeg"));
        QCOMPARE(canvas().size(), QSize(30, 20));
        QTest::keyClick(list(), Qt::Key_Down);
        QCOMPARE(window->document().photoName, QStringLiteral("B.TIFF"));
        QVERIFY(host.messages.isEmpty());
    }

    void aNameOutsideTheListOpensTheFirstEntry()
    {
        QTemporaryDir dir;
        writeImage(dir.filePath(QStringLiteral("x.bmp")), {10, 10}, "bmp");
        writeImage(dir.filePath(QStringLiteral("only.jpg")), {40, 30});
        choose(dir.filePath(QStringLiteral("x.bmp")));
        QCOMPARE(list()->count(), 1);
        QCOMPARE(window->document().photoName, QStringLiteral("only.jpg"));
        QCOMPARE(canvas().size(), QSize(40, 30));
    }

    void aFolderWithoutPhotosSaysSo()
    {
        QTemporaryDir dir;
        writeImage(dir.filePath(QStringLiteral("x.png")), {10, 10}, "png");
        choose(dir.filePath(QStringLiteral("x.png")));
        QCOMPARE(list()->count(), 0);
        QCOMPARE(host.messages.size(), 1);
        QVERIFY(host.messages[0].text.contains(QLatin1String(".jpg")));
        QVERIFY(!window->photoLoaded());
    }

    void undecodableFileLeavesNoPhoto()
    {
        QTemporaryDir dir;
        writeImage(dir.filePath(QStringLiteral("good.jpg")), {60, 40});
        QFile bad(dir.filePath(QStringLiteral("bad.jpg")));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("this is not a photo");
        bad.close();
        choose(dir.filePath(QStringLiteral("good.jpg")));
        QVERIFY(window->photoLoaded());
        host.messages.clear();
        list()->setCurrentItem(
            list()->findItems(QStringLiteral("bad.jpg"), Qt::MatchExactly).first());
        QCOMPARE(host.messages.size(), 1);
        QVERIFY(host.messages[0].text.contains(bad.fileName()));
        QVERIFY(!window->photoLoaded());
        QVERIFY(!window->control(QStringLiteral("XPButton23"))->isEnabled());
        QVERIFY(window->document().photo.isNull());
        QCOMPARE(canvas().size(), QSize(49, 49));
    }

    void truncatedJpegIsShownWithAWarning()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("cut.jpg"));
        QImage img(400, 300, QImage::Format_RGB32);
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 400; ++x) img.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
        QVERIFY(img.save(path, "jpeg", 95));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        f.resize(f.size() / 2);
        f.close();
        choose(path);
        QVERIFY(window->photoLoaded());
        QCOMPARE(canvas().size(), QSize(400, 300));
        QCOMPARE(host.messages.size(), 1);
        QVERIFY(host.messages[0].text.contains(QStringLiteral("不完整")));
    }
};

QTEST_MAIN(OpenPhotoTest)
#include "tst_openphoto.moc"
