// The HEIC part of the bad-input corpus: phone photos as libheif writes them, and files damaged
// in their container, their size, their tiles and their EXIF block.
#include "tests/support/heifcorpus.h"

#include "tests/support/badcorpus.h"

#include "tools/fixtures/heifwriter.h"
#include "tools/fixtures/photowriter.h"

#include <QDir>
#include <QtEndian>

namespace orvello::test {

namespace {

using fixtures::Dir;
using fixtures::ExifContent;
using fixtures::ExifEntry;

CorpusFile& add(QList<CorpusFile>& list, const QString& dir, const QString& path,
                const QByteArray& bytes, const QString& what, bool lists, const QString& date = {})
{
    fixtures::writeFile(QDir(dir).filePath(path), bytes);
    CorpusFile f;
    f.path = path, f.what = what, f.readerLists = lists, f.captureDate = date;
    list << f;
    return list.last();
}

quint32 get32(const QByteArray& b, qsizetype at)
{
    return qFromBigEndian<quint32>(b.constData() + at);
}

void put32(QByteArray& b, qsizetype at, quint32 v)
{
    qToBigEndian(v, b.data() + at);
}

// Replaces count bytes at pos with the given ones, resizing the named boxes that hold them and
// moving or growing the file data the iloc box locates (as libheif writes it: version 0 or 1,
// fields of 0 or 4 bytes, one extent an item).
QByteArray splice(QByteArray f, qsizetype pos, qsizetype count, const QByteArray& with,
                  std::initializer_list<const char*> holders)
{
    const qint32 delta = qint32(with.size() - count);
    for (const char* type : holders)
        put32(f, f.indexOf(type) - 4, get32(f, f.indexOf(type) - 4) + delta);
    qsizetype at = f.indexOf("iloc") + 4;
    const bool v1 = f[at] == 1;
    const int offsetSize = uchar(f[at + 4]) >> 4, lengthSize = uchar(f[at + 4]) & 15,
              baseSize = uchar(f[at + 5]) >> 4;
    const int items = qFromBigEndian<quint16>(f.constData() + at + 6);
    at += 8;
    for (int i = 0; i < items; ++i) {
        const bool inFile = !v1 || f[at + 3] == 0;  // not in the idat box
        at += v1 ? 6 : 4;                           // item id, construction method, reference
        const qsizetype baseAt = at;
        const quint32 base = baseSize ? get32(f, at) : 0;
        at += baseSize + 2;
        const quint32 start = base + (offsetSize ? get32(f, at) : 0);
        const quint32 length = lengthSize ? get32(f, at + offsetSize) : 0;
        if (inFile && start > pos)
            put32(f, baseSize ? baseAt : at, (baseSize ? base : start) + delta);
        else if (inFile && pos < qsizetype(start + length))
            put32(f, at + offsetSize, length + delta);
        at += offsetSize + lengthSize;
    }
    return f.replace(pos, count, with);
}

// The sequence parameter set NAL unit with its coded size replaced; x265 writes no sub-layers.
QByteArray spsWithSize(const QByteArray& nal, quint32 width, quint32 height)
{
    const QByteArray zeros(2, '\0');
    const QByteArray rbsp = nal.mid(2).replace(zeros + '\3', zeros);  // emulation prevention
    if (((uchar(rbsp[0]) >> 1) & 7) != 0) return {};
    QList<int> bits;
    qsizetype at = 0;
    auto bit = [&] { return (uchar(rbsp[at >> 3]) >> (7 - (at & 7))) & 1; };
    auto ue = [&] {
        int n = 0;
        for (; !bit(); ++at) ++n;
        quint64 v = 0;
        for (int i = 0; i <= n; ++i, ++at) v = v << 1 | bit();
        return v - 1;
    };
    auto putUe = [&](quint64 v) {
        const int n = 64 - qCountLeadingZeroBits(++v);
        for (int i = 2 * n - 2; i >= 0; --i) bits << int(i < n ? (v >> i) & 1 : 0);
    };
    for (; at < 8 + 96; ++at) bits << bit();  // ids, the general profile and level
    putUe(ue());                              // parameter set id
    const quint64 chroma = ue();
    putUe(chroma);
    if (chroma == 3) bits << bit(), ++at;
    ue(), ue();
    putUe(width), putUe(height);
    for (; at < rbsp.size() * 8; ++at) bits << bit();
    // The stop bit and the alignment after it, again for the new length.
    bits.resize(bits.lastIndexOf(1));
    for (bits << 1; bits.size() % 8;) bits << 0;
    QByteArray out = nal.left(2);
    for (qsizetype i = 0; i < bits.size(); i += 8) {
        int byte = 0;
        for (int k = 0; k < 8; ++k) byte = byte << 1 | bits[i + k];
        if (out.endsWith(zeros) && byte <= 3) out += '\3';
        out += char(byte);
    }
    return out;
}

}  // namespace

QByteArray withCodedSize(QByteArray heic, quint32 width, quint32 height, bool inData)
{
    // hvcC: 22 bytes of profile and format, the count of arrays, then each array's NAL unit type,
    // its count of units and the units, each after a 16-bit length.
    qsizetype at = heic.indexOf("hvcC") + 4 + 22;
    const int arrays = uchar(heic[at++]);
    for (int a = 0; a < arrays; ++a, at += 3) {
        const bool sps = (uchar(heic[at]) & 0x3F) == 33;
        for (int n = qFromBigEndian<quint16>(heic.constData() + at + 1); n > 0; --n) {
            const int length = qFromBigEndian<quint16>(heic.constData() + at + 3);
            if (sps) {
                const QByteArray set = spsWithSize(heic.mid(at + 5, length), width, height);
                QByteArray unit(inData ? 4 : 2, '\0');
                qToBigEndian(quint32(set.size()) << (inData ? 0 : 16), unit.data());
                if (inData) return splice(heic, heic.indexOf("mdat") + 4, 0, unit + set, {"mdat"});
                return splice(heic, at + 3, length + 2, unit + set,
                              {"hvcC", "ipco", "iprp", "meta"});
            }
            at += 2 + length;
        }
    }
    return {};
}

QByteArray withGridOutput(QByteArray grid, quint16 width, quint16 height)
{
    // The grid's data opens the mdat box: version, flags, rows and columns, then the size.
    const qsizetype at = grid.indexOf("mdat") + 4 + 4;
    qToBigEndian(width, grid.data() + at);
    qToBigEndian(height, grid.data() + at + 2);
    return grid;
}

QByteArray withCrop(QByteArray heic, quint32 width, quint32 height)
{
    QByteArray clap(40, '\0');
    const quint32 fields[10] = {40, 0, width, 1, height, 1, 0, 1, 0, 1};
    for (int i = 0; i < 10; ++i) put32(clap, 4 * i, fields[i]);
    clap.replace(4, 4, "clap");
    const qsizetype ipco = heic.indexOf("ipco") - 4, end = ipco + get32(heic, ipco);
    int properties = 0;
    for (qsizetype at = ipco + 8; at < end; at += get32(heic, at)) ++properties;
    heic = splice(heic, end, 0, clap, {"ipco", "iprp", "meta"});
    // ipma: version and flags, the count of entries, then the image's id and its associations.
    const qsizetype count = heic.indexOf("ipma") + 4 + 4 + 4 + 2;
    const int n = uchar(heic[count]);
    heic[count] = char(n + 1);
    return splice(heic, count + 1 + n, 0, QByteArray(1, char(0x80 | (properties + 1))),
                  {"ipma", "iprp", "meta"});
}

void addHeifCases(QList<CorpusFile>& c, const QString& dir)
{
    const QString date = QString::fromLatin1(corpusDate);
    ExifContent dated;
    dated.make = QStringLiteral("Orvello");
    dated.model = QStringLiteral("Phone One");
    dated.dateTimeOriginal = date;
    const QByteArray tiff = fixtures::makeExifTiff(dated);
    const QImage picture = fixtures::quadrantImage(64, 48);
    const QByteArray valid = fixtures::makeHeic(picture, tiff);

    add(c, dir, "phone.heic", valid, "a dated HEIC", true, date)
        .lists({QStringLiteral("ExifDTOrig ") + date});
    // A phone turns the picture in the file and says so in EXIF too.
    ExifContent turnedExif = dated;
    turnedExif.extra << ExifEntry::shorts(Dir::Image, 0x0112, {6});
    fixtures::HeicVariant turned;
    turned.orientation = 6;
    add(c, dir, "turned.HEIC",
        fixtures::makeHeic(picture, fixtures::makeExifTiff(turnedExif), turned),
        "a HEIC turned by the file, with EXIF orientation 6", true, date);
    QByteArray damagedTiff = tiff;
    qToLittleEndian(quint32(0xFFFFFF00u), reinterpret_cast<uchar*>(damagedTiff.data()) + 4);
    add(c, dir, "damaged-exif.heif", fixtures::makeHeic(picture, damagedTiff),
        "a HEIF whose EXIF block's first directory lies beyond its end", false);
    fixtures::HeicVariant outside;
    outside.rawExifItem = QByteArray("\xFF\xFF\xFF\x00", 4) + tiff;
    add(c, dir, "exif-header-outside.heic", fixtures::makeHeic(picture, {}, outside),
        "a HEIC whose EXIF offset header points outside the block", false);
    add(c, dir, "truncated.heic", valid.left(valid.size() / 2), "a HEIC cut in half", false)
        .refused("HEIF 文件已损坏");
    add(c, dir, "claims-40000.heic", fixtures::withClaimedSize(valid, 40000, 40000),
        "a small HEIC claiming 40000 x 40000 pixels", true, date)
        .refused("图像过大");
    add(c, dir, "claims-70000.heic", fixtures::withClaimedSize(valid, 70000, 70000),
        "a small HEIC claiming 70000 x 70000 pixels, beyond libheif's limit", false)
        .refused("超过本软件的上限");
    add(c, dir, "stream-16384.heic", withCodedSize(valid, 16384, 16384),
        "a HEIC whose stream claims 16384 x 16384 pixels over a 64 x 64 box", true, date)
        .refused("图像数据声称 16384 × 16384 像素");
    add(c, dir, "grid-30000.heic",
        withGridOutput(fixtures::makeGridHeic(fixtures::quadrantImage(64, 64), 1, 1), 30000, 30000),
        "a grid whose output claims 30000 x 30000 pixels over a 64 x 64 box", true)
        .refused("拼接图像声称 30000 × 30000 像素");
    add(c, dir, "grid-missing-tile.heic",
        fixtures::makeGridHeic(fixtures::quadrantImage(64, 64), 2, 2, true),
        "a grid of 2 x 2 tiles with one tile missing", true)
        .refused("HEIF 图像数据无法解码");
}

}  // namespace orvello::test
