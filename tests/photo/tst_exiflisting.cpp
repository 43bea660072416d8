// The EXIF information listing: value texts by type, line format, failures part-way.
#include "components/imageerror.h"
#include "photo/capturedate.h"
#include "photo/exiflisting.h"
#include "tests/support/scriptedhost.h"
#include "tools/fixtures/photowriter.h"

#include <QTemporaryDir>
#include <QTest>
#include <climits>

using namespace orvello;
using fixtures::Dir;
using fixtures::ExifContent;
using fixtures::ExifEntry;

namespace {

QByteArray le16(std::initializer_list<quint16> values)
{
    QByteArray b;
    for (quint16 v : values) b.append(char(v & 0xFF)).append(char(v >> 8));
    return b;
}

QByteArray le32(std::initializer_list<qint64> values)
{
    QByteArray b;
    for (qint64 v : values) {
        const quint32 u = quint32(v);
        for (int i = 0; i < 4; ++i) b.append(char((u >> (8 * i)) & 0xFF));
    }
    return b;
}

// An image whose items are given, and whose item at failAt raises an error.
class ScriptedImage : public ImageFile {
public:
    QList<PropertyItem> items;
    int failAt = 0;
    int PropertyCount() const override { return int(items.size()); }
    PropertyItem Item(int index) const override
    {
        if (index == failAt) throw ImageError("The item cannot be read.");
        return items.at(index - 1);
    }
};

PropertyItem shortItem(const QString& name, quint16 v)
{
    return PropertyItem(0x0112, 3, name, 1, le16({v}));
}

std::unique_ptr<ImageFile> scripted(QList<PropertyItem> items, int failAt = 0)
{
    auto image = std::make_unique<ScriptedImage>();
    image->items = std::move(items);
    image->failAt = failAt;
    return image;
}

const auto noLoad = [](ImageFile&) {};

}  // namespace

Q_DECLARE_METATYPE(orvello::PropertyItem)

class TestExifListing : public QObject {
    Q_OBJECT

private slots:
    void valueTextByType_data();
    void valueTextByType();
    void linesArePrecededByCrLf();
    void photoWithoutMetadataGivesTheHeadingOnly();
    void unreadableFileKeepsTheHeadingAndDropsTheImage();
    void errorAtTheFifthItemKeepsFourLines();
    void valueErrorDoesNotLeaveHalfALine();
    void dateListedBeforeAFailureIsStillFound();
    void failureIsShownAsInformation();
    void listingStopsGrowingButKeepsTheDate();
};

void TestExifListing::valueTextByType_data()
{
    QTest::addColumn<PropertyItem>("item");
    QTest::addColumn<QString>("text");
    QTest::newRow("ASCII") << PropertyItem(0x010F, 2, "ImageMake", 6, QByteArray("Canon\0", 6))
                           << "Canon";
    QTest::newRow("SHORT values joined")
        << PropertyItem(0x0102, 3, "B", 3, le16({8, 8, 65535})) << "8, 8, 65535";
    QTest::newRow("LONG") << PropertyItem(0xA002, 4, "W", 2, le32({640, 4294967295LL}))
                          << "640, 4294967295";
    QTest::newRow("RATIONAL 72/1") << PropertyItem(0x011A, 5, "X", 1, le32({72, 1})) << "72/1";
    QTest::newRow("RATIONAL 1/0 and 0/0")
        << PropertyItem(0x011A, 5, "X", 2, le32({1, 0, 0, 0})) << "1/0, 0/0";
    QTest::newRow("SRATIONAL negative and INT_MIN/-1")
        << PropertyItem(0x9204, 10, "E", 2, le32({-1, 3, INT_MIN, -1})) << "-1/3, -2147483648/-1";
    QTest::newRow("UNDEFINED version 0220")
        << PropertyItem(0x9000, 7, "V", 4, "0220") << "30 32 32 30";
    QTest::newRow("UNDEFINED 0, 10, 255")
        << PropertyItem(0x9000, 7, "V", 3, QByteArray("\x00\x0A\xFF", 3)) << "00 0A FF";
    QTest::newRow("UNDEFINED without bytes") << PropertyItem(0x9000, 7, "V", 0, {}) << "";
    QTest::newRow("SHORT without values") << PropertyItem(0x0112, 3, "O", 0, {}) << "";
    QTest::newRow("BYTE: type and size")
        << PropertyItem(0x0000, 1, "G", 4, QByteArray("\2\2\0\0", 4)) << "1 4";
    QTest::newRow("SLONG: type and size") << PropertyItem(0x0000, 9, "S", 1, le32({-5})) << "9 4";
    QTest::newRow("DOUBLE: type and size")
        << PropertyItem(0x0000, 12, "D", 1, QByteArray(8, '\0')) << "12 8";
    QTest::newRow("unknown type code") << PropertyItem(0x0000, 99, "U", 3, "abc") << "99 3";
    // Long values show their first 256 bytes and their whole size.
    const QByteArray letters = QByteArray("ABCDEFGHIJKLMNOP").repeated(32);  // 512 bytes
    QTest::newRow("UNDEFINED of 512 bytes")
        << PropertyItem(0x9000, 7, "V", 512, letters)
        << QString::fromLatin1(letters.left(256).toHex(' ').toUpper()) + " … (512 bytes)";
    QTest::newRow("ASCII of 512 bytes")
        << PropertyItem(0x010E, 2, "D", 512, letters)
        << QString::fromLatin1(letters.left(256)) + " … (512 bytes)";
    QTest::newRow("200 SHORT values: the first 128")
        << PropertyItem(0x0111, 3, "S", 200, QByteArray(400, '\1'))
        << QStringList(128, "257").join(", ") + " … (400 bytes)";
    // Shortened by the reader: the count still tells the size.
    QTest::newRow("LONG values cut by the reader")
        << PropertyItem(0x0111, 4, "L", 100000, QByteArray(256, '\0'))
        << QStringList(64, "0").join(", ") + " … (400000 bytes)";
}

void TestExifListing::valueTextByType()
{
    QFETCH(PropertyItem, item);
    QFETCH(QString, text);
    QCOMPARE(itemValueText(item), text);
}

void TestExifListing::linesArePrecededByCrLf()
{
    ExifListing l =
        listExif("H", scripted({shortItem("A", 1), PropertyItem(0x9000, 7, "B", 0, {})}), noLoad);
    QCOMPARE(l.text, QString("H\r\nA 1\r\nB "));
    QVERIFY(l.image);
    QVERIFY(!l.errorDescription);
}

void TestExifListing::photoWithoutMetadataGivesTheHeadingOnly()
{
    const ExifListing l =
        listExifData("Heading", fixtures::makeJpeg(fixtures::quadrantImage(8, 8), {}));
    QCOMPARE(l.text, QString("Heading"));
    QVERIFY(!l.errorDescription);
    QVERIFY(l.image);
    QCOMPARE(l.image->PropertyCount(), 0);
}

void TestExifListing::unreadableFileKeepsTheHeadingAndDropsTheImage()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("notes.jpg");
    QVERIFY(fixtures::writeFile(path, "not a photo"));
    const ExifListing l = listExifFile("Heading", path);
    QCOMPARE(l.text, QString("Heading"));
    QVERIFY(!l.image);
    QCOMPARE(l.errorDescription, QString("The file is not a JPEG, TIFF or HEIF image."));

    const ExifListing missing = listExifFile("Heading", dir.filePath("gone.jpg"));
    QCOMPARE(missing.text, QString("Heading"));
    QCOMPARE(missing.errorDescription, QString("The file does not exist."));
}

void TestExifListing::errorAtTheFifthItemKeepsFourLines()
{
    QList<PropertyItem> items;
    for (int i = 1; i <= 7; ++i) items << shortItem(QString("Item%1").arg(i), quint16(i));
    const ExifListing l = listExif("H", scripted(items, 5), noLoad);
    QCOMPARE(l.text, QString("H\r\nItem1 1\r\nItem2 2\r\nItem3 3\r\nItem4 4"));
    QVERIFY(!l.image);
    QCOMPARE(l.errorDescription, QString("The item cannot be read."));
}

void TestExifListing::valueErrorDoesNotLeaveHalfALine()
{
    // Claims three values but holds one: the second cannot be read.
    const PropertyItem broken(0x0102, 3, "Bits", 3, le16({8}));
    const ExifListing l = listExif("H", scripted({shortItem("A", 1), broken}), noLoad);
    QCOMPARE(l.text, QString("H\r\nA 1"));
    QVERIFY(l.errorDescription);
    QVERIFY(!l.image);
}

void TestExifListing::dateListedBeforeAFailureIsStillFound()
{
    const QByteArray date("2007:12:10 14:30:00\0", 20);
    const ExifListing l = listExif(
        "H", scripted({PropertyItem(0x9003, 2, "ExifDTOrig", 20, date), shortItem("A", 1)}, 2),
        noLoad);
    QCOMPARE(l.text, QString("H\r\nExifDTOrig 2007:12:10 14:30:00"));
    QVERIFY(l.errorDescription);
    QCOMPARE(captureDateFromListing(l.text), QString("2007-12-10 14:30:00"));
}

void TestExifListing::failureIsShownAsInformation()
{
    test::ScriptedHost host;
    showListingError(host, "The file is empty.");
    QCOMPARE(host.messages.size(), 1);
    QCOMPARE(host.messages[0].text,
             QString("An error occurred trying to show the information for this file: "
                     "The file is empty."));
    QCOMPARE(host.messages[0].title, QString("Orvello"));
    QCOMPARE(host.messages[0].icon, MsgIcon::Information);
    QCOMPARE(host.messages[0].buttons, MsgButtons::Ok);
}

void TestExifListing::listingStopsGrowingButKeepsTheDate()
{
    QList<PropertyItem> items;
    const QByteArray value(300, 'x');
    for (int i = 0; i < 8000; ++i) items << PropertyItem(0xC000, 7, "Flood", 300, value);
    items << PropertyItem(0x9003, 2, "ExifDTOrig", 20, QByteArray("2001:02:03 04:05:06\0", 20));
    const ExifListing l = listExif("H", scripted(items), noLoad);
    QVERIFY(!l.errorDescription);
    QVERIFY2(l.text.size() < 5'000'000, qPrintable(QString::number(l.text.size())));
    const QStringList lines = l.text.split("\r\n");
    QVERIFY(lines.size() < 8000);
    QCOMPARE(lines.at(lines.size() - 2), QString("ExifDTOrig 2001:02:03 04:05:06"));
    QVERIFY2(lines.last().contains(QString::number(8000 - (lines.size() - 3))),
             qPrintable(lines.last()));
    QCOMPARE(captureDateFromListing(l.text), QString("2001-02-03 04:05:06"));
}

QTEST_GUILESS_MAIN(TestExifListing)
#include "tst_exiflisting.moc"
