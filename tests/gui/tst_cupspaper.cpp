// Printing on a real print server: a CUPS scheduler of the test's own with its PDF printer. The
// paper the user chose is offered again at the next print, in the same run and after a restart,
// and the job bears the photo's name.
#include "tests/gui/modaldriver.h"
#include "tools/fixtures/photowriter.h"
#include "ui/frmmain.h"
#include "ui/qthost.h"

#include <unistd.h>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace orvello;

namespace {

// The scheduler: started in the foreground in a folder of its own, stopped at the end.
class PrintServer {
public:
    QString skipReason;

    explicit PrintServer(const QString& root) : root_(root)
    {
        const QString cupsd = QStandardPaths::findExecutable(
            QStringLiteral("cupsd"), {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
        const QString ppd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");
        if (cupsd.isEmpty() || !QFile::exists(ppd) ||
            !QFile::exists(QStringLiteral("/usr/lib/cups/backend/cups-pdf"))) {
            skipReason = QStringLiteral("cups or printer-driver-cups-pdf is not installed");
            return;
        }
        if (::geteuid() != 0) {
            skipReason = QStringLiteral("a scheduler of the test's own needs root");
            return;
        }
        for (const char* d : {"spool", "cache", "state", "log", "tmp"})
            QDir().mkpath(root + QLatin1Char('/') + QLatin1String(d));
        // The scheduler's own user must reach its folders.
        QFile(root).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                   QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                   QFileDevice::ExeOther | QFileDevice::ReadGroup |
                                   QFileDevice::ExeGroup);
        socket = root + QStringLiteral("/cups.sock");
        write(QStringLiteral("cupsd.conf"),
              QStringLiteral("Listen %1\nLogLevel warn\nWebInterface No\nPreserveJobFiles Yes\n"
                             "DefaultAuthType None\n<Location />\n  Order allow,deny\n  Allow all\n"
                             "</Location>\n<Policy default>\n  <Limit All>\n    Order deny,allow\n"
                             "  </Limit>\n</Policy>\n")
                  .arg(socket));
        QString files;
        for (const auto& [key, dir] : {std::pair{"ServerRoot", ""},
                                       {"StateDir", "/state"},
                                       {"CacheDir", "/cache"},
                                       {"RequestRoot", "/spool"},
                                       {"TempDir", "/tmp"}})
            files += QStringLiteral("%1 %2%3\n").arg(QLatin1String(key), root, QLatin1String(dir));
        files += QStringLiteral("ErrorLog %1/log/error_log\nUser lp\nGroup lp\n").arg(root);
        write(QStringLiteral("cups-files.conf"), files);
        server_.start(cupsd, {QStringLiteral("-f"), QStringLiteral("-c"),
                              root + QStringLiteral("/cupsd.conf"), QStringLiteral("-s"),
                              root + QStringLiteral("/cups-files.conf")});
        if (!server_.waitForStarted(10000)) {
            skipReason = QStringLiteral("cupsd does not start here");
            return;
        }
        qputenv("CUPS_SERVER", socket.toLocal8Bit());
        // Waits for the scheduler to answer, then adds the PDF printer as the default.
        bool added = false;
        for (int i = 0; i < 100 && !added; ++i) {
            QTest::qWait(100);
            added =
                QProcess::execute(QStringLiteral("lpadmin"),
                                  {QStringLiteral("-p"), QStringLiteral("OrvelloPDF"),
                                   QStringLiteral("-E"), QStringLiteral("-v"),
                                   QStringLiteral("cups-pdf:/"), QStringLiteral("-P"), ppd}) == 0;
        }
        if (!added || QProcess::execute(QStringLiteral("lpadmin"),
                                        {QStringLiteral("-d"), QStringLiteral("OrvelloPDF")}) != 0)
            skipReason = QStringLiteral("the scheduler did not take the PDF printer");
    }
    ~PrintServer()
    {
        if (server_.state() == QProcess::NotRunning) return;
        server_.terminate();
        if (!server_.waitForFinished(10000)) server_.kill();
    }
    // The documents the scheduler kept, newest last.
    QStringList jobFiles(const char* prefix) const
    {
        QStringList files =
            QDir(root_ + QStringLiteral("/spool"))
                .entryList({QLatin1String(prefix) + QLatin1Char('*')}, QDir::Files, QDir::Name);
        for (QString& f : files) f = root_ + QStringLiteral("/spool/") + f;
        return files;
    }
    QString socket;

private:
    void write(const QString& name, const QString& text)
    {
        QFile f(root_ + QLatin1Char('/') + name);
        if (f.open(QIODevice::WriteOnly)) f.write(text.toUtf8());
    }
    QString root_;
    QProcess server_;
};

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The page size of a printed PDF, in points, from its first MediaBox.
QSizeF mediaBox(const QByteArray& pdf)
{
    static const QRegularExpression box(
        QStringLiteral("/MediaBox\\s*\\[\\s*0\\s+0\\s+([0-9.]+)\\s+([0-9.]+)"));
    const auto m = box.match(QString::fromLatin1(pdf));
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QSizeF();
}

// The entry of the properties' paper list for id, as the printer's driver names it.
int paperIndex(const QComboBox& sizes, QPageSize::PageSizeId id)
{
    const QPageSize wanted(id);
    for (int i = 0; i < sizes.count(); ++i)
        if (sizes.itemText(i).split(u' ').contains(wanted.key())) return i;
    return -1;
}

}  // namespace

class CupsPaperTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<PrintServer> cups;
    QtHost host;
    test::ModalDriver driver;

    QString ini() const { return dir.filePath(QStringLiteral("s.ini")); }

    std::unique_ptr<frmMain> startWindow()
    {
        FrmMainEnvironment env;
        env.host = &host;
        env.appDirectory = QStringLiteral(ORVELLO_BIN_DIR);
        env.store = SettingsStore(ini());
        env.initialPhoto = dir.filePath(QStringLiteral("beach 1.jpg"));
        auto window = std::make_unique<frmMain>(std::move(env));
        host.setOwner(window.get());
        return window;
    }
    // Prints through the real dialog, opening its properties as a user does to see the paper;
    // paper: what to choose there (none: keep what they offer). Returns the paper offered.
    QString print(frmMain& window, std::optional<QPageSize::PageSizeId> paper)
    {
        QString offered;
        driver.then<QPrintDialog>([&](QPrintDialog* d) {
            auto* properties = d->findChild<QPushButton*>(QStringLiteral("properties"));
            if (properties) QTest::mouseClick(properties, Qt::LeftButton);  // waits for them
            d->accept();
        });
        driver.then<QDialog>([&](QDialog* d) {
            auto* sizes = d->findChild<QComboBox*>(QStringLiteral("pageSizeCombo"));
            if (sizes) {
                offered = sizes->currentText();
                if (paper) sizes->setCurrentIndex(paperIndex(*sizes, *paper));
            }
            d->accept();
        });
        const qsizetype before = cups->jobFiles("d").size();
        window.click(QStringLiteral("XPButton23"));
        [&] { QVERIFY2(driver.waitFinished(), qPrintable(driver.seen.join(u'|'))); }();
        [&] { QTRY_VERIFY_WITH_TIMEOUT(cups->jobFiles("d").size() > before, 20000); }();
        return offered;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        cups = std::make_unique<PrintServer>(dir.filePath(QStringLiteral("cups")));
        if (!cups->skipReason.isEmpty()) QSKIP(qPrintable(cups->skipReason));
        QImage img(300, 200, QImage::Format_RGB32);
        img.fill(Qt::darkCyan);
        fixtures::writeFile(dir.filePath(QStringLiteral("beach 1.jpg")),
                            fixtures::makeJpeg(img, {}));
    }
    void cleanupTestCase() { cups.reset(); }

    void paperRememberedAcrossPrintsAndRestarts()
    {
        auto window = startWindow();
        QCOMPARE(window->load(), 0);
        QVERIFY(host.hasPrinter());
        print(*window, QPageSize::A5);
        QCOMPARE(window->settings().DPaperSize, qint16(11));
        const QByteArray first = readAll(cups->jobFiles("d").last());
        QVERIFY(first.startsWith("%PDF"));
        QCOMPARE(mediaBox(first).toSize(), QSize(595, 420));  // A5, turned for the landscape photo
        // The job is named after the photo.
        QTRY_VERIFY(!cups->jobFiles("c").isEmpty());
        QTRY_VERIFY2(readAll(cups->jobFiles("c").last()).contains("beach 1.jpg"),
                     qPrintable(cups->jobFiles("c").join(u' ')));

        // Within the run: Letter once, then Letter is offered again.
        print(*window, QPageSize::Letter);
        QCOMPARE(window->settings().DPaperSize, qint16(1));
        print(*window, std::nullopt);  // offered as the driver names that size
        QCOMPARE(mediaBox(readAll(cups->jobFiles("d").last())).toSize(), QSize(792, 612));
        QCOMPARE(window->settings().DPaperSize, qint16(1));

        // Back to A5, then a restart: A5 is offered and printed, and stays written.
        print(*window, QPageSize::A5);
        window->close();
        window.reset();
        window = startWindow();
        QCOMPARE(window->load(), 0);
        QCOMPARE(print(*window, std::nullopt), QStringLiteral("A5"));
        QCOMPARE(mediaBox(readAll(cups->jobFiles("d").last())).toSize(), QSize(595, 420));
        window->close();
        QSettings stored(ini(), QSettings::IniFormat);
        QCOMPARE(stored.value(QStringLiteral("SetLog/DPaperSize")).toString(),
                 QStringLiteral("11"));
        QVERIFY2(driver.faults.isEmpty(), qPrintable(driver.faults.join(u'|')));
    }
};

QTEST_MAIN(CupsPaperTest)
#include "tst_cupspaper.moc"
