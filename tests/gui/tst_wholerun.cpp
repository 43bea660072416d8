// A whole working run of the window, driven as a user drives it: the command buttons are clicked
// with the mouse on the controls themselves, the list, check boxes and title box get real keys,
// and the scripted host answers the dialogs.
#include "tests/gui/testwindow.h"
#include "tools/fixtures/exifcontent.h"
#include "tools/fixtures/photowriter.h"
#include "xpbutton/xpbutton.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QSettings>
#include <QTemporaryDir>
#include <QToolTip>
#include <QtTest>
#include <memory>

using namespace orvello;

namespace {

// Records the key presses a widget receives as its own.
class KeyRecorder : public QObject {
public:
    QList<int> keys;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) keys << static_cast<QKeyEvent*>(event)->key();
        return QObject::eventFilter(watched, event);
    }
};

// Pixels of a that differ from b by more than a JPEG's noise in any channel.
int differingPixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size()) return -1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            n += qAbs(qRed(p) - qRed(q)) > 40 || qAbs(qGreen(p) - qGreen(q)) > 40 ||
                 qAbs(qBlue(p) - qBlue(q)) > 40;
        }
    return n;
}

}  // namespace

class WholeRunTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    test::ScriptedHost host;
    std::unique_ptr<frmMain> window;

    QString photo(int n) const { return dir.filePath(QStringLiteral("IMG_000%1.jpg").arg(n)); }

    // A left click on the button's face, after the pointer has moved onto it.
    void press(const char* name)
    {
        auto* button = window->control<XPButton>(QString::fromLatin1(name));
        QVERIFY2(button && button->isVisible(), name);
        const QPoint centre = button->rect().center();
        QTest::mouseMove(button, centre);
        QTest::mouseClick(button, Qt::LeftButton, {}, centre);
    }
    // A double click on a list entry, as the mouse delivers it: press, release, double click.
    static void doubleClick(QListWidget* list, QListWidgetItem* item)
    {
        list->scrollToItem(item);
        const QPoint at = list->visualItemRect(item).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }
    QString current() const { return window->document().photoName; }

private slots:
    void initTestCase()
    {
        // Three photos of one folder: two landscape with a capture date, one portrait without.
        const QRgb dark = qRgb(30, 40, 60);
        QVERIFY(fixtures::writeDatedPhoto(photo(1), QSize(320, 240), dark,
                                          QStringLiteral("2009:06:21 19:05:42")));
        QVERIFY(fixtures::writeDatedPhoto(photo(2), QSize(320, 240), dark,
                                          QStringLiteral("2010:01:02 03:04:05")));
        QVERIFY(fixtures::writeDatedPhoto(photo(3), QSize(240, 320), dark, QString()));
    }

    void aWholeRun()
    {
        const QString ini = dir.filePath(QStringLiteral("Orvello.ini"));
        host.fileAnswers << std::nullopt;  // the first open dialog of the start is cancelled
        window = test::loadedWindow(host, ini);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QVERIFY(!window->photoLoaded());

        // Open a photo of the folder, then step through the folder with the arrow keys.
        FileDialogResult chosen;
        chosen.path = photo(2);
        host.fileAnswers << chosen;
        press("XPButton1");
        QCOMPARE(current(), QStringLiteral("IMG_0002.jpg"));
        QVERIFY(window->photoLoaded());
        auto* list = window->control<QListWidget>(QStringLiteral("List1"));
        QCOMPARE(list->count(), 3);
        list->setFocus();
        // The list keeps the folder's own order: step up to its first entry, down to its last,
        // and up again to the first photo; each key press opens the entry it reaches.
        const auto step = [&](Qt::Key key, int to) {
            QTest::keyClick(list, key);
            QCOMPARE(list->currentRow(), to);
            QCOMPARE(current(), list->item(to)->text());
            QCOMPARE(window->document().isPortrait, current() == QStringLiteral("IMG_0003.jpg"));
        };
        while (list->currentRow() > 0) step(Qt::Key_Up, list->currentRow() - 1);
        step(Qt::Key_Down, 1);
        step(Qt::Key_Down, 2);
        const int first =
            list->row(list->findItems(QStringLiteral("IMG_0001.jpg"), Qt::MatchExactly).value(0));
        while (list->currentRow() > first) step(Qt::Key_Up, list->currentRow() - 1);
        QCOMPARE(current(), QStringLiteral("IMG_0001.jpg"));
        QVERIFY(window->control<QPlainTextEdit>(QStringLiteral("Text0"))
                    ->toPlainText()
                    .contains(QStringLiteral("2009:06:21 19:05:42")));

        // An arrow pressed on a command button reaches the window as its own key press; the
        // button keeps the focus and the list stays where it was.
        KeyRecorder recorder;
        window->installEventFilter(&recorder);
        auto* upButton = window->control<XPButton>(QStringLiteral("XPButton5"));
        upButton->setFocus();
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Right, Qt::Key_Up, Qt::Key_Left})
            QTest::keyClick(upButton, key);
        QCoreApplication::processEvents();
        window->removeEventFilter(&recorder);
        QCOMPARE(recorder.keys,
                 QList<int>({Qt::Key_Down, Qt::Key_Right, Qt::Key_Up, Qt::Key_Left}));
        QCOMPARE(QApplication::focusWidget(), upButton);
        QCOMPARE(current(), QStringLiteral("IMG_0001.jpg"));
        QCOMPARE(window->settings().addCurrentY2, 8.0f);  // and the button did not run

        // The title: switched on with the space bar, typed and edited with the ordinary keys.
        auto* titleSwitch = window->control<QCheckBox>(QStringLiteral("Check2"));
        titleSwitch->setFocus();
        QTest::keyClick(titleSwitch, Qt::Key_Space);
        QVERIFY(titleSwitch->isChecked());
        QVERIFY(window->settings().addTXB);
        auto* title = window->control<QLineEdit>(QStringLiteral("Text1"));
        title->setFocus();
        title->selectAll();
        QTest::keyClicks(title, QStringLiteral("Beach day"));
        QTest::keyClick(title, Qt::Key_Left);
        QTest::keyClick(title, Qt::Key_Left);
        QTest::keyClick(title, Qt::Key_Left);
        QTest::keyClicks(title, QStringLiteral("2 "));
        QCOMPARE(title->text(), QStringLiteral("Beach 2 day"));
        // A pasted document is cut at the cap, and the user is told beside the box.
        QGuiApplication::clipboard()->setText(QString(160000, u'x'));
        title->paste();
        QCOMPARE(title->text().size(), kMaxTitleLength);
        QVERIFY(QToolTip::isVisible());
        title->setText(QStringLiteral("Beach 2 day"));
        const QImage photoOnly = [&] {
            QImage plain(320, 240, QImage::Format_RGB32);
            plain.fill(qRgb(30, 40, 60));
            return plain;
        }();
        const int stamped = differingPixels(window->canvas(), photoOnly);
        QVERIFY(stamped > 100);  // date and title are drawn

        // Nudge the title and the date, resize, bold, colour and both fonts.
        press("XPButton5");
        QCOMPARE(window->settings().addCurrentY2, 7.5f);
        press("XPButton12");
        QCOMPARE(window->settings().addCurrentX, 60.5f);
        press("XPButton17");
        press("XPButton17");
        press("XPButton15");
        QVERIFY(window->settings().addFontSize > 2.0f);
        press("XPButton18");
        QVERIFY(window->settings().addFontBold);
        QVERIFY(window->control<XPButton>(QStringLiteral("XPButton18"))->fontStyle() & 2);
        press("XPButton16");
        QVERIFY(window->settings().addFontItalic);
        QVERIFY(window->control<XPButton>(QStringLiteral("XPButton16"))->fontStyle() & 4);
        host.colorAnswers << QColor(255, 0, 0);
        press("XPButton19");
        QCOMPARE(window->settings().addForeColor, 255);
        auto* fonts = window->control<QListWidget>(QStringLiteral("List2"));
        press("XPButton13");
        QVERIFY(fonts->isVisible());
        QListWidgetItem* face =
            fonts->findItems(QStringLiteral("DigifaceWide"), Qt::MatchExactly).value(0);
        QVERIFY(face);
        doubleClick(fonts, face);
        QCOMPARE(window->settings().addFont2, QStringLiteral("DigifaceWide"));
        QVERIFY(!fonts->isVisible());
        press("XPButton14");
        face = fonts->findItems(QStringLiteral("宋体"), Qt::MatchExactly).value(0);
        if (!face) face = fonts->item(0);
        const QString dateFace = face->text();
        doubleClick(fonts, face);
        QCOMPARE(window->settings().addFont, dateFace);

        // Rotate both ways: the photo turns and comes back, the overlay stays upright.
        const QImage before = window->canvas();
        press("XPButton3");
        QCOMPARE(window->canvas().size(), QSize(240, 320));
        QVERIFY(window->document().isPortrait);
        press("XPButton4");
        QCOMPARE(window->canvas().size(), QSize(320, 240));
        QCOMPARE(QApplication::focusWidget(), window->control(QStringLiteral("XPButton4")));
        QCOMPARE(window->canvas(), before);

        // Save: the file holds the stamped canvas at full size.
        const QString saved = dir.filePath(QStringLiteral("saved.jpg"));
        FileDialogResult target;
        target.path = saved;
        host.fileAnswers << target;
        press("XPButton2");
        QCOMPARE(host.fileDialogs.last().fileName, QStringLiteral("PM_IMG_0001.jpg"));
        QImage written;
        QVERIFY(written.load(saved, "jpeg"));
        QCOMPARE(written.size(), QSize(320, 240));
        QVERIFY(differingPixels(written.convertToFormat(QImage::Format_RGB32), window->canvas()) <
                20);
        QVERIFY(differingPixels(written.convertToFormat(QImage::Format_RGB32), photoOnly) > 100);

        // Print to a PDF file: no printer is installed, so the print dialog offers one.
        host.printerInstalled = false;
        const QString pdf = dir.filePath(QStringLiteral("printed.pdf"));
        host.printSetupAnswer = [&](QPrinter& printer) {
            printer.setOutputFileName(pdf);
            printer.setPageSize(QPageSize(QPageSize::A5));
            return true;
        };
        press("XPButton23");
        QFile printed(pdf);
        QVERIFY(printed.open(QIODevice::ReadOnly));
        const QByteArray bytes = printed.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        QVERIFY(bytes.contains("/Subtype /Image"));
        QCOMPARE(window->settings().DPaperSize, qint16(11));  // A5

        // Restore the defaults, then close with Yes: the settings are written.
        host.messageAnswers << MsgAnswer::Yes;
        press("XPButton20");
        QCOMPARE(window->settings().addCurrentX, 60.0f);
        QVERIFY(!window->settings().addFontBold);
        const int messagesBefore = int(host.messages.size());
        host.messageAnswers << MsgAnswer::Yes;
        auto* closeImage = window->control(QStringLiteral("Imclose"));
        QTest::mouseClick(closeImage, Qt::LeftButton, {}, closeImage->rect().center());
        QCOMPARE(host.messages.size(), messagesBefore + 1);
        QCOMPARE(host.messages.last().text, QStringLiteral("你确定要关闭并结束程序吗？"));
        QVERIFY(!window->isVisible());
        QSettings stored(ini, QSettings::IniFormat);
        stored.beginGroup(QStringLiteral("SetLog"));
        QCOMPARE(stored.value(QStringLiteral("addTXB")).toString(), QStringLiteral("True"));
        QCOMPARE(stored.value(QStringLiteral("addDTB")).toString(), QStringLiteral("True"));
        QCOMPARE(stored.value(QStringLiteral("addCurrentX")).toString(), QStringLiteral("60"));
        QCOMPARE(stored.value(QStringLiteral("addFontBold")).toString(), QStringLiteral("False"));
        QCOMPARE(stored.value(QStringLiteral("addFont2")).toString(), QStringLiteral("宋体"));
        QCOMPARE(stored.value(QStringLiteral("DPaperSize")).toString(), QStringLiteral("11"));
        QCOMPARE(stored.value(QStringLiteral("frmMainX")).toString(),
                 QString::number(window->x() * 15));
    }
};

QTEST_MAIN(WholeRunTest)
#include "tst_wholerun.moc"
