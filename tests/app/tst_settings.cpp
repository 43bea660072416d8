#include "app/settings.h"
#include "tests/support/scriptedhost.h"

#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace orvello;

Q_DECLARE_METATYPE(orvello::SaveAllOptions)

class SettingsTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString ini() const { return dir.filePath(QStringLiteral("Orvello.ini")); }
    void writeRaw(const QByteArray& bytes)
    {
        QFile f(ini());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }

private slots:
    void init() { QFile::remove(ini()); }

    void encodings()
    {
        QCOMPARE(encodeBool(true), QStringLiteral("True"));
        QCOMPARE(encodeBool(false), QStringLiteral("False"));
        QCOMPARE(encodeFloat(60.0f), QStringLiteral("60"));
        QCOMPARE(encodeFloat(2.5f), QStringLiteral("2.5"));
        QCOMPARE(encodeFloat(2.1f), QStringLiteral("2.1"));  // not 2.0999999
        QCOMPARE(encodeFloat(-5.0f), QStringLiteral("-5"));
        QCOMPARE(encodeFloat(1800.0f), QStringLiteral("1800"));
        QCOMPARE(encodeFloat(0.1f + 0.2f), QStringLiteral("0.3"));
        QCOMPARE(encodeFloat(123456789.0f), QStringLiteral("1.234568E+08"));
        QCOMPARE(encodeInt(8454143), QStringLiteral("8454143"));
        QCOMPARE(encodeInt(-32768), QStringLiteral("-32768"));
    }

    void decodings()
    {
        QCOMPARE(decodeBool(QStringLiteral("True")), std::optional<bool>(true));
        QCOMPARE(decodeBool(QStringLiteral("false")), std::optional<bool>(false));
        QCOMPARE(decodeBool(QStringLiteral("0")), std::optional<bool>(false));
        QCOMPARE(decodeBool(QStringLiteral("-1")), std::optional<bool>(true));
        QVERIFY(!decodeBool(QStringLiteral("yes")));
        QVERIFY(!decodeBool(QString()));
        QCOMPARE(decodeFloat(QStringLiteral(" 2.5 ")), std::optional<float>(2.5f));
        QCOMPARE(decodeFloat(QStringLiteral("1.234568E+08")), std::optional<float>(1.234568e8f));
        QVERIFY(!decodeFloat(QStringLiteral("1e39")));  // beyond a 32-bit float
        QVERIFY(!decodeFloat(QStringLiteral("nan")));
        QVERIFY(!decodeFloat(QStringLiteral("2,5")));
        QCOMPARE(decodeInt32(QStringLiteral("2.5")), std::optional<qint32>(2));  // halves to even
        QCOMPARE(decodeInt32(QStringLiteral("3.5")), std::optional<qint32>(4));
        QVERIFY(!decodeInt32(QStringLiteral("2147483648")));
        QCOMPARE(decodeInt16(QStringLiteral("-32768")), std::optional<qint16>(-32768));
        QVERIFY(!decodeInt16(QStringLiteral("32768")));
        QVERIFY(!decodeInt16(QStringLiteral("abc")));
        // The stamp's group: a pattern needs a field (a weekday alone is one), a shift its form.
        for (const char* pattern : {"dd.MM.yyyy", "yyyy年M月d日", "''yy MM dd", "h:mm AP", "ddd"})
            QVERIFY2(decodeDatePattern(QString::fromUtf8(pattern)), pattern);
        for (const char* pattern : {"", "'yy MM dd", "年月日", "'dd'"})
            QVERIFY2(!decodeDatePattern(QString::fromUtf8(pattern)), pattern);
        for (const char* shift : {"", "+1:30", "-1 2:00", " 10:00:05 "})
            QVERIFY2(decodeDateShift(QString::fromLatin1(shift)), shift);
        for (const char* shift : {"1:60", "+1", "1 2", "++1:00", "1:30:", "1h"})
            QVERIFY2(!decodeDateShift(QString::fromLatin1(shift)), shift);
        QCOMPARE(decodeStampStyle(QStringLiteral(" Outline")), StampStyle::Outline);
        QVERIFY(!decodeStampStyle(QStringLiteral("bold")));
        QCOMPARE(decodeDateFallback(QStringLiteral("file")), DateFallback::File);
    }

    void defaultPositionRoundsThenTruncates()
    {
        QCOMPARE(defaultWindowPosition(1920 * 15, 12000), 8400);
        QCOMPARE(defaultWindowPosition(12015, 12000), 7);       // 15 \ 2
        QCOMPARE(defaultWindowPosition(12000.5, 12000), 0);     // 0.5 → 0 (even)
        QCOMPARE(defaultWindowPosition(12003.5, 12000), 2);     // 3.5 → 4, then 4 \ 2
        QCOMPARE(defaultWindowPosition(11700.5, 12000), -150);  // -299.5 → -300, then -300 \ 2
        QCOMPARE(defaultWindowPosition(11999, 12000), 0);       // -1 \ 2 truncates to 0
    }

    void firstRunKeepsDefaults()
    {
        AppSettings s;
        s.frmMainX = 123;
        QList<QByteArray> switches;
        SettingsStore(ini()).readAll(s, [&](const char* key, bool) { switches << key; });
        const AppSettings d;
        QCOMPARE(s.frmMainX, 123);
        QCOMPARE(s.addDTB, true);
        QCOMPARE(s.addTXB, false);
        QCOMPARE(s.addFont, QStringLiteral("DigifaceWide"));
        QCOMPARE(s.addFont2, QStringLiteral("宋体"));
        QCOMPARE(s.addFontSize, 2.0f);
        QCOMPARE(s.addForeColor, 8454143);
        QCOMPARE(s.addCurrentX, 60.0f);
        QCOMPARE(s.addCurrentY, 91.0f);
        QCOMPARE(s.addCurrentX2, 5.0f);
        QCOMPARE(s.addCurrentY2, 8.0f);
        QCOMPARE(s.DPaperSize, qint16(0));
        QCOMPARE(switches, (QList<QByteArray>{"addDTB", "addTXB"}));
    }

    void writeThenReadRoundTrips()
    {
        AppSettings s;
        s.addDTB = false;
        s.addTXB = true;
        s.addFont = QStringLiteral("AR PL UMing CN");
        s.addFontSize = 3.1f;
        s.addFontBold = true;
        s.addForeColor = 255;
        s.addCurrentX = -5.5f;
        s.addFont2 = QStringLiteral("标题 字体");
        s.DPaperSize = 9;
        s.dateFormat = QStringLiteral("dd.MM.yyyy");
        s.dateShift = QStringLiteral("-1 2:00");
        s.dateFallback = DateFallback::File;
        s.titleStyle = StampStyle::Plate;
        SettingsStore(ini()).writeAll(s, 1800.0f, -300.0f);

        QSettings raw(ini(), QSettings::IniFormat);
        raw.beginGroup(QStringLiteral("SetLog"));
        QCOMPARE(raw.childKeys().size(), 15);
        QCOMPARE(raw.value(QStringLiteral("frmMainX")).toString(), QStringLiteral("1800"));
        QCOMPARE(raw.value(QStringLiteral("frmMainY")).toString(), QStringLiteral("-300"));
        QCOMPARE(raw.value(QStringLiteral("addDTB")).toString(), QStringLiteral("False"));
        QCOMPARE(raw.value(QStringLiteral("addFontSize")).toString(), QStringLiteral("3.1"));
        QCOMPARE(raw.value(QStringLiteral("addForeColor")).toString(), QStringLiteral("255"));
        QCOMPARE(raw.value(QStringLiteral("addCurrentY")).toString(), QStringLiteral("91"));
        raw.endGroup();
        QCOMPARE(raw.value(QStringLiteral("Stamp/DateFallback")).toString(),
                 QStringLiteral("file"));
        QCOMPARE(raw.value(QStringLiteral("Stamp/TitleStyle")).toString(), QStringLiteral("plate"));

        AppSettings back;
        SettingsStore(ini()).readAll(back);
        QCOMPARE(back.frmMainX, 1800);
        QCOMPARE(back.frmMainY, -300);
        QCOMPARE(back.addDTB, false);
        QCOMPARE(back.addTXB, true);
        QCOMPARE(back.addFont, s.addFont);
        QCOMPARE(back.addFont2, s.addFont2);
        QCOMPARE(back.addFontSize, 3.1f);
        QCOMPARE(back.addFontBold, true);
        QCOMPARE(back.addForeColor, 255);
        QCOMPARE(back.addCurrentX, -5.5f);
        QCOMPARE(back.DPaperSize, qint16(9));
        QCOMPARE(back.dateFormat, s.dateFormat);
        QCOMPARE(back.dateShift, s.dateShift);
        QCOMPARE(back.dateFallback, DateFallback::File);
        QCOMPARE(back.dateStyle, StampStyle::Plain);
        QCOMPARE(back.titleStyle, StampStyle::Plate);
    }

    void defaultColourIsWrittenAsDigits()
    {
        SettingsStore(ini()).writeAll(AppSettings(), 0, 0);
        QFile f(ini());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().contains("addForeColor=8454143"));
    }

    void malformedValuesFallBackKeyByKey()
    {
        writeRaw(
            "[SetLog]\naddFontSize=big\naddCurrentX=12.5\naddDTB=maybe\naddTXB=1\n"
            "addForeColor=1,2\nDPaperSize=99999\nfrmMainX=-20\naddCurrentY=\naddFont=" +
            QByteArray(kMaxSettingText + 1, 'x') + '\n');
        AppSettings s;
        SettingsStore(ini()).readAll(s);
        QCOMPARE(s.addFontSize, 2.0f);
        QCOMPARE(s.addCurrentX, 12.5f);
        QCOMPARE(s.addDTB, true);
        QCOMPARE(s.addTXB, true);
        QCOMPARE(s.addForeColor, kDefaultForeColor);
        QCOMPARE(s.DPaperSize, qint16(0));
        QCOMPARE(s.frmMainX, -20);  // no range check on read
        QCOMPARE(s.addCurrentY, 91.0f);
        QCOMPARE(s.addFont, QStringLiteral("DigifaceWide"));
    }

    // The keys beside the fifteen: a value that does not convert, or a quality out of range,
    // keeps the default; the window's own write leaves them as they are.
    void extraKeys_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("autoOrient");
        QTest::addColumn<SaveAllOptions>("saveAll");
        // A new user stamps losslessly; one who chose otherwise keeps that choice.
        QTest::newRow("none") << QByteArray() << true << SaveAllOptions{false, 100, true};
        QTest::newRow("lossless turned off")
            << QByteArray("[SaveAll]\nLossless=0\n") << true << SaveAllOptions{false, 100, false};
        QTest::newRow("set") << QByteArray(
                                    "[SetLog]\nAutoOrient=0\n[SaveAll]\nKeepExif=True\n"
                                    "Quality=55\nLossless=1\n")
                             << false << SaveAllOptions{true, 55, true};
        QTest::newRow("malformed")
            << QByteArray("[SetLog]\nAutoOrient=perhaps\n[SaveAll]\nKeepExif=x\nQuality=0\n")
            << true << SaveAllOptions{};
        QTest::newRow("quality too high")
            << QByteArray("[SaveAll]\nQuality=101\n") << true << SaveAllOptions{};
    }
    void extraKeys()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, autoOrient);
        QFETCH(SaveAllOptions, saveAll);
        writeRaw(file);
        const SettingsStore store(ini());
        store.writeAll(AppSettings(), 0, 0);
        QCOMPARE(store.readAutoOrient(), autoOrient);
        QCOMPARE(store.readSaveAllOptions(), saveAll);
    }

    void garbageFileIsReadAsDefaultsAndRewrittenReadable()
    {
        QByteArray junk;
        for (int i = 0; i < 4096; ++i) junk.append(char((i * 7919) & 0xFF));
        writeRaw("[SetLog\n\x01\x02=\xff\xfe\n" + junk);
        AppSettings s;
        SettingsStore(ini()).readAll(s);
        QCOMPARE(s.addFont, QStringLiteral("DigifaceWide"));
        QCOMPARE(s.addCurrentX, 60.0f);
        s.addCurrentX = 42;
        SettingsStore(ini()).writeAll(s, 0, 0);
        QSettings raw(ini(), QSettings::IniFormat);
        QCOMPARE(raw.status(), QSettings::NoError);
        AppSettings back;
        SettingsStore(ini()).readAll(back);
        QCOMPARE(back.addCurrentX, 42.0f);
        QCOMPARE(back.addFont, QStringLiteral("DigifaceWide"));
    }

    void writingKeepsWhatIsNotOurs()
    {
        // A malformed line elsewhere does not cost the rest of the file.
        writeRaw(
            "\xEF\xBB\xBF[Other]\ncolour=blue\n[Broken\n\n[SetLog]\naddFont=Mono\nlegacyKey=1\n");
        AppSettings s;
        SettingsStore(ini()).readAll(s);
        QCOMPARE(s.addFont, QStringLiteral("Mono"));
        s.addCurrentX = 33;
        SettingsStore(ini()).writeAll(s, 0, 0);
        QSettings raw(ini(), QSettings::IniFormat);
        QCOMPARE(raw.value(QStringLiteral("Other/colour")).toString(), QStringLiteral("blue"));
        QCOMPARE(raw.value(QStringLiteral("SetLog/legacyKey")).toString(), QStringLiteral("1"));
        QCOMPARE(raw.value(QStringLiteral("SetLog/addCurrentX")).toString(), QStringLiteral("33"));
        QCOMPARE(raw.value(QStringLiteral("SetLog/addFont")).toString(), QStringLiteral("Mono"));
    }

    // A file the process may not read is neither read nor written nor removed. Run as root, a
    // mode-000 file is readable all the same, so the refusal is checked through the store's
    // readability check; the file mode itself is tried too where it takes effect.
    void unreadableFileIsLeftAlone_data()
    {
        QTest::addColumn<bool>("byMode");
        QTest::newRow("refused by the check") << false;
        QTest::newRow("mode 000") << true;
    }
    void unreadableFileIsLeftAlone()
    {
        QFETCH(bool, byMode);
        const QByteArray stored = "[Other]\nkeep=1\n[SetLog]\naddCurrentX=12.5\n";
        writeRaw(stored);
        SettingsStore store(ini());
        if (byMode) {
            QVERIFY(QFile::setPermissions(ini(), QFileDevice::Permissions()));
            QFile probe(ini());
            if (probe.open(QIODevice::ReadOnly))
                QSKIP("this process reads a mode-000 file (root); the check row covers it");
        } else {
            store.setReadableCheck([](const QString&) { return false; });
        }
        AppSettings s;
        store.readAll(s);
        QCOMPARE(s.addCurrentX, 60.0f);  // defaults: nothing was read
        QVERIFY(!store.mayWrite());
        store.writeAll(s, 0, 0);
        QVERIFY(QFile::setPermissions(ini(), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QFile f(ini());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), stored);
    }

    void pipeIsNeverOpened()
    {
        QVERIFY(::mkfifo(QFile::encodeName(ini()).constData(), 0600) == 0);
        // Opening the pipe would block for ever: let the alarm end the test instead.
        ::alarm(30);
        SettingsStore store(ini());
        AppSettings s;
        s.addCurrentX = 1;
        store.readAll(s);
        store.writeAll(s, 0, 0);
        ::alarm(0);
        QCOMPARE(s.addCurrentX, 1.0f);
        struct stat st {};
        QVERIFY(::stat(QFile::encodeName(ini()).constData(), &st) == 0);
        QVERIFY(S_ISFIFO(st.st_mode));  // still the pipe, not replaced by a file
        QFile::remove(ini());
    }

    void unwritableStoreReportsNothing()
    {
        SettingsStore(QStringLiteral("/proc/orvello-nowhere/Orvello.ini"))
            .writeAll(AppSettings(), 0, 0);
    }

    void restoreDefaultsAnsweredYesAndNo()
    {
        AppSettings s;
        s.addDTB = false;
        s.addTXB = true;
        s.DPaperSize = 9;
        s.frmMainX = 77;
        s.addFont = QStringLiteral("X");
        s.addFontSize = 9.0f;
        s.addFontBold = s.addFontItalic = true;
        s.addForeColor = 1;
        s.addCurrentX = s.addCurrentY = s.addCurrentX2 = s.addCurrentY2 = 1.0f;
        s.addFont2 = QStringLiteral("Y");
        const AppSettings changed = s;

        test::ScriptedHost host;
        host.messageAnswers << MsgAnswer::No;
        QVERIFY(!restoreDefaultsCommand(s, host));
        QCOMPARE(s.addFont, changed.addFont);
        QCOMPARE(s.addFontSize, changed.addFontSize);
        QCOMPARE(host.messages.size(), 1);
        const MessageRequest& q = host.messages.first();
        QCOMPARE(q.text, QStringLiteral("你确定要恢复默认设置吗？"));
        QCOMPARE(q.title, QStringLiteral("Orvello"));
        QCOMPARE(q.icon, MsgIcon::Question);
        QCOMPARE(q.buttons, MsgButtons::YesNo);
        QCOMPARE(q.defaultButton, MsgAnswer::No);

        host.messageAnswers << MsgAnswer::Yes;
        QVERIFY(restoreDefaultsCommand(s, host));
        const AppSettings d;
        QCOMPARE(s.addFont, d.addFont);
        QCOMPARE(s.addFontSize, d.addFontSize);
        QCOMPARE(s.addFontBold, false);
        QCOMPARE(s.addFontItalic, false);
        QCOMPARE(s.addForeColor, d.addForeColor);
        QCOMPARE(s.addCurrentX, d.addCurrentX);
        QCOMPARE(s.addCurrentY, d.addCurrentY);
        QCOMPARE(s.addFont2, d.addFont2);
        QCOMPARE(s.addCurrentX2, d.addCurrentX2);
        QCOMPARE(s.addCurrentY2, d.addCurrentY2);
        // Switches, paper and position stay.
        QCOMPARE(s.addDTB, false);
        QCOMPARE(s.addTXB, true);
        QCOMPARE(s.DPaperSize, qint16(9));
        QCOMPARE(s.frmMainX, 77);
    }
};

QTEST_GUILESS_MAIN(SettingsTest)
#include "tst_settings.moc"
