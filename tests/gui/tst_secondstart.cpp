// A second start of the real program while the window is up: its photo is handed to the window,
// which shows it; without a photo it ends silently; strangers on the socket are turned away.
#include "app/photohandover.h"
#include "app/singleinstance.h"
#include "app/startup.h"
#include "tests/gui/testwindow.h"
#include "tools/fixtures/photowriter.h"

#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <memory>

using namespace orvello;

class SecondStartTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    test::ScriptedHost host;
    std::unique_ptr<frmMain> window;
    std::unique_ptr<SingleInstance> instance;
    std::unique_ptr<PhotoHandover> handover;

    QString photo(const char* name) const { return dir.filePath(QLatin1String(name)); }
    // Starts the program itself and waits for it to end; its exit status.
    int startProgram(const QStringList& arguments)
    {
        QProcess second;
        second.setProgram(QStringLiteral(ORVELLO_BIN_DIR "/orvello"));
        second.setArguments(arguments);
        QSignalSpy ended(&second, &QProcess::finished);
        second.start();
        if (!ended.wait(20000)) return -1;
        return second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -2;
    }

private slots:
    void initTestCase()
    {
        QImage img(64, 48, QImage::Format_RGB32);
        img.fill(Qt::darkGreen);
        for (const char* name : {"a.jpg", "b.jpg"})
            fixtures::writeFile(photo(name), fixtures::makeJpeg(img, {}));
        // The window as the first start leaves it: the lock held, the photo it was started with.
        instance = std::make_unique<SingleInstance>();
        QCOMPARE(instance->acquire(), SingleInstance::Outcome::Acquired);
        auto env = test::testEnvironment(host, dir.filePath(QStringLiteral("s.ini")));
        env.initialPhoto = photo("a.jpg");
        window = std::make_unique<frmMain>(std::move(env));
        QCOMPARE(window->load(), 0);
        QCOMPARE(window->document().photoName, QStringLiteral("a.jpg"));
        handover = std::make_unique<PhotoHandover>(
            [this](const QString& path) { window->openHandedPhoto(path); });
        handover->setTimeout(300);
        QVERIFY(handover->listen());
    }

    void withAPhotoTheWindowShowsIt()
    {
        QCOMPARE(startProgram({photo("b.jpg")}), 0);
        QTRY_COMPARE(window->document().photoName, QStringLiteral("b.jpg"));
        QVERIFY(window->photoLoaded());
        QVERIFY(host.messages.isEmpty());
    }

    void withoutOneItEndsSilently()
    {
        QCOMPARE(startProgram({}), 0);
        QTest::qWait(300);
        QCOMPARE(window->document().photoName, QStringLiteral("b.jpg"));
        QVERIFY(host.messages.isEmpty());
        QVERIFY(host.fileDialogs.size() == 0);
    }

    // What a stranger sends is dropped without reaching the window, and a peer that sends
    // nothing is cut off.
    void strangersAreTurnedAway_data()
    {
        QTest::addColumn<QByteArray>("message");
        QByteArray huge(4, '\0');
        qToBigEndian<quint32>(0x7fffffff, huge.data());
        QByteArray relative(4, '\0');
        qToBigEndian<quint32>(5, relative.data());
        QByteArray nul(4, '\0');
        qToBigEndian<quint32>(6, nul.data());
        QTest::newRow("oversized") << huge + QByteArray(100000, 'x');
        QTest::newRow("not a path") << relative + "a.jpg";
        QTest::newRow("hidden NUL") << nul + QByteArray("/a\0jpg", 6);
        QTest::newRow("silent") << QByteArray();
    }
    void strangersAreTurnedAway()
    {
        QFETCH(QByteArray, message);
        QLocalSocket peer;
        peer.connectToServer(PhotoHandover::defaultSocketPath());
        QVERIFY(peer.waitForConnected(5000));
        peer.write(message);
        QSignalSpy gone(&peer, &QLocalSocket::disconnected);
        QVERIFY(gone.wait(5000));
        QCOMPARE(peer.readAll(), QByteArray());
        QCOMPARE(window->document().photoName, QStringLiteral("b.jpg"));
        // The window still takes a real hand-over afterwards.
        QCOMPARE(startProgram({photo("a.jpg")}), 0);
        QTRY_COMPARE(window->document().photoName, QStringLiteral("a.jpg"));
        window->openHandedPhoto(photo("b.jpg"));
        QTRY_COMPARE(window->document().photoName, QStringLiteral("b.jpg"));
    }
};

QTEST_MAIN(SecondStartTest)
#include "tst_secondstart.moc"
