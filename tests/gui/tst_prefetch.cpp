// Stepping through the list with the neighbours prepared in the background: the photo shown is
// always the one selected, as its file is now, and messages come when it is selected.
#include "tests/gui/testwindow.h"
#include "tools/fixtures/photowriter.h"

#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace orvello;

namespace {

// A photo of one colour, its name in its EXIF date so that the listing tells them apart.
QByteArray photoOf(QRgb color, QSize size, int day)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(color);
    fixtures::ExifContent exif;
    exif.dateTimeOriginal = QStringLiteral("2007:12:%1 14:30:00").arg(day, 2, 10, QLatin1Char('0'));
    return fixtures::makeJpeg(img, exif, 100);
}

}  // namespace

class PrefetchTest : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDir;
    test::ScriptedHost host;
    std::unique_ptr<frmMain> window;
    std::unique_ptr<QTemporaryDir> dir;
    const QList<QRgb> colors{qRgb(200, 30, 30), qRgb(30, 200, 30), qRgb(30, 30, 200),
                             qRgb(200, 200, 30), qRgb(30, 200, 200)};

    QString path(int i) const { return dir->filePath(QStringLiteral("p%1.jpg").arg(i)); }
    QListWidget* list() const { return window->control<QListWidget>(QStringLiteral("List1")); }
    // Label, EXIF text, canvas and preview all show entry i, coloured color.
    void verifyShows(int i, QRgb color)
    {
        QCOMPARE(list()->currentRow(), i);
        QCOMPARE(window->document().photoName, QStringLiteral("p%1.jpg").arg(i));
        QVERIFY(window->control<QLabel>(QStringLiteral("Label1"))
                    ->text()
                    .endsWith(QStringLiteral("p%1.jpg").arg(i)));
        QVERIFY(window->control<QPlainTextEdit>(QStringLiteral("Text0"))
                    ->toPlainText()
                    .contains(QStringLiteral("2007:12:%1").arg(i + 1, 2, 10, QLatin1Char('0'))));
        // A corner the stamp does not reach, within the rounding of the JPEG colour conversion.
        const QRgb shown = window->canvas().pixel(2, 2);
        QVERIFY2(std::abs(qRed(shown) - qRed(color)) + std::abs(qGreen(shown) - qGreen(color)) +
                         std::abs(qBlue(shown) - qBlue(color)) <=
                     6,
                 qPrintable(QString::number(shown, 16)));
    }

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        for (int i = 0; i < colors.size(); ++i)
            fixtures::writeFile(path(i), photoOf(colors[i], {64, 48}, i + 1));
        host = test::ScriptedHost();
        window = test::loadedWindow(host, settingsDir.filePath(QStringLiteral("p.ini")));
        test::openThroughDialog(host, *window, path(0));
        QCoreApplication::sendPostedEvents();  // the neighbours start once the photo is shown
        window->prefetcher().waitForIdle();
        host.messages.clear();
    }
    void cleanup() { window.reset(); }

    // The prepared neighbour is used when its file is as it was, and never when it changed in
    // between, whatever changed; a vanished file is reported when selected.
    void changedFilesAreReadAgain_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("unchanged") << QString();
        QTest::newRow("new content, new size") << QStringLiteral("size");
        QTest::newRow("same size, new time") << QStringLiteral("time");
        QTest::newRow("removed") << QStringLiteral("removed");
    }
    void changedFilesAreReadAgain()
    {
        QFETCH(QString, change);
        const QRgb replaced = qRgb(250, 250, 250);
        if (change == QLatin1String("size")) {
            fixtures::writeFile(path(1), photoOf(replaced, {80, 60}, 2));
        } else if (change == QLatin1String("time")) {
            QByteArray same = photoOf(replaced, {64, 48}, 2);
            const QByteArray before = [&] {
                QFile f(path(1));
                f.open(QIODevice::ReadOnly);
                return f.readAll();
            }();
            same.resize(before.size(), '\0');  // padding after the end of the image
            fixtures::writeFile(path(1), same);
            QFile f(path(1));
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(60),
                                  QFileDevice::FileModificationTime));
        } else if (change == QLatin1String("removed")) {
            QVERIFY(QFile::remove(path(1)));
        }
        list()->setCurrentRow(1);
        if (change == QLatin1String("removed")) {
            QCOMPARE(host.messages.size(), 1);
            QVERIFY(host.messages.first().text.contains(QStringLiteral("p1.jpg")));
            QVERIFY(!window->photoLoaded());
            return;
        }
        QCOMPARE(window->prefetcher().hits(), change.isEmpty() ? 1 : 0);
        verifyShows(1, change.isEmpty() ? colors[1] : replaced);
        QVERIFY(host.messages.isEmpty());
    }

    // A damaged neighbour says nothing while it is prepared, and its message comes when it is
    // selected, after its name is on screen.
    void damageIsReportedWhenSelected()
    {
        QByteArray cut = photoOf(colors[2], {64, 48}, 3);
        cut.truncate(cut.size() / 2);
        fixtures::writeFile(path(2), cut);
        list()->setCurrentRow(1);
        QCoreApplication::sendPostedEvents();  // the neighbours start once the photo is shown
        window->prefetcher().waitForIdle();
        QVERIFY(host.messages.isEmpty());
        QString labelWhenAsked;
        host.onMessage = [&](const MessageRequest&) {
            labelWhenAsked = window->control<QLabel>(QStringLiteral("Label1"))->text();
        };
        list()->setCurrentRow(2);
        QCOMPARE(host.messages.size(), 1);
        QVERIFY(labelWhenAsked.endsWith(QStringLiteral("p2.jpg")));
        QCOMPARE(window->prefetcher().hits(), 2);
    }

    // Reopening the folder drops what was prepared from it.
    void reopeningDropsPrepared()
    {
        test::openThroughDialog(host, *window, path(0));
        list()->setCurrentRow(1);
        verifyShows(1, colors[1]);
    }

    // A held key: repeats that arrive together become one selection, and what is shown at the end
    // is the entry the highlight rests on, label, listing and picture alike.
    void heldKeyEndsOnTheSelectedPhoto()
    {
        list()->setFocus();
        QSignalSpy shownTexts(window->control<QPlainTextEdit>(QStringLiteral("Text0")),
                              &QPlainTextEdit::textChanged);
        for (int i = 0; i < 3; ++i)
            QCoreApplication::postEvent(list(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Down,
                                                              Qt::NoModifier, QString(), true));
        QTRY_COMPARE(window->document().photoName, QStringLiteral("p3.jpg"));
        verifyShows(3, colors[3]);
        QCOMPARE(shownTexts.count(), 1);  // one photo opened for the three repeats
        QCoreApplication::postEvent(
            list(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier, QString(), true));
        QTRY_COMPARE(window->document().photoName, QStringLiteral("p2.jpg"));
        verifyShows(2, colors[2]);
    }
};

QTEST_MAIN(PrefetchTest)
#include "tst_prefetch.moc"
