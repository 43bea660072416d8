// The capture date from the listing text, the EXIF step that joins heading, listing and date, and
// the date found wherever a photo keeps it.
#include "photo/capturedate.h"
#include "photo/datesources.h"
#include "photo/exifstep.h"
#include "photo/titlefields.h"
#include "tests/support/scriptedhost.h"
#include "tools/fixtures/heifwriter.h"
#include "tools/fixtures/photowriter.h"

#include <QTemporaryDir>
#include <QTest>

using namespace orvello;

class TestCaptureDate : public QObject {
    Q_OBJECT

private slots:
    void dateFromListing_data();
    void dateFromListing();
    void plainNumbers_data();
    void plainNumbers();
    void stepOnAPhotoWithADate();
    void stepOnAPhotoWithoutTheItem();
    void stepOnAFileThatIsNoPhoto();
    void titleFieldsFromThePhotosItems();
    void dateFromWhereverThePhotoKeepsIt_data();
    void dateFromWhereverThePhotoKeepsIt();
};

namespace {

// An XMP packet of the attributes given, in the form photo managers write.
QByteArray xmpPacket(const QString& attributes)
{
    return QStringLiteral(
               "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF "
               "xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'><rdf:Description "
               "xmlns:exif='http://ns.adobe.com/exif/1.0/' "
               "xmlns:photoshop='http://ns.adobe.com/photoshop/1.0/' %1/></rdf:RDF>"
               "</x:xmpmeta>")
        .arg(attributes)
        .toUtf8();
}

// A JPEG with the EXIF dates given (empty: none) and an XMP packet of the attributes.
QByteArray datedJpeg(const QString& original, const QString& digitized, const QString& xmp)
{
    fixtures::ExifContent exif;
    if (!original.isEmpty()) exif.dateTimeOriginal = original;
    if (!digitized.isEmpty())
        exif.extra << fixtures::ExifEntry::ascii(fixtures::Dir::Exif, 0x9004, digitized);
    const QByteArray packet = QByteArray("http://ns.adobe.com/xap/1.0/\0", 29) + xmpPacket(xmp);
    return fixtures::insertAfterSoi(fixtures::makeJpeg(fixtures::quadrantImage(16, 16), exif),
                                    {fixtures::jpegSegment(0xE1, packet)});
}

}  // namespace

void TestCaptureDate::dateFromListing_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("date");
    const QString h = "当前文件EXIF信息：";
    QTest::newRow("between other items")
        << h + "\r\nImageMake X\r\nExifDTOrig 2007:12:10 14:30:00\r\nExifDTDigitized 2008:01:01 "
               "00:00:00"
        << "2007-12-10 14:30:00";
    QTest::newRow("last item, no line break after it")
        << h + "\r\nImageMake X\r\nExifDTOrig 2007:12:10 14:30:00"
        << "2007-12-10 14:30:00";
    QTest::newRow("all zeros pass") << h + "\r\nExifDTOrig 0000:00:00 00:00:00"
                                    << "0000-00-00 00:00:00";
    QTest::newRow("no time part") << h + "\r\nExifDTOrig 2007:12:10"
                                  << "";
    QTest::newRow("only blanks and colons") << h + "\r\nExifDTOrig     :  :     :  :  "
                                            << "";
    QTest::newRow("empty value") << h + "\r\nExifDTOrig "
                                 << "";
    QTest::newRow("no such item") << h + "\r\nImageMake X\r\nExifDTDigitized 2008:01:01 00:00:00"
                                  << "";
    QTest::newRow("heading only") << h << "";
    QTest::newRow("case matters") << h + "\r\nexifdtorig 2007:12:10 14:30:00"
                                  << "";
    QTest::newRow("longer name first, failing validation")
        << h + "\r\nExifDTOrigX 2001:01:01 01:01:01\r\nExifDTOrig 2007:12:10 14:30:00"
        << "";
    QTest::newRow("longer name first, passing validation")
        << h + "\r\nExifDTOrig2 2001:01:01 01:01:01\r\nExifDTOrig 2007:12:10 14:30:00"
        << "2 2001:01:01 01:01:01";
    QTest::newRow("outer blanks trimmed, inner kept")
        << h + "\r\nExifDTOrig   2007:12:10  14:30:00   \r\nA 1"
        << "2007-12-10  14:30:00";
    QTest::newRow("a letter in the value") << h + "\r\nExifDTOrig 2007:12:1O 14:30:00"
                                           << "";
    QTest::newRow("a tab is no blank") << h + "\r\nExifDTOrig 2007:12:10\t14:30:00"
                                       << "";
}

void TestCaptureDate::dateFromListing()
{
    QFETCH(QString, text);
    QFETCH(QString, date);
    QCOMPARE(captureDateFromListing(text), date);
}

void TestCaptureDate::plainNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("number");
    for (const char* yes : {"0", "20071210143000", "+1", "-1", "1.5", ".5", "5."})
        QTest::newRow(yes) << QString(yes) << true;
    for (const char* no : {"", "+", "-", ".", "1.2.3", "1e5", "0x10", "1,000", "1-2", " 1"})
        QTest::newRow(qPrintable(QString("not: [%1]").arg(no))) << QString(no) << false;
    QTest::newRow("not: other scripts' digits") << QString("٢٠٠٧") << false;
}

void TestCaptureDate::plainNumbers()
{
    QFETCH(QString, text);
    QFETCH(bool, number);
    QCOMPARE(isPlainNumber(text), number);
}

void TestCaptureDate::stepOnAPhotoWithADate()
{
    fixtures::ExifContent s;
    s.make = "Maker";
    s.dateTimeOriginal = "2007:12:10 14:30:00";
    s.extra << fixtures::ExifEntry::ascii(fixtures::Dir::Exif, 0x9291, "50");
    QTemporaryDir dir;
    const QString path = dir.filePath("photo.jpg");
    QVERIFY(fixtures::writeFile(path, fixtures::makeJpeg(fixtures::quadrantImage(8, 8), s)));

    test::ScriptedHost host;
    const ExifInfo info = runExifStep(host, path);
    QCOMPARE(info.text, QString("当前文件EXIF信息：\r\nImageMake Maker\r\nImageExifPointer 44"
                                "\r\nExifDTOrig 2007:12:10 14:30:00\r\nExifSubSecTimeOrig 50"));
    QCOMPARE(info.captureDateText, QString("2007-12-10 14:30:00"));
    QVERIFY(info.image);
    QVERIFY(!info.errorDescription);
    QVERIFY(host.messages.isEmpty());
}

void TestCaptureDate::stepOnAPhotoWithoutTheItem()
{
    fixtures::ExifContent s;
    s.make = "Maker";
    test::ScriptedHost host;
    const ExifInfo info =
        runExifStepOnData(host, fixtures::makeJpeg(fixtures::quadrantImage(8, 8), s));
    QCOMPARE(info.text, QString("当前文件EXIF信息：\r\nImageMake Maker"));
    QCOMPARE(info.captureDateText, QString());
    QVERIFY(host.messages.isEmpty());
}

void TestCaptureDate::stepOnAFileThatIsNoPhoto()
{
    test::ScriptedHost host;
    const ExifInfo info = runExifStepOnData(host, "plain text");
    QCOMPARE(info.text, exifHeading());
    QCOMPARE(info.captureDateText, QString());
    QVERIFY(!info.image);
    QCOMPARE(host.messages.size(), 1);
    QCOMPARE(host.messages[0].text,
             QString("An error occurred trying to show the information for this file: "
                     "The file is not a JPEG, TIFF or HEIF image."));
}

void TestCaptureDate::titleFieldsFromThePhotosItems()
{
    using fixtures::Dir, fixtures::ExifEntry;
    fixtures::ExifContent s;
    s.make = "Bar Camera ";
    s.dateTimeOriginal = "2007:12:10 14:30:00";
    s.extra << ExifEntry::rationals(Dir::Exif, 0x829D, {{28, 10}})
            << ExifEntry::rationals(Dir::Exif, 0x829A, {{1, 250}})
            << ExifEntry::shorts(Dir::Exif, 0x8827, {400});
    const ExifInfo info =
        readExifInfoFromData(fixtures::makeJpeg(fixtures::quadrantImage(8, 8), s));
    QCOMPARE(fillTitleFields("{Make}|{FNumber} {ExposureTime} {ISO}|{FocalLength}|{Date:d.M}",
                             photoFields(info.image.get(), "a.jpg", info.captureDateText), {}),
             QString("Bar Camera|f/2.8 1/250 400||10.12"));
}

void TestCaptureDate::dateFromWhereverThePhotoKeepsIt_data()
{
    QTest::addColumn<QByteArray>("photo");
    QTest::addColumn<bool>("useFileTime");
    QTest::addColumn<QString>("found");  // the date and the label of its source
    const QString original = "exif:DateTimeOriginal='2015-06-07T08:09:10.5+02:00'";
    const QString fromXmp = "2015-06-07 08:09:10 日期来源：XMP";
    QTest::newRow("EXIF first, the file time asked for but not needed")
        << datedJpeg("2007:12:10 14:30:00", "2008:01:01 00:00:00", original) << true
        << "2007-12-10 14:30:00 日期来源：EXIF";
    QTest::newRow("an unset camera clock passes to XMP, its UTC offset set aside")
        << datedJpeg("0000:00:00 00:00:00", {}, original) << false << fromXmp;
    QTest::newRow("XMP's created day, without a time")
        << datedJpeg("    :  :     :  :  ", "2008:01:01 00:00:00",
                     "photoshop:DateCreated='2012-03-04'")
        << false << "2012-03-04 00:00:00 日期来源：XMP创建日期";
    QTest::newRow("a month 13 passes to the digitised time")
        << datedJpeg("2007:13:10 14:30:00", "2008:01:02 03:04:05", {}) << false
        << "2008-01-02 03:04:05 日期来源：EXIF数字化时间";
    QTest::newRow("no date, no file time asked for") << datedJpeg({}, {}, {}) << false << "";
    QTest::newRow("no date: the file's time")
        << datedJpeg({}, {}, "photoshop:DateCreated='2012'") << true
        << "2020-01-02 03:04:05 日期来源：文件修改时间";
    fixtures::ExifContent tiff;
    tiff.extra << fixtures::ExifEntry::bytes(fixtures::Dir::Image, 0x02BC, xmpPacket(original), 1);
    QTest::newRow("a TIFF's XMP item")
        << fixtures::makeTiff(fixtures::quadrantImage(8, 8), tiff) << false << fromXmp;
    fixtures::HeicVariant heic;
    heic.xmp = xmpPacket(original);
    QTest::newRow("a HEIC's XMP item")
        << fixtures::makeHeic(fixtures::quadrantImage(16, 16), {}, heic) << false << fromXmp;
}

void TestCaptureDate::dateFromWhereverThePhotoKeepsIt()
{
    QFETCH(QByteArray, photo);
    QFETCH(bool, useFileTime);
    QTemporaryDir dir;
    QFile file(dir.filePath("photo"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(photo) > 0 && file.flush());
    QVERIFY(file.setFileTime(QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5)),
                             QFileDevice::FileModificationTime));
    const std::optional<RecordedDate> date =
        findRecordedDate(readDateEvidence(photo, QFile::encodeName(file.fileName())), useFileTime);
    QTEST(date ? date->text() + ' ' + dateSourceLabel(date->source) : QString(), "found");
}

QTEST_GUILESS_MAIN(TestCaptureDate)
#include "tst_capturedate.moc"
