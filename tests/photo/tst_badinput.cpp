// Damaged and hostile files through the reader, the listing and the capture date: each ends in
// a listing or a clear description, never a crash or a hang.
#include "components/imageerror.h"
#include "components/imagefile.h"
#include "photo/exiflisting.h"
#include "photo/exifstep.h"
#include "tests/support/badcorpus.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace orvello;

namespace {

QString listingOf(const QString& path)
{
    const ExifInfo info = readExifInfo(path);
    return info.text;
}

}  // namespace

class TestBadInput : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void eachFileEndsInAListingOrADescription_data();
    void eachFileEndsInAListingOrADescription();
    void extremeRationalsAreListedAsStored();
    void namesLikeAddressesAreOrdinaryFiles();
    void stringWithoutTerminatorKeepsItsText();
    void unicodeTextsAreTheBytesInTheFile();

private:
    QTemporaryDir dir_;
    QString previousDir_;
    QList<test::CorpusFile> corpus_;
};

void TestBadInput::initTestCase()
{
    QVERIFY(dir_.isValid());
    corpus_ = test::writeBadCorpus(dir_.path());
    QVERIFY(corpus_.size() >= 25);
    // Relative corpus paths are relative to the corpus folder.
    previousDir_ = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir_.path()));
}

void TestBadInput::cleanupTestCase()
{
    test::removeNativeNames(dir_.path(), corpus_);
    QDir::setCurrent(previousDir_);
}

void TestBadInput::eachFileEndsInAListingOrADescription_data()
{
    QTest::addColumn<test::CorpusFile>("file");
    for (const test::CorpusFile& f : corpus_) QTest::newRow(qPrintable(f.path)) << f;
}

void TestBadInput::eachFileEndsInAListingOrADescription()
{
    QFETCH(test::CorpusFile, file);
    ImageFile image;
    QString description;
    try {
        if (file.nativePath.isEmpty())
            image.LoadFromFile(file.path);
        else
            image.LoadFromNativeFile(file.nativePath);
    } catch (const ImageError& e) {
        description = e.description();
    }
    QVERIFY2(description.isEmpty() == file.readerLists, qPrintable(file.what + ": " + description));
    if (!file.readerLists) QVERIFY(description.size() > 10);

    const ExifInfo info =
        file.nativePath.isEmpty() ? readExifInfo(file.path) : readExifInfo(file.nativePath);
    QVERIFY(info.text.startsWith(exifHeading()));
    QCOMPARE(bool(info.image), file.readerLists);
    QCOMPARE(info.errorDescription.value_or(QString()), description);
    static const QRegularExpression line("^[A-Za-z0-9]+ ");
    const QStringList lines = info.text.split("\r\n").mid(1);
    for (const QString& l : lines) QVERIFY2(line.match(l).hasMatch(), qPrintable(l.left(80)));
    for (const QString& l : file.listed) QVERIFY2(lines.contains(l), qPrintable(l));
    QCOMPARE(info.captureDateText,
             file.captureDate.isEmpty()
                 ? QString()
                 : QString(file.captureDate).replace(4, 1, '-').replace(7, 1, '-'));
}

void TestBadInput::extremeRationalsAreListedAsStored()
{
    const QString text = listingOf("rationals.jpg");
    QVERIFY(text.contains("\r\nImageXResolution 1/0\r\n"));
    QVERIFY(text.contains("\r\nImageYResolution 0/0\r\n"));
    QVERIFY(text.contains("\r\nExifExposureBiasValue -2147483648/-1, 1/0, 0/0"));
}

void TestBadInput::namesLikeAddressesAreOrdinaryFiles()
{
    // The same photo, whatever its name looks like.
    const QString expected = listingOf("http://photo.jpg");
    QVERIFY(expected.contains("ExifDTOrig"));
    for (const QString& path : {QString("file://photo.jpg"), QString("data://photo.jpg"),
                                QString("-"), QString("-photo.jpg"), dir_.filePath("-")})
        QCOMPARE(listingOf(path), expected);
}

void TestBadInput::stringWithoutTerminatorKeepsItsText()
{
    QCOMPARE(listingOf("unterminated-string.jpg"), exifHeading() + "\r\nImageMake Orvello");
}

// The user comment of a big-endian file is listed as the bytes the file holds: its UCS-2 text
// big-endian, as the camera wrote it.
void TestBadInput::unicodeTextsAreTheBytesInTheFile()
{
    QFile file("unicode-texts-be.jpg");
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray stored = file.readAll();
    const QString prefix = QStringLiteral("ExifUserComment ");
    for (const QString& line : listingOf(file.fileName()).split("\r\n")) {
        if (!line.startsWith(prefix)) continue;
        const QByteArray listed = QByteArray::fromHex(line.mid(prefix.size()).toLatin1());
        QVERIFY(listed.startsWith(QByteArray("UNICODE\0", 8)));
        QVERIFY(stored.contains(listed));
        QCOMPARE(listed.mid(8, 2), QByteArray("\x4F\x60"));  // U+4F60, high byte first
        return;
    }
    QFAIL("no user comment listed");
}

QTEST_GUILESS_MAIN(TestBadInput)
#include "tst_badinput.moc"
