#include "components/keptexif.h"

#include "components/tiffbytes.h"

#include <QList>
#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace orvello {

namespace {

constexpr quint16 kExifPointer = 0x8769, kGpsPointer = 0x8825, kInteropPointer = 0xA005,
                  kMakerNote = 0x927C, kOrientation = 0x0112, kPixelX = 0xA002, kPixelY = 0xA003,
                  kThumbnailOffset = 0x0201, kThumbnailLength = 0x0202;
constexpr quint16 kShort = 3, kLong = 4;

struct Range {
    qint64 begin = 0, end = 0;
    bool overlaps(const Range& o) const { return begin < o.end && o.begin < end; }
};

// Bytes of one value of a type; 0 for a type whose size is not known.
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
    case 11:
    case 13: return 4;
    case 5:
    case 10:
    case 12: return 8;
    default: return 0;
    }
}

// A TIFF structure's directories and entries, edited in place without moving any value.
class Tiff : public TiffBytes {
public:
    using TiffBytes::TiffBytes;
    void blank(Range r)
    {
        r.begin = std::max<qint64>(r.begin, 8);
        r.end = std::min<qint64>(r.end, b_.size());
        if (r.begin < r.end) std::memset(b_.data() + r.begin, 0, size_t(r.end - r.begin));
    }

    // The directory at offset, as its extent (count, entries, next link), when it lies whole
    // within the block past the header.
    std::optional<Range> directory(std::optional<quint32> offset) const
    {
        if (!offset || *offset < 8) return std::nullopt;
        const auto n = u16(*offset);
        if (!n) return std::nullopt;
        const Range r{*offset, qint64(*offset) + 2 + 12 * qint64(*n) + 4};
        if (r.end > b_.size()) return std::nullopt;
        return r;
    }
    qint64 entryCount(const Range& dir) const { return (dir.end - dir.begin - 6) / 12; }
    qint64 entry(const Range& dir, qint64 i) const { return dir.begin + 2 + 12 * i; }
    qint64 find(const Range& dir, quint16 tag) const
    {
        for (qint64 i = 0; i < entryCount(dir); ++i)
            if (u16(entry(dir, i)) == tag) return entry(dir, i);
        return -1;
    }
    // Where an entry's value lies: inside the entry when it fits there; nullopt for an unknown
    // type.
    std::optional<Range> value(qint64 e) const
    {
        const qint64 width = typeWidth(u16(e + 2).value_or(0));
        if (width == 0) return std::nullopt;
        const qint64 bytes = width * u32(e + 4).value_or(0);
        if (bytes <= 4) return Range{e + 8, e + 8};
        const qint64 offset = u32(e + 8).value_or(0);
        return Range{offset, offset + bytes};
    }
    // The entry taken out of its directory; the others keep their order and their values.
    void remove(Range& dir, qint64 e)
    {
        char* base = b_.data();
        std::memmove(base + e, base + e + 12, size_t(dir.end - e - 12));
        std::memset(base + dir.end - 12, 0, 12);
        dir.end -= 12;
        put16(dir.begin, quint16(entryCount(dir)));
    }
};

// What the copy keeps: the directories and every value they point to.
struct KeptParts {
    QList<Range> ranges{Range{0, 8}};
    bool allKnown = true;  // false when a value's extent is unknown

    void add(const Tiff& t, const Range& dir)
    {
        ranges << dir;
        for (qint64 i = 0; i < t.entryCount(dir); ++i) {
            if (const auto v = t.value(t.entry(dir, i)))
                ranges << *v;
            else
                allKnown = false;
        }
    }
    bool touches(const Range& r) const
    {
        return std::any_of(ranges.begin(), ranges.end(),
                           [&](const Range& k) { return k.overlaps(r); });
    }
    qint64 end() const
    {
        qint64 e = 0;
        for (const Range& r : ranges) e = std::max(e, r.end);
        return e;
    }
};

// The thumbnail directory and everything it points to.
QList<Range> thumbnailParts(const Tiff& t, const Range& ifd1)
{
    QList<Range> parts{ifd1};
    for (qint64 i = 0; i < t.entryCount(ifd1); ++i)
        if (const auto v = t.value(t.entry(ifd1, i))) parts << *v;
    const qint64 offset = t.find(ifd1, kThumbnailOffset), length = t.find(ifd1, kThumbnailLength);
    if (offset >= 0 && length >= 0) {
        const qint64 begin = t.u32(offset + 8).value_or(0);
        parts << Range{begin, begin + t.u32(length + 8).value_or(0)};
    }
    return parts;
}

}  // namespace

bool isStorageOrEmbeddedTag(quint16 tag)
{
    static constexpr quint16 tags[] = {
        0x00FE, 0x00FF, 0x0100, 0x0101, 0x0102, 0x0103, 0x0106, 0x010A, 0x0111, 0x0115,
        0x0116, 0x0117, 0x011C, 0x013D, 0x0140, 0x0142, 0x0143, 0x0144, 0x0145, 0x014A,
        0x0152, 0x0153, 0x015B, 0x0201, 0x0202, 0x02BC, 0x83BB, 0x8649, 0x8773, 0xC634};
    return std::find(std::begin(tags), std::end(tags), tag) != std::end(tags);
}

KeptExifBlock::Outcome KeptExifBlock::keep(const QByteArray& tiff,
                                           std::optional<KeptExifBlock>* kept)
{
    kept->reset();
    if (tiff.size() < 8 || !(tiff.startsWith(QByteArrayView("II*\0", 4)) ||
                             tiff.startsWith(QByteArrayView("MM\0*", 4))))
        return Outcome::NoMakerNote;
    KeptExifBlock out;
    out.tiff_ = tiff;
    Tiff t(out.tiff_);
    std::optional<Range> ifd0 = t.directory(t.u32(4));
    if (!ifd0) return Outcome::NoMakerNote;
    const qint64 exifPointer = t.find(*ifd0, kExifPointer);
    std::optional<Range> exif = exifPointer >= 0 && t.u32(exifPointer + 4) == 1u
                                    ? t.directory(t.u32(exifPointer + 8))
                                    : std::nullopt;
    if (!exif || t.find(*exif, kMakerNote) < 0) return Outcome::NoMakerNote;
    // Directories that share bytes cannot be edited one without the other.
    if (ifd0->overlaps(*exif)) return Outcome::NotPossible;

    QList<Range> dropped;
    const auto drop = [&](Range& dir, qint64 e) {
        if (const auto v = t.value(e); v && v->begin != e + 8) dropped << *v;
        t.remove(dir, e);
    };
    // The primary directory: upright, and nothing of another file's storage or other blocks.
    for (qint64 i = 0; i < t.entryCount(*ifd0);) {
        const qint64 e = t.entry(*ifd0, i);
        const quint16 tag = quint16(t.u16(e).value_or(0));
        const bool shortOrientation =
            tag == kOrientation && t.u16(e + 2) == kShort && t.u32(e + 4) == 1u;
        if (isStorageOrEmbeddedTag(tag) || (tag == kOrientation && !shortOrientation)) {
            drop(*ifd0, e);
            continue;
        }
        if (shortOrientation) t.put32(e + 8, 0), t.put16(e + 8, 1);
        ++i;
    }
    // No thumbnail: the link to it is cut and its bytes cleared.
    const qint64 next = ifd0->end - 4;
    if (const auto ifd1 = t.directory(t.u32(next))) dropped << thumbnailParts(t, *ifd1);
    t.put32(next, 0);
    // The pixel sizes are written for each copy; any other form of them is dropped.
    for (const quint16 tag : {kPixelX, kPixelY}) {
        const qint64 e = t.find(*exif, tag);
        if (e < 0) continue;
        const auto type = t.u16(e + 2);
        if ((type == kShort || type == kLong) && t.u32(e + 4) == 1u) continue;
        drop(*exif, e);
    }
    out.pixelX_ = t.find(*exif, kPixelX);
    out.pixelY_ = t.find(*exif, kPixelY);
    out.orientation_ = t.find(*ifd0, kOrientation);
    out.primary_ = ifd0->begin;

    KeptParts parts;
    parts.add(t, *ifd0);
    parts.add(t, *exif);
    if (const qint64 gps = t.find(*ifd0, kGpsPointer); gps >= 0)
        if (const auto dir = t.directory(t.u32(gps + 8))) parts.add(t, *dir);
    if (const qint64 iop = t.find(*exif, kInteropPointer); iop >= 0)
        if (const auto dir = t.directory(t.u32(iop + 8))) parts.add(t, *dir);
    for (const Range& r : dropped)
        if (!parts.touches(r)) t.blank(r);
    // What follows the last kept byte is cleared thumbnail and padding: the copy goes without.
    const qint64 end = std::min(t.size(), (parts.end() + 1) & ~qint64(1));
    if (parts.allKnown && end > 8 &&
        std::all_of(out.tiff_.cbegin() + end, out.tiff_.cend(), [](char c) { return c == 0; }))
        out.tiff_.truncate(end);
    if (out.tiff_.size() > maxSize) return Outcome::NotPossible;
    *kept = std::move(out);
    return Outcome::Kept;
}

QByteArray KeptExifBlock::forCopy(QSize size, int orientation) const
{
    QByteArray copy = tiff_;
    Tiff t(copy);
    for (const auto& [entry, value] :
         {std::pair(pixelX_, size.width()), std::pair(pixelY_, size.height())})
        if (entry >= 0) {
            t.put16(entry + 2, kLong);
            t.put32(entry + 8, quint32(value));
        }
    if (orientation_ >= 0) {
        t.put16(orientation_ + 8, quint16(orientation));
        return copy;
    }
    if (orientation == 1) return copy;
    // The primary directory has no room for the orientation: it is written again, one entry
    // longer, after the block's end. Every value stays where it is, so offsets keep their meaning.
    const auto dir = t.directory(quint32(primary_));
    if (!dir) return copy;
    const qint64 count = t.entryCount(*dir);
    const qint64 moved = (copy.size() + 1) & ~qint64(1);
    if (moved + 2 + 12 * (count + 1) + 4 > maxSize) return copy;
    copy.resize(moved + 2 + 12 * (count + 1) + 4, '\0');
    t.put16(moved, quint16(count + 1));
    qint64 at = moved + 2;
    bool written = false;
    for (qint64 i = 0; i <= count; ++i, at += 12) {
        const qint64 e = i < count ? t.entry(*dir, i) : -1;
        if (!written && (e < 0 || t.u16(e).value_or(0) > kOrientation)) {
            t.put16(at, kOrientation);
            t.put16(at + 2, kShort);
            t.put32(at + 4, 1);
            t.put16(at + 8, quint16(orientation));
            written = true;
            at += 12;
        }
        if (e >= 0) copy.replace(at, 12, copy.mid(e, 12));
    }
    t.blank(*dir);
    t.put32(4, quint32(moved));
    return copy;
}

}  // namespace orvello
