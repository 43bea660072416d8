#include "components/photometadata.h"

#include "components/exifreader.h"
#include "components/exivguard.h"
#include "components/heifcontainer.h"
#include "components/imageerror.h"
#include "components/imageformat.h"

#include <atomic>

namespace orvello {

namespace {

constexpr quint16 kXmpPacket = 0x02BC;

std::atomic<quint64> kindsSniffed{0};

// A TIFF keeps its packet as an item of its primary directory.
QByteArray itemXmp(const QList<PropertyItem>& items)
{
    QByteArray packet;
    for (const PropertyItem& item : items)
        if (item.tag() == kXmpPacket && item.Name().startsWith(QLatin1String("Image")))
            item.GetData(packet);
    return packet;
}

}  // namespace

PhotoKind sniffPhotoKind(const QByteArray& bytes)
{
    kindsSniffed.fetch_add(1, std::memory_order_relaxed);
    if (looksLikeJpeg(bytes)) return PhotoKind::Jpeg;
    if (looksLikeTiff(bytes)) return PhotoKind::Tiff;
    if (looksLikeHeif(bytes)) return PhotoKind::Heif;
    return PhotoKind::Other;
}

quint64 photoKindsSniffed()
{
    return kindsSniffed.load(std::memory_order_relaxed);
}

QList<SegmentSpan> jpegSegmentSpans(const QByteArray& jpeg)
{
    QList<SegmentSpan> out;
    const auto* b = reinterpret_cast<const uchar*>(jpeg.constData());
    const qint64 n = jpeg.size();
    qint64 pos = 2;
    while (pos + 4 <= n && b[pos] == 0xFF) {
        const uchar marker = b[pos + 1];
        if (marker == 0xFF) {
            ++pos;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) break;
        const qint64 length = (b[pos + 2] << 8) | b[pos + 3];
        if (length < 2 || pos + 2 + length > n) break;
        out << SegmentSpan{marker, qsizetype(pos + 4), qsizetype(length - 2)};
        pos += 2 + length;
    }
    return out;
}

std::shared_ptr<const PhotoMetadata> PhotoMetadata::read(QByteArray bytes, ExifParse parse)
{
    const PhotoKind kind = sniffPhotoKind(bytes);
    return read(std::move(bytes), parse, kind);
}

std::shared_ptr<const PhotoMetadata> PhotoMetadata::read(QByteArray bytes, ExifParse parse,
                                                         PhotoKind kind)
{
    std::shared_ptr<PhotoMetadata> m(new PhotoMetadata);
    m->fileSize_ = bytes.size();
    if (bytes.isEmpty()) {
        m->itemsFailure_ =
            std::make_exception_ptr(ImageError(QStringLiteral("The file is empty.")));
        m->frame_.error = QStringLiteral("empty file");
        return m;
    }
    m->kind_ = kind;
    m->frame_.error = QStringLiteral("not a JPEG file");
    switch (m->kind_) {
    case PhotoKind::Jpeg:
        m->readJpeg(bytes);
        if (!m->exifBlock_.isEmpty()) m->listItems(m->exifBlock_, parse);
        break;
    case PhotoKind::Heif:
        m->readHeif(bytes);
        if (!m->exifBlock_.isEmpty()) m->listItems(m->exifBlock_, parse);
        break;
    case PhotoKind::Tiff:
        // Handed over: the parse renames entries in place without copying the file.
        m->listItems(std::move(bytes), parse);
        m->xmp_ = itemXmp(m->items_);
        break;
    case PhotoKind::Other:
        m->itemsFailure_ = std::make_exception_ptr(
            ImageError(QStringLiteral("The file is not a JPEG, TIFF or HEIF image.")));
        break;
    }
    return m;
}

PhotoMetadata::~PhotoMetadata()
{
    const ExivLock lock;
    exif_.reset();
}

void PhotoMetadata::readJpeg(const QByteArray& bytes)
{
    static const QByteArray xmpSignature("http://ns.adobe.com/xap/1.0/\0", 29);
    segments_ = jpegSegmentSpans(bytes);
    // Only the segments stay: the value may outlive the file's bytes by far (a listing shown).
    header_ =
        bytes.first(segments_.isEmpty() ? 0 : segments_.last().offset + segments_.last().size);
    exifBlock_ = findExifBlock(bytes).toByteArray();
    for (const SegmentSpan& s : std::as_const(segments_)) {
        if (s.marker == 0xE1 &&
            QByteArrayView(header_).sliced(s.offset, s.size).startsWith(xmpSignature)) {
            xmp_ = header_.mid(s.offset + xmpSignature.size(), s.size - xmpSignature.size());
            break;
        }
    }
    frame_ = readJpegFrame(bytes);
}

void PhotoMetadata::readHeif(const QByteArray& bytes)
{
    const HeifFile file = openHeif(bytes);
    try {
        exifBlock_ = heifExifTiff(file, bytes.size());
    } catch (...) {
        exifFailure_ = itemsFailure_ = std::current_exception();
    }
    xmp_ = heifXmpPacket(file, bytes.size());
}

void PhotoMetadata::listItems(QByteArray tiff, ExifParse parse)
{
    const ExivLock lock;
    auto fenced = std::make_unique<FencedExif>();
    try {
        *fenced = decodeFencedExif(std::move(tiff));
    } catch (...) {
        exifFailure_ = itemsFailure_ = std::current_exception();
        return;
    }
    try {
        items_ = listedExifItems(*fenced, parse == ExifParse::ListOnly);
    } catch (...) {
        items_.clear();
        itemsFailure_ = std::current_exception();
    }
    if (parse == ExifParse::Kept) exif_ = std::move(fenced);
}

void PhotoMetadata::rethrowExifFailure() const
{
    if (exifFailure_) std::rethrow_exception(exifFailure_);
}

void PhotoMetadata::rethrowItemsFailure() const
{
    if (itemsFailure_) std::rethrow_exception(itemsFailure_);
}

}  // namespace orvello
