#include "components/exifreader.h"

#include "components/exiffence.h"
#include "components/exivguard.h"
#include "components/imageerror.h"
#include "components/imageformat.h"
#include "components/photometadata.h"
#include "components/tagnames.h"
#include "components/tiffbytes.h"

#include <QHash>
#include <QSet>
#include <QtEndian>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <exiv2/exiv2.hpp>
#include <optional>

namespace orvello {

namespace {

constexpr quint16 makerNoteTag = 0x927C;

// A TIFF structure's directory entries.
class TiffView : public TiffBytes {
public:
    using TiffBytes::TiffBytes;

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
};

// The entries the metadata library would parse further: maker notes (vendor formats, the most
// fragile part of its parser), and XMP, IPTC and Photoshop blocks. Renamed to tags no directory
// of the file uses, they stay plain bytes; we list them as such anyway.
constexpr quint16 parsedTags[] = {0x02BC, 0x83BB, 0x8649, 0xC634, makerNoteTag};

// The directories an IFD0 pointer entry leads to, as the metadata library follows them: each of
// its values (up to nine), whatever its count.
QList<quint32> pointedDirectories(const TiffView& view, qint64 entry)
{
    QList<quint32> dirs;
    const auto type = view.u16(entry + 2);
    const auto count = view.u32(entry + 4);
    if (!type || !count || *count == 0 || (*type != 4 && *type != 9 && *type != 13)) return dirs;
    const quint32 n = std::min<quint32>(*count, 9);
    const std::optional<quint32> base =
        *count == 1 ? std::optional<quint32>(quint32(entry + 8)) : view.u32(entry + 8);
    if (!base) return dirs;
    for (quint32 i = 0; i < n; ++i)
        if (const auto offset = view.u32(qint64(*base) + 4 * qint64(i))) dirs << *offset;
    return dirs;
}

// Bytes of one value of the standard types; 0 for a type the listing does not decode.
qint64 typeWidth(quint32 type)
{
    switch (type) {
    case 1:
    case 2:
    case 6:
    case 7: return 1;
    case 3:
    case 8: return 2;
    case 4:
    case 9:
    case 11: return 4;
    case 5:
    case 10:
    case 12: return 8;
    default: return 0;
    }
}

// The bytes of a value kept when many entries share the same bytes (the listing shows no more).
constexpr quint32 kSharedValueBytes = 256;

// Renames the parsed entries in the primary directory and in every directory that an EXIF or
// GPS pointer of it names, in place. Entries whose values together would exceed the block (so
// they share bytes: hundreds of entries may point at one large value, which the library copies
// twice per entry) are renamed too, their counts shortened to the bytes the listing shows.
StandIns hideParsedEntries(QByteArray& tiff)
{
    StandIns result;
    QHash<quint16, quint16>& original = result.tags;
    TiffView view(tiff);
    const auto ifd0 = view.u32(4);
    if (!ifd0) return result;
    QList<quint32> fenced = {*ifd0};
    QList<quint32> others;  // read by the library too: their tags must not look like stand-ins
    const QList<qint64> ifd0Entries = view.entries(*ifd0);
    for (qint64 e : ifd0Entries) {
        const auto tag = view.u16(e);
        if (tag == 0x8769u || tag == 0x8825u) fenced << pointedDirectories(view, e);
    }
    if (const auto next = view.u32(qint64(*ifd0) + 2 + 12 * qint64(ifd0Entries.size())))
        others << *next;
    for (quint32 dir : fenced)
        for (qint64 e : view.entries(dir))
            if (view.u16(e) == 0xA005u) others << pointedDirectories(view, e);

    QSet<quint32> used;
    QSet<quint32> seen;
    for (const QList<quint32>& dirs : {fenced, others})
        for (quint32 dir : dirs)
            if (!seen.contains(dir)) {
                seen.insert(dir);
                for (qint64 e : view.entries(dir)) used.insert(*view.u16(e));
            }
    QHash<quint16, quint16> standIns;
    quint16 next = 0xFEFF;
    QSet<quint32> renamed;
    for (quint32 dir : fenced) {
        if (renamed.contains(dir)) continue;
        renamed.insert(dir);
        for (qint64 e : view.entries(dir)) {
            const quint16 tag = quint16(*view.u16(e));
            if (std::find(std::begin(parsedTags), std::end(parsedTags), tag) ==
                std::end(parsedTags))
                continue;
            if (!standIns.contains(tag)) {
                while (used.contains(next)) --next;
                used.insert(next);
                standIns.insert(tag, next);
                original.insert(next, tag);
            }
            view.put16(e, standIns.value(tag));
        }
    }
    qint64 referenced = 0;
    QSet<quint32> measured;
    for (const QList<quint32>& dirs : {fenced, others})
        for (quint32 dir : dirs) {
            if (dir == 0 || measured.contains(dir)) continue;  // 0: no next directory
            measured.insert(dir);
            for (qint64 e : view.entries(dir)) {
                const quint16 tag = quint16(*view.u16(e));
                const quint32 count = view.u32(e + 4).value_or(0);
                const qint64 width = typeWidth(view.u16(e + 2).value_or(0));
                const qint64 bytes = width * count;
                const qint64 offset = view.u32(e + 8).value_or(0);
                // A value that is not all there is dropped by the library, as it stands.
                if (bytes <= 4 || original.contains(tag) || offset + bytes > tiff.size()) continue;
                if (bytes <= kSharedValueBytes || referenced + bytes <= tiff.size()) {
                    referenced += bytes;
                    continue;
                }
                while (next > 0 && used.contains(next)) --next;
                if (next == 0) return result;  // no tag left to stand in
                used.insert(next);
                original.insert(next, tag);
                result.counts.insert(next, count);
                view.put16(e, next);
                view.put32(e + 4, quint32(kSharedValueBytes / width));
            }
        }
    return result;
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

}  // namespace

namespace {
std::atomic<quint64> blocksParsed{0};
}  // namespace

quint64 exifBlocksParsed()
{
    return blocksParsed.load(std::memory_order_relaxed);
}

FencedExif decodeFencedExif(QByteArray tiff)
{
    blocksParsed.fetch_add(1, std::memory_order_relaxed);
    if (tiff.size() < 8) throw ImageError(QStringLiteral("The EXIF block is too short."));
    if (!looksLikeTiff(tiff))
        throw ImageError(QStringLiteral("The EXIF block does not start with a TIFF header."));
    const ExivLock lock;
    FencedExif out;
    out.hidden = hideParsedEntries(tiff);
    out.order = Exiv2::ExifParser::decode(
        out.data, reinterpret_cast<const Exiv2::byte*>(tiff.constData()), uint32_t(tiff.size()));
    return out;
}

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

QList<PropertyItem> listedExifItems(FencedExif& fenced, bool release)
{
    Exiv2::ExifData& data = fenced.data;
    const Exiv2::ByteOrder order = fenced.order;
    const StandIns& hidden = fenced.hidden;
    QList<PropertyItem> items;
    for (auto it = data.begin(); it != data.end(); it = release ? data.erase(it) : std::next(it)) {
        const Exiv2::Exifdatum& d = *it;
        const std::optional<Directory> dir = directoryOf(d.groupName());
        if (!dir) continue;  // maker-note sub-items, further images and other directories
        const quint16 tag = hidden.tags.value(d.tag(), d.tag());
        quint32 type = quint32(d.typeId());
        // The maker note's bytes exactly as stored, whatever type it claims.
        if (tag == makerNoteTag && *dir == Directory::Exif) type = exiftype::Undefined;
        // Numbers are handed on little-endian. Bytes go in the file's own order: the library
        // would swap the UCS-2 text of comments for the other order.
        const Exiv2::ByteOrder copyOrder =
            type == exiftype::Undefined ? order : Exiv2::littleEndian;
        QByteArray bytes(qsizetype(d.size()), '\0');
        if (!bytes.isEmpty()) d.copy(reinterpret_cast<Exiv2::byte*>(bytes.data()), copyOrder);
        const quint32 count = hidden.counts.contains(d.tag()) ? hidden.counts.value(d.tag())
                              : type == exiftype::Undefined   ? quint32(bytes.size())
                                                              : quint32(d.count());
        items.append(PropertyItem(tag, type, shortTagName(*dir, tag), count, bytes));
    }
    return items;
}

QList<PropertyItem> propertyItemsOf(const PhotoMetadata& photo)
{
    try {
        photo.rethrowItemsFailure();
        return photo.items();
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

QList<PropertyItem> readPropertyItems(QByteArray bytes)
{
    return propertyItemsOf(*PhotoMetadata::read(std::move(bytes)));
}

}  // namespace orvello
