// The stamp's date in a pattern and shifted, refusals of bad ones, and a title's fields filled.
#include "overlay/stamptext.h"

#include <QTest>

using namespace orvello;

class StampTextTest : public QObject {
    Q_OBJECT

private slots:
    void datesAreFormattedAndShifted_data()
    {
        QTest::addColumn<QString>("recorded");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("shift");
        QTest::addColumn<QString>("expected");
        const char* d = "2007-12-10 14:30:00";
        const char* iso = kDefaultDatePattern;
        const char* rows[][5] = {
            {"default", d, iso, "", d},
            {"day first", d, "dd.MM.yyyy", "", "10.12.2007"},
            {"two-digit year", d, "yy MM dd", "", "07 12 10"},
            {"film camera", d, "''yy MM dd", "", "'07 12 10"},
            {"Chinese", d, "yyyy年M月d日", "", "2007年12月10日"},
            {"12-hour", d, "hh:mm AP", "", "02:30 PM"},
            {"plus an hour and a half", d, iso, "+1:30", "2007-12-10 16:00:00"},
            {"minus a day and two hours", d, iso, "-1 2:00", "2007-12-09 12:30:00"},
            {"into a new year", "2007-12-31 23:30:00", iso, " 0:45:30", "2008-01-01 00:15:30"},
            {"back into a leap day", "2008-03-01 00:10:00", iso, "-0:20", "2008-02-29 23:50:00"},
            // What is no date and time is drawn as the camera recorded it.
            {"no clock", "0000-00-00 00:00:00", "dd.MM.yy", "+1:00", "0000-00-00 00:00:00"},
            {"shifted before year 1", "0001-01-01 00:10:00", iso, "-0:20", "0001-01-01 00:10:00"},
        };
        for (const auto& r : rows) QTest::newRow(r[0]) << r[1] << r[2] << r[3] << r[4];
    }

    void datesAreFormattedAndShifted()
    {
        QFETCH(QString, recorded);
        QFETCH(QString, pattern);
        QFETCH(QString, shift);
        QCOMPARE(checkDatePattern(pattern), QString());
        const std::optional<qint64> seconds = parseClockShift(shift);
        QVERIFY(seconds);
        QTEST(stampDateText(recorded, DateFormat{pattern, *seconds}), "expected");
    }

    void badPatternsAndShiftsAreRefused_data()
    {
        QTest::addColumn<bool>("isShift");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reason");  // a part of the message; empty: accepted
        for (const DatePreset& p : datePresets())
            QTest::newRow(qPrintable(p.name)) << false << p.pattern << "";
        const std::tuple<const char*, bool, QString, const char*> rows[] = {
            {"letters of another notation", false, "YYYY-MM-DD", "“YYYY”"},
            {"open quote", false, "yyyy 'at HH", "引号"},
            {"zone", false, "HH:mm t", "时区"},
            {"too long", false, QString(101, u'd'), "过长"},
            {"shift without minutes", true, "+2", "格式不对"},
            {"full-width digits", true, "１:30", "格式不对"},
            {"25 hours", true, "+25:00", "0 到 23"},
        };
        for (const auto& [name, shift, text, reason] : rows)
            QTest::newRow(name) << shift << text << QString(reason);
    }

    void badPatternsAndShiftsAreRefused()
    {
        QFETCH(bool, isShift);
        QFETCH(QString, text);
        QFETCH(QString, reason);
        QString error;
        if (isShift)
            QCOMPARE(parseClockShift(text, &error).has_value(), reason.isEmpty());
        else
            error = checkDatePattern(text);
        QVERIFY2(reason.isEmpty() ? error.isEmpty() : error.contains(reason), qPrintable(error));
    }

    void titleFieldsAreFilled_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("reason");  // of checkTitleFields; empty: accepted
        const char* rows[][4] = {
            {"camera, no lens", "{Make} {Model}{LensModel}", "Bar Camera X1", ""},
            {"exposure values", "{FNumber} {ExposureTime} ISO {ISO} {FocalLength}",
             "f/2.8 1/250 ISO 200 35mm", ""},
            {"braces written", "{{Make}} {FileName}", "{Make} IMG_1.JPG", ""},
            {"dates", "{Date} / {Date:yyyy年}", "2007-12-10 16:00:00 / 2007年", ""},
            {"unknown field", "{Lens}", "{Lens}", "“{Lens}”"},
            {"open brace", "{Make", "{Make", "花括号"},
            {"bad date pattern", "{Date:YYYY}", "{Date:YYYY}", "“YYYY”"},
        };
        for (const auto& r : rows) QTest::newRow(r[0]) << r[1] << r[2] << r[3];
    }

    void titleFieldsAreFilled()
    {
        QFETCH(QString, title);
        QFETCH(QString, reason);
        PhotoFields photo{
            "Bar Camera", "X1",         {},          "IMG_1.JPG", "2007-12-10 14:30:00",
            {{28, 10}},   {{10, 2500}}, {{350, 10}}, 200};
        QTEST(fillTitleFields(title, photo, DateFormat{kDefaultDatePattern, 90 * 60}), "expected");
        const QString error = checkTitleFields(title);
        QVERIFY2(reason.isEmpty() ? error.isEmpty() : error.contains(reason), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(StampTextTest)
#include "tst_stamptext.moc"
