#include "components/exifreader.h"

#include "components/exivguard.h"
#include "components/imageerror.h"
#include "components/imageformat.h"
#include "components/tagnames.h"

#include <QSet>
#include <QtEndian>
#include <cstring>
#include <exiv2/exiv2.hpp>
#include <optional>

namespace orvello {

namespace {

constexpr quint16 makerNoteTag = 0x927C;

// Bounds-checked reads of a TIFF structure in the byte order of its header.
class TiffView {
public:
    explicit TiffView(QByteArray& b) : b_(b), be_(b.startsWith("MM")) {}

    std::optional<quint32> u16(qint64 pos) const
    {
        if (pos < 0 || pos + 2 > b_.size()) return std::nullopt;
        const auto* p = reinterpret_cast<const uchar*>(b_.constData()) + pos;
        return be_ ? qFromBigEndian<quint16>(p) : qFromLittleEndian<quint16>(p);
    }
    std::optional<quint32> u32(qint64 pos) const
    {
        if (pos < 0 || pos + 4 > b_.size()) return std::nullopt;
        const auto* p = reinterpret_cast<const uchar*>(b_.constData()) + pos;
        return be_ ? qFromBigEndian<quint32>(p) : qFromLittleEndian<quint32>(p);
    }
    void put16(qint64 pos, quint16 v)
    {
        auto* p = reinterpret_cast<uchar*>(b_.data()) + pos;
        be_ ? qToBigEndian(v, p) : qToLittleEndian(v, p);
    }

    // Positions of the complete entries of the directory at offset.
    QList<qint64> entries(quint32 offset) const
    {
        QList<qint64> list;
        const auto n = u16(offset);
        if (!n) return list;
        for (quint32 i = 0; i < *n; ++i) {
            const qint64 pos = qint64(offset) + 2 + qint64(i) * 12;
            if (pos + 12 > b_.size()) break;
            list << pos;
        }
        return list;
    }

private:
    QByteArray& b_;
    bool be_;
};

// An entry renamed before decoding, and the tag it goes back to.
struct HiddenEntry {
    Directory dir;
    quint16 tag;
    quint16 standIn;
};

// The entries the metadata library would parse further: maker notes (vendor formats, the most
// fragile part of its parser), and XMP, IPTC and Photoshop blocks. Renamed to tags their
// directory does not use, they stay plain bytes; we list them as such anyway.
QList<HiddenEntry> hideParsedEntries(QByteArray& tiff)
{
    static const QList<std::pair<Directory, quint16>> parsed = {{Directory::Image, 0x02BC},
                                                                {Directory::Image, 0x83BB},
                                                                {Directory::Image, 0x8649},
                                                                {Directory::Image, 0xC634},
                                                                {Directory::Exif, makerNoteTag}};
    QList<HiddenEntry> hidden;
    TiffView view(tiff);
    const auto ifd0 = view.u32(4);
    if (!ifd0) return hidden;
    std::optional<quint32> exifIfd;
    for (qint64 e : view.entries(*ifd0))
        if (view.u16(e) == 0x8769u) exifIfd = view.u32(e + 8);

    for (Directory dir : {Directory::Image, Directory::Exif}) {
        const std::optional<quint32> offset = dir == Directory::Image ? ifd0 : exifIfd;
        if (!offset) continue;
        const QList<qint64> entries = view.entries(*offset);
        QSet<quint32> used;
        for (qint64 e : entries) used.insert(*view.u16(e));
        quint16 standIn = 0xFEFF;
        for (const auto& [parsedDir, tag] : parsed) {
            if (parsedDir != dir || !used.contains(tag)) continue;
            while (used.contains(standIn)) --standIn;
            used.insert(standIn);
            tiff.detach();
            for (qint64 e : entries)
                if (view.u16(e) == tag) view.put16(e, standIn);
            hidden << HiddenEntry{dir, tag, standIn};
        }
    }
    return hidden;
}

std::optional<Directory> directoryOf(const std::string& group)
{
    if (group == "Image") return Directory::Image;
    if (group == "Photo") return Directory::Exif;
    if (group == "GPSInfo") return Directory::Gps;
    if (group == "Iop") return Directory::Interop;
    if (group == "Thumbnail") return Directory::Thumbnail;
    return std::nullopt;
}

QList<PropertyItem> decodeTiff(QByteArray tiff)
{
    if (tiff.size() < 8) throw ImageError(QStringLiteral("The EXIF block is too short."));
    if (!looksLikeTiff(tiff))
        throw ImageError(QStringLiteral("The EXIF block does not start with a TIFF header."));
    const QList<HiddenEntry> hidden = hideParsedEntries(tiff);

    Exiv2::ExifData data;
    const Exiv2::ByteOrder order = Exiv2::ExifParser::decode(
        data, reinterpret_cast<const Exiv2::byte*>(tiff.constData()), uint32_t(tiff.size()));
    QList<PropertyItem> items;
    for (const Exiv2::Exifdatum& d : data) {
        const std::optional<Directory> dir = directoryOf(d.groupName());
        if (!dir) continue;  // maker-note sub-items, further images and other directories
        quint16 tag = d.tag();
        quint32 type = quint32(d.typeId());
        Exiv2::ByteOrder copyOrder = Exiv2::littleEndian;
        for (const HiddenEntry& h : hidden) {
            if (h.dir == *dir && h.standIn == tag) {
                tag = h.tag;
                if (tag == makerNoteTag) {
                    // The maker note's bytes exactly as stored, whatever type it claims.
                    type = exiftype::Undefined;
                    copyOrder = order;
                }
            }
        }
        QByteArray bytes(qsizetype(d.size()), '\0');
        if (!bytes.isEmpty()) d.copy(reinterpret_cast<Exiv2::byte*>(bytes.data()), copyOrder);
        const quint32 count =
            type == exiftype::Undefined ? quint32(bytes.size()) : quint32(d.count());
        items.append(PropertyItem(tag, type, shortTagName(*dir, tag), count, bytes));
    }
    return items;
}

}  // namespace

QByteArrayView findExifBlock(const QByteArray& jpeg)
{
    const auto* b = reinterpret_cast<const uchar*>(jpeg.constData());
    const qint64 n = jpeg.size();
    qint64 pos = 2;
    while (pos + 4 <= n) {
        if (b[pos] != 0xFF) break;  // damaged: no marker where one must be
        const uchar marker = b[pos + 1];
        if (marker == 0xFF) {
            ++pos;  // fill byte
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            pos += 2;  // markers without a segment
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) break;
        const qint64 length = (b[pos + 2] << 8) | b[pos + 3];
        if (length < 2) break;
        const qint64 payload = pos + 4;
        const qint64 end = std::min(pos + 2 + length, n);
        if (marker == 0xE1 && end - payload >= 6 && std::memcmp(b + payload, "Exif\0", 5) == 0)
            return QByteArrayView(jpeg).sliced(payload + 6, end - payload - 6);
        pos += 2 + length;
    }
    return {};
}

QList<PropertyItem> readPropertyItems(const QByteArray& bytes)
{
    silenceExiv2();
    if (bytes.isEmpty()) throw ImageError(QStringLiteral("The file is empty."));
    QByteArray tiff;
    if (looksLikeJpeg(bytes)) {
        const QByteArrayView block = findExifBlock(bytes);
        if (block.isEmpty()) return {};
        tiff = block.toByteArray();
    } else if (looksLikeTiff(bytes)) {
        tiff = bytes;
    } else {
        throw ImageError(QStringLiteral("The file is not a JPEG or TIFF image."));
    }
    try {
        return decodeTiff(std::move(tiff));
    } catch (const ImageError&) {
        throw;
    } catch (const Exiv2::AnyError& e) {
        throw ImageError(QStringLiteral("The EXIF data cannot be read (%1).")
                             .arg(QString::fromStdString(e.what())));
    } catch (const std::bad_alloc&) {
        throw ImageError(QStringLiteral("Not enough memory to read the EXIF data."));
    } catch (const std::exception& e) {
        throw ImageError(QStringLiteral("The EXIF data cannot be read (%1).")
                             .arg(QString::fromLocal8Bit(e.what())));
    }
}

}  // namespace orvello
