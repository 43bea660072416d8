// The metadata reader: items, their order and directories, names, values and failures.
#include "components/exifreader.h"
#include "components/imageerror.h"
#include "components/imagefile.h"
#include "components/keptmetadata.h"
#include "components/tagnames.h"
#include "tools/fixtures/cameraexif.h"
#include "tools/fixtures/photowriter.h"

#include <QDir>
#include <QSet>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <thread>

using namespace orvello;
using fixtures::Dir;
using fixtures::ExifContent;
using fixtures::ExifEntry;

namespace {

QStringList namesOf(const ImageFile& image)
{
    QStringList names;
    for (int i = 1; i <= image.PropertyCount(); ++i) names << image.Item(i).Name();
    return names;
}

PropertyItem itemNamed(const ImageFile& image, const QString& name)
{
    for (int i = 1; i <= image.PropertyCount(); ++i)
        if (image.Item(i).Name() == name) return image.Item(i);
    return {};
}

QByteArray jpeg(const ExifContent& content)
{
    return fixtures::makeJpeg(fixtures::quadrantImage(16, 16), content);
}

QString loadError(const QByteArray& bytes)
{
    ImageFile image;
    try {
        image.LoadFromData(bytes);
    } catch (const ImageError& e) {
        return e.description();
    }
    return {};
}

}  // namespace

class TestImageFile : public QObject {
    Q_OBJECT

private slots:
    void itemsFollowTheFileOrderAndDirectories_data();
    void itemsFollowTheFileOrderAndDirectories();
    void tiffListsItsOwnDirectory();
    void makerNoteIsOneUndefinedItem_data();
    void makerNoteIsOneUndefinedItem();
    void embeddedBlocksStayPlainBytes();
    void fileAndDataGiveTheSameItems();
    void asciiText_data();
    void asciiText();
    void chineseMakeFromAFile();
    void valueAccessOutsideTheValuesFails();
    void badInputEndsInADescription_data();
    void badInputEndsInADescription();
    void indexAndLifetimeRules();
    void exifBlockIsFoundPastOtherSegments();
    void namesAreUniqueAndOnlyTheDateUsesItsPrefix();
    void namesOfKnownAndUnknownTags();
    void listingAndKeptMetadataOnSeveralThreads();
};

void TestImageFile::itemsFollowTheFileOrderAndDirectories_data()
{
    QTest::addColumn<bool>("bigEndian");
    QTest::newRow("little-endian") << false;
    QTest::newRow("big-endian") << true;
}

void TestImageFile::itemsFollowTheFileOrderAndDirectories()
{
    QFETCH(bool, bigEndian);
    ExifContent s;
    s.bigEndian = bigEndian;
    s.sortEntries = false;  // the reader must not reorder
    s.make = "Maker";
    s.model = "M1";
    s.dateTimeOriginal = "2007:12:10 14:30:00";
    s.extra << ExifEntry::ascii(Dir::Exif, 0x9291, "12")
            << ExifEntry::shorts(Dir::Exif, 0x8827, {100, 200})
            << ExifEntry::rationals(Dir::Image, 0x011A, {{72, 1}})
            << ExifEntry::bytes(Dir::Gps, 0x0000, QByteArray("\2\2\0\0", 4), 1)
            << ExifEntry::ascii(Dir::Interop, 0x0001, "R98")
            << ExifEntry::rationals(Dir::Thumbnail, 0x011A, {{180, 1}})
            << ExifEntry::srationals(Dir::Exif, 0x9204, {{-1, 3}})
            << ExifEntry::raw(Dir::Exif, 0xEEEE, 7, 3, "abc")
            << ExifEntry::longs(Dir::Exif, 0xA002, {4000000000u});

    ImageFile image;
    image.LoadFromData(jpeg(s));
    const QStringList expected = {
        "ImageMake",       "ImageModel",          "ImageXResolution",    "ImageExifPointer",
        "ExifDTOrig",      "ExifSubSecTimeOrig",  "ExifISOSpeedRatings", "ExifExposureBiasValue",
        "ExifTagEEEE",     "ExifPixelXDimension", "ExifInteropPointer",  "InteropIndex",
        "ImageGpsPointer", "GpsVersionID",        "ThumbXResolution"};
    QCOMPARE(namesOf(image), expected);

    const PropertyItem iso = itemNamed(image, "ExifISOSpeedRatings");
    QCOMPARE(iso.ItemType(), 3u);
    QCOMPARE(iso.ValueCount(), 2u);
    QCOMPARE(iso.ItemSize(), 4u);
    QCOMPARE(iso.ParseShort(1), 100);
    QCOMPARE(iso.ParseShort(2), 200);
    QCOMPARE(itemNamed(image, "ExifExposureBiasValue").ParseRational(1),
             (std::pair<qint64, qint64>(-1, 3)));
    QCOMPARE(itemNamed(image, "ThumbXResolution").ParseRational(1),
             (std::pair<qint64, qint64>(180, 1)));
    QCOMPARE(itemNamed(image, "ExifPixelXDimension").ParseLong(1), 4000000000LL);
    QCOMPARE(itemNamed(image, "ExifDTOrig").ParseString(), QString("2007:12:10 14:30:00"));
    const PropertyItem version = itemNamed(image, "GpsVersionID");
    QCOMPARE(version.ItemType(), 1u);
    QCOMPARE(version.ItemSize(), 4u);
    const PropertyItem unknown = itemNamed(image, "ExifTagEEEE");
    QCOMPARE(unknown.tag(), quint16(0xEEEE));
    QByteArray bytes;
    unknown.GetData(bytes);
    QCOMPARE(bytes, QByteArray("abc"));
}

void TestImageFile::tiffListsItsOwnDirectory()
{
    ExifContent s;
    s.dateTimeOriginal = "2010:01:02 03:04:05";
    s.make = "Maker";
    ImageFile image;
    image.LoadFromData(fixtures::makeTiff(fixtures::quadrantImage(6, 4), s));
    const QStringList names = namesOf(image);
    QCOMPARE(names.first(), QString("ImageWidth"));
    QVERIFY(names.contains("ImageStripOffsets"));
    QVERIFY(names.contains("ImageMake"));
    QCOMPARE(itemNamed(image, "ImageWidth").ParseLong(1), 6);
    QCOMPARE(itemNamed(image, "ImageBitsPerSample").ValueCount(), 3u);
    QCOMPARE(itemNamed(image, "ExifDTOrig").ParseString(), QString("2010:01:02 03:04:05"));
}

void TestImageFile::makerNoteIsOneUndefinedItem_data()
{
    QTest::addColumn<bool>("bigEndian");
    QTest::addColumn<int>("storedType");
    QTest::addColumn<bool>("tagTaken");  // the directory already uses the reader's spare tag
    QTest::newRow("undefined") << false << 7 << false;
    QTest::newRow("big-endian") << true << 7 << false;
    QTest::newRow("stored as bytes") << false << 1 << false;
    QTest::newRow("spare tag in use") << false << 7 << true;
}

void TestImageFile::makerNoteIsOneUndefinedItem()
{
    QFETCH(bool, bigEndian);
    QFETCH(int, storedType);
    QFETCH(bool, tagTaken);
    const QByteArray note = fixtures::vendorMakerNote();

    ExifContent s;
    s.bigEndian = bigEndian;
    s.make = "Canon";
    s.dateTimeOriginal = "2007:12:10 14:30:00";
    s.extra << ExifEntry::bytes(Dir::Exif, 0x927C, note, quint16(storedType))
            << ExifEntry::ascii(Dir::Exif, 0xA420, "ID-1");
    if (tagTaken) s.extra << ExifEntry::shorts(Dir::Exif, 0xFEFF, {7});

    ImageFile image;
    image.LoadFromData(jpeg(s));
    QStringList expected = {"ImageMake", "ImageExifPointer", "ExifDTOrig", "ExifMakerNote",
                            "ExifImageUniqueID"};
    if (tagTaken) expected << "ExifTagFEFF";
    QCOMPARE(namesOf(image), expected);
    const PropertyItem mn = itemNamed(image, "ExifMakerNote");
    QCOMPARE(mn.tag(), quint16(0x927C));
    QCOMPARE(mn.ItemType(), 7u);
    QCOMPARE(mn.ValueCount(), quint32(note.size()));
    QByteArray bytes;
    mn.GetData(bytes);
    QCOMPARE(bytes, note);
    if (tagTaken) QCOMPARE(itemNamed(image, "ExifTagFEFF").ParseShort(1), 7);
}

void TestImageFile::embeddedBlocksStayPlainBytes()
{
    // Broken XMP and IPTC blocks must neither fail the load nor be turned into other items.
    const QByteArray xmp("<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d'?><x:xmpmeta <<");
    const QByteArray iptc("\x1C\x02\x00\x00\x02\x00", 6);
    const QByteArray irb("8BIM\x04\x04\0\0\0\0\0\xFF", 12);
    ExifContent s;
    s.bigEndian = true;
    s.make = "Maker";
    s.extra << ExifEntry::bytes(Dir::Image, 0x02BC, xmp, 1)
            << ExifEntry::bytes(Dir::Image, 0x83BB, iptc, 7)
            << ExifEntry::bytes(Dir::Image, 0x8649, irb, 1);
    ImageFile image;
    image.LoadFromData(jpeg(s));
    QCOMPARE(namesOf(image),
             QStringList({"ImageMake", "ImageXMLPacket", "ImageIPTCNAA", "ImageResources"}));
    QByteArray bytes;
    image.Item(2).GetData(bytes);
    QCOMPARE(bytes, xmp);
    QCOMPARE(image.Item(2).ItemType(), 1u);
    image.Item(3).GetData(bytes);
    QCOMPARE(bytes, iptc);
    QCOMPARE(image.Item(3).tag(), quint16(0x83BB));
    image.Item(4).GetData(bytes);
    QCOMPARE(bytes, irb);
}

void TestImageFile::fileAndDataGiveTheSameItems()
{
    ExifContent s;
    s.make = "Maker";
    s.dateTimeOriginal = "2007:12:10 14:30:00";
    const QByteArray bytes = jpeg(s);
    QTemporaryDir dir;
    const QString path = dir.filePath("photo.jpg");
    QVERIFY(fixtures::writeFile(path, bytes));

    ImageFile fromFile, fromData;
    fromFile.LoadFromFile(path);
    fromData.LoadFromData(bytes);
    QCOMPARE(fromFile.PropertyCount(), 3);
    QCOMPARE(namesOf(fromFile), namesOf(fromData));
    for (int i = 1; i <= fromFile.PropertyCount(); ++i) {
        QByteArray a, b;
        fromFile.Item(i).GetData(a);
        fromData.Item(i).GetData(b);
        QCOMPARE(a, b);
    }
}

void TestImageFile::asciiText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QStringEncoder gb("GB18030");
    QTest::newRow("terminated") << QByteArray("Canon\0", 6) << "Canon";
    QTest::newRow("no terminator") << QByteArray("Canon") << "Canon";
    QTest::newRow("padding zeros") << QByteArray("Canon\0\0\0\0", 9) << "Canon";
    QTest::newRow("garbage after the zero") << QByteArray("Canon\0junk", 10) << "Canon";
    QTest::newRow("empty") << QByteArray() << "";
    QTest::newRow("only a zero") << QByteArray("\0", 1) << "";
    QTest::newRow("UTF-8") << QString("佳能相机").toUtf8() << "佳能相机";
    QTest::newRow("GB18030") << QByteArray(gb.encode(QString("你好相机 №5"))) << "你好相机 №5";
}

void TestImageFile::asciiText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    const PropertyItem item(0x010F, 2, "ImageMake", quint32(bytes.size()), bytes);
    QCOMPARE(item.ParseString(), text);
}

void TestImageFile::chineseMakeFromAFile()
{
    QStringEncoder gb("GB18030");
    QByteArray make = gb.encode(QString("海鸥照相机"));
    make.append('\0');
    ExifContent s;
    s.extra << ExifEntry::asciiBytes(Dir::Image, 0x010F, make)
            << ExifEntry::ascii(Dir::Image, 0x0110, "凤凰 205");
    ImageFile image;
    image.LoadFromData(jpeg(s));
    QCOMPARE(image.Item(1).ParseString(), QString("海鸥照相机"));
    QCOMPARE(image.Item(2).ParseString(), QString("凤凰 205"));
}

void TestImageFile::valueAccessOutsideTheValuesFails()
{
    const PropertyItem shorts(0x8827, 3, "ExifISOSpeedRatings", 2, QByteArray("\1\0\2\0", 4));
    QCOMPARE(shorts.ParseShort(2), 2);
    QVERIFY_THROWS_EXCEPTION(ImageError, shorts.ParseShort(0));
    QVERIFY_THROWS_EXCEPTION(ImageError, shorts.ParseShort(3));
    QVERIFY_THROWS_EXCEPTION(ImageError, shorts.ParseLong(1));
    QVERIFY_THROWS_EXCEPTION(ImageError, shorts.ParseString());
    // A count larger than the bytes held must not read past them.
    const PropertyItem shortOfBytes(0x8827, 3, "ExifISOSpeedRatings", 3, QByteArray("\1\0", 2));
    QVERIFY_THROWS_EXCEPTION(ImageError, shortOfBytes.ParseShort(2));
    const PropertyItem sshort(0x9999, 8, "X", 1, QByteArray("\xFF\xFF", 2));
    QCOMPARE(sshort.ParseShort(1), -1);
    const PropertyItem shortMax(0x9999, 3, "X", 1, QByteArray("\xFF\xFF", 2));
    QCOMPARE(shortMax.ParseShort(1), 65535);
}

void TestImageFile::badInputEndsInADescription_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("description");
    QTest::newRow("empty") << QByteArray() << "The file is empty.";
    QTest::newRow("text") << QByteArray("hello, world")
                          << "The file is not a JPEG, TIFF or HEIF image.";
    QTest::newRow("MM without the TIFF mark")
        << QByteArray("MM\0\x2B\0\0\0\x08", 8) << "The file is not a JPEG, TIFF or HEIF image.";
    QTest::newRow("two bytes of JPEG")
        << QByteArray("\xFF\xD8") << "The file is not a JPEG, TIFF or HEIF image.";
    QTest::newRow("EXIF block too short")
        << fixtures::insertAfterSoi(jpeg({}),
                                    {fixtures::jpegSegment(0xE1, QByteArray("Exif\0\0II*", 9))})
        << "The EXIF block is too short.";
}

void TestImageFile::badInputEndsInADescription()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, description);
    QCOMPARE(loadError(bytes), description);
}

void TestImageFile::indexAndLifetimeRules()
{
    ImageFile image;
    QVERIFY_THROWS_EXCEPTION(ImageError, image.PropertyCount());
    QTemporaryDir dir;
    QVERIFY_THROWS_EXCEPTION(ImageError, image.LoadFromFile(dir.filePath("missing.jpg")));
    QVERIFY_THROWS_EXCEPTION(ImageError, image.LoadFromFile(dir.path()));

    ExifContent s;
    s.make = "Maker";
    image.LoadFromData(jpeg(s));
    QCOMPARE(image.PropertyCount(), 1);
    QCOMPARE(image.Item(1).Name(), QString("ImageMake"));
    QVERIFY_THROWS_EXCEPTION(ImageError, image.Item(0));
    QVERIFY_THROWS_EXCEPTION(ImageError, image.Item(2));
    image.Dispose();
    QVERIFY(!image.isLoaded());
    QVERIFY_THROWS_EXCEPTION(ImageError, image.Item(1));

    // A photo without metadata loads, with no items.
    image.LoadFromData(jpeg({}));
    QCOMPARE(image.PropertyCount(), 0);
}

void TestImageFile::exifBlockIsFoundPastOtherSegments()
{
    ExifContent s;
    s.make = "Maker";
    const QByteArray xmp =
        fixtures::jpegSegment(0xE1, QByteArray("http://ns.adobe.com/xap/1.0/\0<x/>", 34));
    const QByteArray fill("\xFF\xFF", 2);  // fill bytes before a marker are allowed
    QByteArray bytes = fixtures::insertAfterSoi(
        jpeg({}), {xmp, fixtures::iccSegments(QByteArray(300, 'p'), 100).first(),
                   fill + fixtures::makeExifApp1(s)});
    QCOMPARE(findExifBlock(bytes).toByteArray(), fixtures::makeExifTiff(s));

    // An EXIF segment after the first scan belongs to no header and is not looked for.
    QByteArray late = jpeg({});
    late.insert(late.size() - 2, fixtures::makeExifApp1(s));
    QVERIFY(findExifBlock(late).isEmpty());
}

void TestImageFile::namesAreUniqueAndOnlyTheDateUsesItsPrefix()
{
    const QList<Directory> dirs = {Directory::Image, Directory::Exif, Directory::Gps,
                                   Directory::Interop, Directory::Thumbnail};
    QSet<QString> all;
    int count = 0;
    for (Directory dir : dirs) {
        for (int tag = 0; tag <= 0xFFFF; ++tag) {
            const QString name = shortTagName(dir, quint16(tag));
            ++count;
            all.insert(name);
            for (QChar c : name)
                QVERIFY2(c.unicode() < 128 && c.isLetterOrNumber(), qPrintable(name));
            if (name.startsWith("ExifDTOrig"))
                QVERIFY2(dir == Directory::Exif && tag == 0x9003, qPrintable(name));
        }
    }
    QCOMPARE(all.size(), count);
}

void TestImageFile::namesOfKnownAndUnknownTags()
{
    QCOMPARE(shortTagName(Directory::Exif, 0x9003), QString("ExifDTOrig"));
    QCOMPARE(shortTagName(Directory::Exif, 0x9291), QString("ExifSubSecTimeOrig"));
    QCOMPARE(shortTagName(Directory::Exif, 0x9004), QString("ExifDTDigitized"));
    QCOMPARE(shortTagName(Directory::Exif, 0x9011), QString("ExifOffsetTimeOrig"));
    QCOMPARE(shortTagName(Directory::Image, 0x0132), QString("ImageDT"));
    QCOMPARE(shortTagName(Directory::Image, 0x0110), QString("ImageModel"));
    QCOMPARE(shortTagName(Directory::Exif, 0x829A), QString("ExifExposureTime"));
    QCOMPARE(shortTagName(Directory::Exif, 0x9000), QString("ExifVersion"));
    QCOMPARE(shortTagName(Directory::Gps, 0x0002), QString("GpsLatitude"));
    QCOMPARE(shortTagName(Directory::Interop, 0x0001), QString("InteropIndex"));
    QCOMPARE(shortTagName(Directory::Thumbnail, 0x0103), QString("ThumbCompression"));
    QCOMPARE(shortTagName(Directory::Gps, 0xBEEF), QString("GpsTagBEEF"));
}

// The batch's workers and the window's look-ahead read listings and kept metadata at once: each
// read gives what it gives alone (and, under ThreadSanitizer, touches nothing unguarded).
void TestImageFile::listingAndKeptMetadataOnSeveralThreads()
{
    const QByteArray xmp = fixtures::jpegSegment(
        0xE1, QByteArray("http://ns.adobe.com/xap/1.0/\0", 29) +
                  "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF "
                  "xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'><rdf:Description "
                  "xmlns:tiff='http://ns.adobe.com/tiff/1.0/' tiff:Orientation='6'/></rdf:RDF>"
                  "</x:xmpmeta>");
    const QByteArray camera = fixtures::jpegSegment(
        0xE1, QByteArray("Exif\0\0", 6) + fixtures::cameraExifTiff("Canon", 6, QSize(16, 16)));
    ExifContent plain;
    plain.make = QStringLiteral("Vendor");
    const QList<QByteArray> photos = {fixtures::insertAfterSoi(jpeg({}), {camera, xmp}),
                                      fixtures::insertAfterSoi(jpeg(plain), {xmp})};
    const auto readBoth = [](const QByteArray& photo) {
        QByteArray out;
        for (const PropertyItem& item : readPropertyItems(photo)) out += item.Name().toUtf8();
        QString problem;
        for (const JpegSegment& s : KeptMetadata::read(photo)->segmentsFor({8, 8}, &problem))
            out += s.payload;
        return out + problem.toUtf8();
    };
    QList<QByteArray> alone;
    for (const QByteArray& photo : photos) alone << readBoth(photo);
    QVERIFY(alone[0].contains("tiff:Orientation") && alone[0].contains("IMG:PowerShot JPEG"));
    std::atomic<int> differing{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 20; ++i)
                if (readBoth(photos[(t + i) % 2]) != alone[(t + i) % 2]) ++differing;
        });
    for (std::thread& thread : threads) thread.join();
    QCOMPARE(differing.load(), 0);
}

QTEST_GUILESS_MAIN(TestImageFile)
#include "tst_imagefile.moc"
