// The window answered through its real dialogs: every interaction of a working run goes through
// QtHost, and a driver answers the modal widget that comes up, as a user would.
#include "app/singleinstance.h"
#include "app/startup.h"
#include "tests/gui/modaldriver.h"
#include "tools/fixtures/photowriter.h"
#include "ui/frmmain.h"
#include "ui/qthost.h"

#include <QAction>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QInputDialog>
#include <QListWidget>
#include <QPrintDialog>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <memory>

using namespace orvello;

class RealDialogsTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QtHost host;
    std::unique_ptr<frmMain> window;
    std::unique_ptr<test::ModalDriver> driver;

    QString path(const QString& name) const { return dir.filePath(name); }
    QString ini() const { return path(QStringLiteral("settings.ini")); }
    QString driverReport() const
    {
        return driver->seen.join(QLatin1String(" | ")) + QLatin1String(" || ") +
               driver->texts.join(QLatin1String(" | ")) + QLatin1String(" || ") +
               driver->faults.join(QLatin1String(" | "));
    }
    // Waits for every scripted dialog and checks none came that was not expected.
    void expectAllAnswered()
    {
        QVERIFY2(driver->waitFinished(), qPrintable(driverReport()));
        QVERIFY2(driver->faults.isEmpty(), qPrintable(driverReport()));
    }

    bool outputsWritten() const
    {
        for (const char* name : {"PM_a.jpg", "PM_b.jpg", "PM_c.jpg"}) {
            QImage copy;
            if (!copy.load(path(QStringLiteral("out/") + QLatin1String(name)))) return false;
        }
        return true;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        QDir().mkpath(path(QStringLiteral("in")));
        QDir().mkpath(path(QStringLiteral("out")));
        fixtures::ExifContent exif;
        exif.dateTimeOriginal = QStringLiteral("2007:12:10 14:30:00");
        QImage img(320, 240, QImage::Format_RGB32);
        img.fill(qRgb(30, 60, 90));
        for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
            fixtures::writeFile(path(QStringLiteral("in/") + QLatin1String(name)),
                                fixtures::makeJpeg(img, exif));
        fixtures::writeFile(path(QStringLiteral("out/PM_b.jpg")), "an earlier copy");
    }

    // Open at start through the file dialog, then the notice of a folder without photos.
    void openAtStart()
    {
        driver = std::make_unique<test::ModalDriver>();
        FrmMainEnvironment env;
        env.host = &host;
        env.appDirectory = QStringLiteral(ORVELLO_BIN_DIR);
        env.store = SettingsStore(ini());
        window = std::make_unique<frmMain>(std::move(env));
        host.setOwner(window.get());
        driver->typeFileName(path(QStringLiteral("in/a.jpg")));
        QCOMPARE(window->load(), 0);
        expectAllAnswered();
        QVERIFY(window->photoLoaded());
        QCOMPARE(window->control<QListWidget>(QStringLiteral("List1"))->count(), 3);

        QDir().mkpath(path(QStringLiteral("empty")));
        fixtures::writeFile(path(QStringLiteral("empty/notes.txt")), "x");
        driver->typeFileName(path(QStringLiteral("empty/notes.txt"))).pressButton(QMessageBox::Ok);
        window->click(QStringLiteral("XPButton1"));
        expectAllAnswered();
        QVERIFY(driver->texts.last().contains(QStringLiteral("没有")));
        QVERIFY(window->photoLoaded());  // the photo shown before stays
        driver->typeFileName(path(QStringLiteral("in/b.jpg")));
        window->click(QStringLiteral("XPButton1"));
        expectAllAnswered();
        QCOMPARE(window->control<QListWidget>(QStringLiteral("List1"))->currentRow(), 1);
    }

    // Save through the save dialog, the colour dialog, the font list, printing to a PDF file.
    void saveColourFontAndPrint()
    {
        const QString saved = path(QStringLiteral("out/saved.jpg"));
        driver->typeFileName(saved);
        window->click(QStringLiteral("XPButton2"));
        expectAllAnswered();
        QImage written;
        QVERIFY(written.load(saved));
        QCOMPARE(written.size(), QSize(320, 240));

        driver->then<QColorDialog>([](QColorDialog* d) {
            d->setCurrentColor(QColor(10, 20, 30));
            d->accept();
        });
        window->click(QStringLiteral("XPButton19"));
        expectAllAnswered();
        QCOMPARE(window->settings().addForeColor, 10 + 256 * 20 + 65536 * 30);

        window->click(QStringLiteral("XPButton13"));
        auto* fonts = window->control<QListWidget>(QStringLiteral("List2"));
        QVERIFY(fonts && fonts->isVisible() && fonts->count() > 1);
        QListWidgetItem* face = fonts->item(1);
        const QRect at = fonts->visualItemRect(face);
        QTest::mouseClick(fonts->viewport(), Qt::LeftButton, {}, at.center());
        QTest::mouseDClick(fonts->viewport(), Qt::LeftButton, {}, at.center());
        QCOMPARE(window->settings().addFont2, face->text());

        // No printer here: the one print dialog offers a PDF named after the photo. Its properties
        // must hold the paper list the paper keeper turns, or the paper would be lost unnoticed.
        bool paperList = false;
        driver
            ->then<QPrintDialog>([](QPrintDialog* d) {
                if (auto* p = d->findChild<QPushButton*>(QStringLiteral("properties")))
                    QTest::mouseClick(p, Qt::LeftButton);  // returns once they are closed
                d->accept();
            })
            .then<QDialog>([&](QDialog* d) {
                paperList = d->findChild<QComboBox*>(QLatin1String(kPrintPaperListName));
                d->accept();
            });
        window->click(QStringLiteral("XPButton23"));
        expectAllAnswered();
        QVERIFY2(paperList, "Qt's print properties have no paper list by the name looked for");
        QFile printed(path(QStringLiteral("in/PM_b.pdf")));
        QVERIFY(printed.open(QIODevice::ReadOnly));
        QVERIFY(printed.readAll().startsWith("%PDF"));
    }

    // 全部保存…: the options, the folder dialog, the Yes/No/Cancel question, the progress window,
    // the summary; after 确定 the window is still there and goes on working.
    void saveAllThroughTheRealDialogs()
    {
        auto* command = window->findChild<QObject*>(QStringLiteral("saveAll"));
        QSignalSpy done(command, SIGNAL(finished()));
        int progressMaximum = -1;
        driver->then<QDialog>([](QDialog* options) { options->accept(); })
            .typeFileName(path(QStringLiteral("out")))
            .pressButton(QMessageBox::Yes)
            .then<QProgressDialog>([&](QProgressDialog* d) {
                progressMaximum = d->maximum();
                // The window stays busy until every copy is written, as under a slow repaint:
                // all the reports and the end of the batch then wait in the queue together.
                for (int waited = 0; !outputsWritten() && waited < 30000; waited += 10)
                    QThread::msleep(10);
                QThread::msleep(300);
            })
            .pressButton(QMessageBox::Ok);
        window->findChild<QAction*>(QStringLiteral("saveAllAction"))->trigger();
        QVERIFY(done.wait(60000));
        expectAllAnswered();
        QCOMPARE(progressMaximum, 3);
        QVERIFY(driver->texts.last().startsWith(QStringLiteral("已保存 3 张照片")));
        for (const char* name : {"PM_a.jpg", "PM_b.jpg", "PM_c.jpg"}) {
            QImage copy;
            QVERIFY2(copy.load(path(QStringLiteral("out/") + QLatin1String(name))), name);
        }
        // Gone from the screen, and gone for good once the loop has run.
        QTRY_VERIFY(window->findChildren<QProgressDialog*>().isEmpty());
        QVERIFY(window->isVisible());
        window->click(QStringLiteral("XPButton4"));
        QCOMPARE(window->canvas().size(), QSize(240, 320));
        window->click(QStringLiteral("XPButton3"));
    }

    // The clock shift from the preview's menu: a slip is named and asked again with what was
    // typed; the shift given moves the stamped date.
    void clockShiftThroughTheInputDialog()
    {
        const QImage before = window->canvas();
        QString reopened;
        driver->then<QInputDialog>([](QInputDialog* d) { d->setTextValue("+1:75"), d->accept(); })
            .pressButton(QMessageBox::Ok)
            .then<QInputDialog>([&](QInputDialog* d) {
                reopened = d->textValue();
                d->setTextValue("+1:30"), d->accept();
            });
        window->findChild<QAction*>(QStringLiteral("dateShiftAction"))->trigger();
        expectAllAnswered();
        QCOMPARE(reopened, QStringLiteral("+1:75"));
        QCOMPARE(window->settings().dateShift, QStringLiteral("+1:30"));
        QVERIFY(window->canvas() != before);
    }

    // A start that cannot write its lock (a folder stands in its way) says why, and ends.
    void unwritableLock()
    {
        SingleInstance instance(path(QStringLiteral("in")));
        driver->pressButton(QMessageBox::Ok);
        const StartDecision start =
            decideStart(instance, instance.acquire(), {}, host, path(QStringLiteral("s")), 0);
        expectAllAnswered();
        QCOMPARE(start.exitStatus, kExitNoLock);
        QVERIFY(driver->texts.last().contains(path(QStringLiteral("in"))));
    }

    // The close question: No keeps the window, Yes closes it and writes what was set.
    void closeQuestion()
    {
        driver->pressButton(QMessageBox::No);
        window->closeCommand();
        expectAllAnswered();
        QVERIFY(window->isVisible());
        driver->pressButton(QMessageBox::Yes);
        window->closeCommand();
        expectAllAnswered();
        QCOMPARE(driver->texts.last(), QStringLiteral("你确定要关闭并结束程序吗？"));
        QVERIFY(!window->isVisible());
        QSettings stored(ini(), QSettings::IniFormat);
        stored.beginGroup(QStringLiteral("SetLog"));
        QCOMPARE(stored.value(QStringLiteral("addForeColor")).toString(),
                 QString::number(10 + 256 * 20 + 65536 * 30));
    }
};

int main(int argc, char** argv)
{
    // No printer may be found, whatever this machine has installed.
    qputenv("CUPS_SERVER", "/nonexistent/orvello-test.sock");
    QApplication app(argc, argv);
    RealDialogsTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_realdialogs.moc"
