// Starting the window with a photo named on the command line.
#include "tests/gui/testwindow.h"
#include "tools/fixtures/photowriter.h"

#include "ui/picturebox.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace orvello;

namespace {

// Records how many messages had been shown when each file dialog came up.
class OrderHost : public test::ScriptedHost {
public:
    QList<int> messagesBeforeDialog;
    std::optional<FileDialogResult> showFileDialog(const FileDialogRequest& request) override
    {
        messagesBeforeDialog << messages.size();
        return ScriptedHost::showFileDialog(request);
    }
};

}  // namespace

class OpenWithTest : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDir;
    QTemporaryDir photos;

    // early: the first look decodes before the window is built, as the program starts it.
    std::unique_ptr<frmMain> startWith(OrderHost& host, const QString& photo, bool early = false,
                                       FirstLook look = {})
    {
        FrmMainEnvironment env =
            test::testEnvironment(host, settingsDir.filePath(QStringLiteral("o.ini")));
        env.initialPhoto = photo;
        env.firstLook = early ? startFirstLook(photo) : std::move(look);
        auto window = std::make_unique<frmMain>(std::move(env));
        window->load();
        return window;
    }
    static QStringList entries(const frmMain& w)
    {
        QStringList names;
        const auto* list = w.control<QListWidget>(QStringLiteral("List1"));
        for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
        return names;
    }
    QString write(const QString& name, QSize size)
    {
        QImage img(size, QImage::Format_RGB32);
        img.fill(qRgb(30, 60, 90));
        fixtures::ExifContent exif;
        exif.dateTimeOriginal = QStringLiteral("2007:12:10 14:30:00");
        const QString path = photos.filePath(name);
        fixtures::writeFile(path, fixtures::makeJpeg(img, exif));
        return path;
    }

private slots:
    void initTestCase()
    {
        write(QStringLiteral("a.jpg"), {300, 200});
        write(QStringLiteral("b.JPG"), {200, 300});
        write(QStringLiteral("c.jpg"), {250, 250});
    }

    // The named photo takes the open dialog's place: no dialog, and the list, the selection, the
    // label and the stamped canvas are those the dialog's answer would have given.
    void givenPhotoOpensAsTheDialogWould()
    {
        const QString b = photos.filePath(QStringLiteral("b.JPG"));
        OrderHost withArg;
        const auto given = startWith(withArg, b);
        QVERIFY(withArg.fileDialogs.isEmpty());
        QVERIFY(withArg.messages.isEmpty());

        OrderHost viaDialog;
        FileDialogResult answer;
        answer.path = b;
        viaDialog.fileAnswers << answer;
        const auto chosen = startWith(viaDialog, QString());
        QCOMPARE(viaDialog.fileDialogs.size(), 1);

        QVERIFY(given->photoLoaded());
        QCOMPARE(entries(*given), entries(*chosen));
        QCOMPARE(entries(*given).size(), 3);
        QCOMPARE(given->control<QListWidget>(QStringLiteral("List1"))->currentItem()->text(),
                 QStringLiteral("b.JPG"));
        QCOMPARE(given->document().photoPath, chosen->document().photoPath);
        QCOMPARE(given->document().photoFolder, chosen->document().photoFolder);
        QCOMPARE(given->control<QLabel>(QStringLiteral("Label1"))->text(),
                 QStringLiteral("当前文件：") + b);
        QCOMPARE(given->document().captureDateText, QStringLiteral("2007-12-10 14:30:00"));
        QCOMPARE(given->canvas(), chosen->canvas());
        given->close();
        chosen->close();
    }

    // A large photo shows at once at a reduced scale; saving waits for the full picture, which
    // then gives the canvas and preview the open dialog's answer gives. A selection made
    // meanwhile is not undone when the full picture is ready.
    void largePhotoShowsReducedFirst()
    {
        QDir(photos.path()).mkpath(QStringLiteral("big"));
        const QString big = write(QStringLiteral("big/d.jpg"), {2400, 1600});
        write(QStringLiteral("big/e.jpg"), {300, 200});
        const auto preview = [](const frmMain& w) {
            return w.control<PictureBox>(QStringLiteral("Picture1"))->image();
        };
        OrderHost withArg;
        const auto given = startWith(withArg, big, true);
        QVERIFY(!given->photoLoaded());
        QCOMPARE(given->canvas().size(), QSize(600, 400));  // a quarter: the preview is 482 wide
        QVERIFY(preview(*given).pixel(240, 240) != qRgb(0xE0, 0xE0, 0xE0));
        given->click(QStringLiteral("XPButton2"));
        QVERIFY(withArg.fileDialogs.isEmpty());
        QTRY_VERIFY(given->photoLoaded());
        QVERIFY(withArg.messages.isEmpty());

        OrderHost viaDialog;
        FileDialogResult answer;
        answer.path = big;
        viaDialog.fileAnswers << answer;
        const auto chosen = startWith(viaDialog, QString());
        QCOMPARE(given->canvas(), chosen->canvas());
        QCOMPARE(preview(*given), preview(*chosen));
        given->close();

        OrderHost stepping;
        const auto moved = startWith(stepping, big);
        QVERIFY(!moved->photoLoaded());
        moved->control<QListWidget>(QStringLiteral("List1"))->setCurrentRow(1);
        QTest::qWait(500);
        QCOMPARE(moved->document().photoName, QStringLiteral("e.jpg"));
        QCOMPARE(moved->canvas().size(), QSize(300, 200));
        QVERIFY(moved->photoLoaded());
        moved->close();
        chosen->close();
    }

    // A preview its camera put into the photo shows before anything is decoded, turned as the
    // photo; one that would not stand for the photo in the preview is never shown.
    void cameraPreviewShowsFirst_data()
    {
        QTest::addColumn<QString>("preview");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QSize>("first");
        const QSize reduced(600, 400);
        QTest::newRow("MPF") << "mpf 1200x800" << 1 << QSize(1200, 800);
        QTest::newRow("MPF, turned") << "mpf 1200x800" << 6 << QSize(800, 1200);
        QTest::newRow("EXIF thumbnail") << "exif 510x340" << 1 << QSize(510, 340);
        QTest::newRow("letter-boxed") << "mpf 1000x750" << 1 << reduced;
        QTest::newRow("small") << "mpf 450x300" << 1 << reduced;
        QTest::newRow("as large as the photo") << "mpf 2400x1600" << 1 << reduced;
        QTest::newRow("cut short") << "cut 1200x800" << 1 << reduced;
        QTest::newRow("outside the file") << "far 1200x800" << 1 << reduced;
        QTest::newRow("another view") << "view 1200x800" << 1 << reduced;
    }
    void cameraPreviewShowsFirst()
    {
        QFETCH(QString, preview);
        QFETCH(int, orientation);
        QFETCH(QSize, first);
        const QStringList kindSize = preview.split(u' ');
        const QStringList wh = kindSize[1].split(u'x');
        QImage red(wh[0].toInt(), wh[1].toInt(), QImage::Format_RGB32);
        red.fill(qRgb(220, 20, 20));
        const QByteArray small = fixtures::makeJpeg(red, {}, 80);
        QImage img(2400, 1600, QImage::Format_RGB32);
        img.fill(qRgb(30, 60, 90));
        fixtures::ExifContent exif;
        exif.extra << fixtures::ExifEntry::shorts(fixtures::Dir::Image, 0x0112,
                                                  {quint16(orientation)});
        if (kindSize[0] == u"exif") exif.thumbnailJpeg = small;
        QByteArray jpeg = fixtures::makeJpeg(img, exif);
        if (kindSize[0] != u"exif")
            jpeg = fixtures::withMpfPreview(
                jpeg, kindSize[0] == u"cut" ? small.left(small.size() / 2) : small,
                kindSize[0] == u"view" ? 0x020002 : 0x010002,
                kindSize[0] == u"far" ? std::optional<quint32>(1u << 30) : std::nullopt);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.jpg"));
        QVERIFY(fixtures::writeFile(path, jpeg));

        // The reduced picture counts as still on its way when the window first looks.
        FirstLook look = startFirstLook(path);
        look.picture = std::make_shared<std::future<ReducedPicture>>(std::async(
            std::launch::deferred, [decoding = look.picture] { return decoding->get(); }));
        OrderHost host;
        const auto window = startWith(host, path, false, std::move(look));
        const auto redAtCentre = [&] {
            const QImage c = window->canvas();
            return qRed(c.pixel(c.width() / 2, c.height() / 2)) > 150;
        };
        QCOMPARE(window->canvas().size(), first);
        QCOMPARE(redAtCentre(), first != QSize(600, 400));
        QTRY_VERIFY(window->photoLoaded());
        QCOMPARE(window->canvas().size(), orientation == 6 ? QSize(1600, 2400) : img.size());
        QVERIFY(!redAtCentre());
        QVERIFY(host.messages.isEmpty());
        window->close();
    }

    // Whatever is wrong with the argument, the usual message comes first, then the open dialog,
    // whose answer is then opened as at any start.
    void badArgumentReportsThenAsks_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("said");
        QTest::newRow("missing") << "missing.jpg"
                                 << "文件不存在";
        QTest::newRow("folder") << ""
                                << "不是普通文件";
        QTest::newRow("not a photo") << "bad/notes.jpg"
                                     << "notes.jpg";
        QTest::newRow("no photo in folder") << "png/only.png"
                                            << "没有照片文件（.jpg";
    }
    void badArgumentReportsThenAsks()
    {
        QFETCH(QString, argument);
        QFETCH(QString, said);
        QDir(photos.path()).mkpath(QStringLiteral("bad"));
        QDir(photos.path()).mkpath(QStringLiteral("png"));
        QFile notes(photos.filePath(QStringLiteral("bad/notes.jpg")));
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write("not a photo");
        notes.close();
        QVERIFY(QImage(8, 8, QImage::Format_RGB32).save(photos.filePath("png/only.png")));

        OrderHost host;
        FileDialogResult answer;
        answer.path = photos.filePath(QStringLiteral("c.jpg"));
        host.fileAnswers << answer;
        const auto window = startWith(host, photos.filePath(argument));
        QCOMPARE(host.messages.size(), 1);
        QVERIFY2(host.messages[0].text.contains(said), qPrintable(host.messages[0].text));
        QCOMPARE(host.messages[0].icon,
                 argument.endsWith(".png") ? MsgIcon::Information : MsgIcon::Exclamation);
        QCOMPARE(host.messagesBeforeDialog, QList<int>{1});
        QVERIFY(window->photoLoaded());
        QCOMPARE(window->document().photoName, QStringLiteral("c.jpg"));
        window->close();
    }
};

QTEST_MAIN(OpenWithTest)
#include "tst_openwith.moc"
