#include "components/keptmetadata.h"

#include "components/exiffence.h"
#include "components/exifreader.h"
#include "components/exivguard.h"
#include "components/keptexif.h"
#include "components/photometadata.h"

#include <QImage>
#include <exiv2/exiv2.hpp>

namespace orvello {

namespace {

constexpr quint16 kMakerNote = 0x927C, kXmpPacket = 0x02BC, kIptc = 0x83BB;

bool isXmpSegment(const JpegSegment& s)
{
    return s.marker == 0xE1 && s.payload.startsWith("http://ns.adobe.com/xap/1.0/");
}

bool isIptcSegment(const JpegSegment& s)
{
    return s.marker == 0xED && s.payload.startsWith("Photoshop 3.0");
}

QByteArray withSegment(const JpegSegment& s)
{
    const qsizetype length = s.payload.size() + 2;
    return QByteArray("\xFF") + char(s.marker) + char(length >> 8) + char(length & 0xFF) +
           s.payload;
}

// The smallest photo the library writes metadata into: the segments it makes are taken out of it.
const QByteArray& carrierJpeg()
{
    static const QByteArray jpeg = [] {
        QImage pixel(8, 8, QImage::Format_RGB32);
        pixel.fill(Qt::white);
        return encodeJpeg(pixel, JpegOptions{});
    }();
    return jpeg;
}

QByteArray valueBytes(const Exiv2::Exifdatum& d, Exiv2::ByteOrder order)
{
    QByteArray bytes(qsizetype(d.size()), '\0');
    if (!bytes.isEmpty()) d.copy(reinterpret_cast<Exiv2::byte*>(bytes.data()), order);
    return bytes;
}

void setIfPresent(Exiv2::XmpData& xmp, const char* key, const std::string& value)
{
    if (xmp.findKey(Exiv2::XmpKey(key)) != xmp.end()) xmp[key] = value;
}

QString libraryText(const std::exception& e)
{
    return QString::fromLocal8Bit(e.what());
}

}  // namespace

bool isExifSegment(const JpegSegment& s)
{
    return s.marker == 0xE1 && s.payload.startsWith(QByteArray("Exif\0", 5));
}

JpegSegment orientationExifSegment(int orientation, PixelDensity density)
{
    const ExivLock lock;
    try {
        Exiv2::ExifData exif;
        exif["Exif.Image.Orientation"] = uint16_t(orientation);
        // JFIF counts in inches (1) or centimetres (2), EXIF in inches (2) or centimetres (3).
        if (!density.isSet()) density = {1, 72, 72};
        exif["Exif.Image.XResolution"] = Exiv2::URational(density.x, 1);
        exif["Exif.Image.YResolution"] = Exiv2::URational(density.y, 1);
        exif["Exif.Image.ResolutionUnit"] = uint16_t(density.unit + 1);
        exif["Exif.Image.YCbCrPositioning"] = uint16_t(1);
        Exiv2::Blob blob;
        Exiv2::ExifParser::encode(blob, Exiv2::bigEndian, exif);
        return {0xE1,
                QByteArray("Exif\0\0", 6) +
                    QByteArray(reinterpret_cast<const char*>(blob.data()), qsizetype(blob.size()))};
    } catch (...) {
        return {0xE1, {}};
    }
}

struct KeptMetadata::Data {
    Exiv2::ExifData exif;
    Exiv2::XmpData xmp;
    Exiv2::IptcData iptc;
    // The EXIF block as the photo holds it, when it carries a maker note that stays readable
    // only in its place; exif is empty then.
    std::optional<KeptExifBlock> exifBlock;
    bool makerNoteLeftOut = false;
    QString failure;  // set when the photo's metadata cannot be read
};

QList<JpegSegment> segmentsBeforeScan(const QByteArray& jpeg)
{
    QList<JpegSegment> out;
    for (const SegmentSpan& s : jpegSegmentSpans(jpeg))
        out << JpegSegment{s.marker, jpeg.mid(s.offset, s.size)};
    return out;
}

KeptMetadata::KeptMetadata() : d_(std::make_unique<Data>()) {}

KeptMetadata::~KeptMetadata()
{
    const ExivLock lock;
    d_.reset();
}

namespace {

// The photo's EXIF as the copy may carry it when the block is rebuilt: the fenced entries put back
// where they belong (an embedded XMP packet or IPTC block handed out), and only the primary, EXIF,
// GPS and interoperability directories kept. A maker note moved elsewhere would read as garbage
// when it counts its offsets from the block's start, as many do: it is left out.
void takeExif(const FencedExif& fenced, Exiv2::ExifData& exif, QByteArray* xmpPacket,
              QByteArray* iptcBlock, bool* makerNoteLeftOut)
{
    for (const Exiv2::Exifdatum& d : fenced.data) {
        const std::string group = d.groupName();
        if (group != "Image" && group != "Photo" && group != "GPSInfo" && group != "Iop") continue;
        // A value shortened because many entries shared its bytes is not the photo's own.
        if (fenced.hidden.counts.contains(d.tag())) continue;
        const quint16 tag = fenced.hidden.tags.value(d.tag(), d.tag());
        if (tag == kMakerNote && group == "Photo") {
            *makerNoteLeftOut = true;
            continue;
        }
        if (group == "Image" && tag == kXmpPacket) *xmpPacket = valueBytes(d, fenced.order);
        if (group == "Image" && tag == kIptc) *iptcBlock = valueBytes(d, fenced.order);
        if (group == "Image" && isStorageOrEmbeddedTag(tag)) continue;
        if (fenced.hidden.tags.contains(d.tag())) continue;  // other embedded blocks stay behind
        exif.add(d);
    }
}

// The library's parse of the photo's EXIF: the one it was read with, or a parse of its own when
// that one was let go.
std::shared_ptr<const FencedExif> parsedExif(const PhotoMetadata& photo, const QByteArray& tiff)
{
    photo.rethrowExifFailure();
    if (photo.exif()) return std::shared_ptr<const FencedExif>(photo.exif(), [](auto*) {});
    return std::make_shared<const FencedExif>(decodeFencedExif(tiff));
}

// A JPEG's or HEIF's EXIF block: kept in place when its maker note needs it, else rebuilt. It is
// read through the library either way, so that a block the library cannot read is not carried.
void takeExifBlock(const PhotoMetadata& photo, Exiv2::ExifData& exif,
                   std::optional<KeptExifBlock>* block, bool* makerNoteLeftOut)
{
    QByteArray xmpPacket, iptcBlock;  // the copy takes these from their own segments only
    const QByteArray& tiff = photo.exifBlock();
    const std::shared_ptr<const FencedExif> fenced = parsedExif(photo, tiff);
    if (KeptExifBlock::keep(tiff, block) != KeptExifBlock::Outcome::Kept)
        takeExif(*fenced, exif, &xmpPacket, &iptcBlock, makerNoteLeftOut);
}

}  // namespace

std::shared_ptr<const KeptMetadata> KeptMetadata::read(const QByteArray& photo)
{
    return read(*PhotoMetadata::read(photo, PhotoMetadata::ExifParse::Kept));
}

std::shared_ptr<const KeptMetadata> KeptMetadata::read(const PhotoMetadata& photo)
{
    std::shared_ptr<KeptMetadata> kept(new KeptMetadata);
    Data& d = *kept->d_;
    const ExivLock lock;
    try {
        switch (photo.kind()) {
        case PhotoKind::Jpeg: {
            if (!photo.exifBlock().isEmpty())
                takeExifBlock(photo, d.exif, &d.exifBlock, &d.makerNoteLeftOut);
            // XMP and IPTC are read by the library from a photo of just those segments.
            QByteArray carrier("\xFF\xD8", 2);
            for (const SegmentSpan& span : photo.segments()) {
                const JpegSegment s{span.marker, photo.payload(span)};
                if (isXmpSegment(s) || isIptcSegment(s)) carrier += withSegment(s);
            }
            carrier += QByteArray("\xFF\xD9", 2);
            if (carrier.size() > 4) {
                Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(
                    reinterpret_cast<const Exiv2::byte*>(carrier.constData()),
                    long(carrier.size()));
                image->readMetadata();
                d.xmp = image->xmpData();
                d.iptc = image->iptcData();
            }
            break;
        }
        case PhotoKind::Heif:
            // A phone's HEIC: its EXIF block; the copy is upright, as the decoder turned it.
            photo.rethrowExifFailure();
            if (!photo.exifBlock().isEmpty())
                takeExifBlock(photo, d.exif, &d.exifBlock, &d.makerNoteLeftOut);
            break;
        case PhotoKind::Tiff: {
            // A TIFF file's maker note lies among its pictures: it cannot go with the copy.
            QByteArray xmpPacket, iptcBlock;
            photo.rethrowExifFailure();
            if (!photo.exif()) throw std::runtime_error("EXIF");
            takeExif(*photo.exif(), d.exif, &xmpPacket, &iptcBlock, &d.makerNoteLeftOut);
            if (!xmpPacket.isEmpty() &&
                Exiv2::XmpParser::decode(d.xmp, xmpPacket.toStdString()) != 0)
                throw std::runtime_error("XMP");
            if (!iptcBlock.isEmpty() &&
                Exiv2::IptcParser::decode(
                    d.iptc, reinterpret_cast<const Exiv2::byte*>(iptcBlock.constData()),
                    uint32_t(iptcBlock.size())) != 0)
                throw std::runtime_error("IPTC");
            break;
        }
        case PhotoKind::Other: break;
        }
    } catch (const std::exception& e) {
        d = Data();
        d.failure = libraryText(e);
    } catch (...) {
        d = Data();
        d.failure = QStringLiteral("?");
    }
    return kept;
}

bool KeptMetadata::leavesOutMakerNote() const
{
    return d_->makerNoteLeftOut && d_->failure.isEmpty();
}

QList<JpegSegment> KeptMetadata::segmentsFor(QSize size, QString* problem, int orientation) const
{
    if (!d_->failure.isEmpty()) {
        if (problem) *problem = d_->failure;
        return {};
    }
    QList<JpegSegment> segments;
    if (d_->exifBlock)
        segments << JpegSegment{
            0xE1, QByteArray("Exif\0\0", 6) + d_->exifBlock->forCopy(size, orientation)};
    if (d_->exif.empty() && d_->xmp.empty() && d_->iptc.empty()) return segments;
    const ExivLock lock;
    try {
        Exiv2::ExifData exif = d_->exif;
        if (!exif.empty()) {
            // The picture is of its own size now, and upright or turned by its orientation.
            exif["Exif.Image.Orientation"] = uint16_t(orientation);
            exif["Exif.Photo.PixelXDimension"] = uint32_t(size.width());
            exif["Exif.Photo.PixelYDimension"] = uint32_t(size.height());
            Exiv2::ExifThumb(exif).erase();
        }
        Exiv2::XmpData xmp = d_->xmp;
        setIfPresent(xmp, "Xmp.tiff.Orientation", std::to_string(orientation));
        setIfPresent(xmp, "Xmp.exif.PixelXDimension", std::to_string(size.width()));
        setIfPresent(xmp, "Xmp.exif.PixelYDimension", std::to_string(size.height()));
        setIfPresent(xmp, "Xmp.tiff.ImageWidth", std::to_string(size.width()));
        setIfPresent(xmp, "Xmp.tiff.ImageLength", std::to_string(size.height()));

        const QByteArray& carrier = carrierJpeg();
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(
            reinterpret_cast<const Exiv2::byte*>(carrier.constData()), long(carrier.size()));
        image->setExifData(exif);
        image->setXmpData(xmp);
        image->setIptcData(d_->iptc);
        image->writeMetadata();
        Exiv2::BasicIo& io = image->io();
        io.seek(0, Exiv2::BasicIo::beg);
        const Exiv2::DataBuf written = io.read(long(io.size()));
        const QByteArray out(reinterpret_cast<const char*>(written.pData_), written.size_);
        for (const JpegSegment& s : segmentsBeforeScan(out))
            if (isExifSegment(s) || isXmpSegment(s) || isIptcSegment(s)) segments << s;
        return segments;
    } catch (const std::exception& e) {
        if (problem) *problem = libraryText(e);
    } catch (...) {
        if (problem) *problem = QStringLiteral("?");
    }
    return {};
}

}  // namespace orvello
