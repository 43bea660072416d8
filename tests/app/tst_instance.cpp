// Whole-process checks of the program file: one instance, and a killed process writes nothing.
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class InstanceTest : public QObject {
    Q_OBJECT

    QTemporaryDir home;
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("run")));
        return env;
    }
    QString settingsFile() const
    {
        return home.filePath(QStringLiteral("config/Orvello/Orvello.ini"));
    }
    QString lockFile() const { return home.filePath(QStringLiteral("run/orvello.lock")); }

private slots:
    void initTestCase()
    {
        QDir(home.path()).mkpath(QStringLiteral("config"));
        QDir(home.path()).mkpath(QStringLiteral("run"));
        QFile::setPermissions(home.filePath(QStringLiteral("run")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void secondStartsAndKilledFirstWritesNothing()
    {
        const QString program = QStringLiteral(ORVELLO_BIN_DIR "/orvello");
        const QString socketPath = home.filePath(QStringLiteral("run/orvello.socket"));
        QVERIFY(QFile(socketPath).open(QIODevice::WriteOnly));
        QProcess first;
        first.setProcessEnvironment(environment());
        first.start(program);
        QVERIFY(first.waitForStarted());
        // The first instance sits at its open dialog; its lock shows it is up.
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(lockFile()), 20000);

        QProcess second;
        second.setProcessEnvironment(environment());
        second.start(program);
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(second.readAllStandardOutput().isEmpty());
        QVERIFY(!QFileInfo::exists(settingsFile()));
        QCOMPARE(first.state(), QProcess::Running);

        // The first cannot take photos, the socket's path being taken (which stays so): a photo
        // handed over is shown in a window of its own, which ends at its first frame here.
        QProcess third;
        QProcessEnvironment env = environment();
        env.insert(QStringLiteral("ORVELLO_EXIT_AT_FIRST_PAINT"), QStringLiteral("window"));
        third.setProcessEnvironment(env);
        third.start(program, {QStringLiteral(ORVELLO_SOURCE_DIR "/samples/landscape.jpg")});
        QVERIFY(third.waitForFinished(20000));
        QCOMPARE(third.exitStatus(), QProcess::NormalExit);
        QCOMPARE(third.exitCode(), 0);
        QVERIFY(QString::fromLocal8Bit(third.readAllStandardError()).contains(u"新的窗口"));
        QVERIFY(QFileInfo(socketPath).isFile());
        QVERIFY(!QFileInfo::exists(settingsFile()));

        first.kill();
        QVERIFY(first.waitForFinished(20000));
        QVERIFY(!QFileInfo::exists(settingsFile()));
    }

    void terminationRequestWritesTheSettings()
    {
        QProcess app;
        app.setProcessEnvironment(environment());
        app.start(QStringLiteral(ORVELLO_BIN_DIR "/orvello"));
        QVERIFY(app.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(lockFile()), 20000);
        QTest::qWait(500);
        app.terminate();  // SIGTERM, as when the session ends
        QVERIFY(app.waitForFinished(20000));
        QVERIFY(QFileInfo::exists(settingsFile()));
    }
};

QTEST_GUILESS_MAIN(InstanceTest)
#include "tst_instance.moc"
