#include "components/keptmetadata.h"

#include "components/exiffence.h"
#include "components/exifreader.h"
#include "components/exivguard.h"
#include "components/heifcontainer.h"
#include "components/imageformat.h"

#include <QImage>
#include <exiv2/exiv2.hpp>
#include <mutex>
#include <set>

namespace orvello {

namespace {

constexpr quint16 kMakerNote = 0x927C, kXmpPacket = 0x02BC, kIptc = 0x83BB;

// The metadata library's XMP toolkit is not thread-safe, and the batch reads and writes on every
// core: all of this file's work with the library goes one photo at a time.
std::mutex& libraryLock()
{
    static std::mutex lock;
    return lock;
}

// The segments before the first scan, marker and payload.
QList<JpegSegment> segmentsBeforeScan(const QByteArray& jpeg)
{
    QList<JpegSegment> out;
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
        out << JpegSegment{marker, jpeg.mid(pos + 4, length - 2)};
        pos += 2 + length;
    }
    return out;
}

bool isXmpSegment(const JpegSegment& s)
{
    return s.marker == 0xE1 && s.payload.startsWith("http://ns.adobe.com/xap/1.0/");
}

bool isIptcSegment(const JpegSegment& s)
{
    return s.marker == 0xED && s.payload.startsWith("Photoshop 3.0");
}

bool isExifSegment(const JpegSegment& s)
{
    return s.marker == 0xE1 && s.payload.startsWith(QByteArray("Exif\0", 5));
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

// Primary-directory items that describe a TIFF file's own storage: wrong for a JPEG copy.
const std::set<quint16>& tiffStorageTags()
{
    static const std::set<quint16> tags = {
        0x00FE, 0x00FF, 0x0100, 0x0101, 0x0102, 0x0103, 0x0106, 0x010A, 0x0111,     0x0115,
        0x0116, 0x0117, 0x011C, 0x013D, 0x0140, 0x0142, 0x0143, 0x0144, 0x0145,     0x014A,
        0x0152, 0x0153, 0x015B, 0x0201, 0x0202, 0x8649, 0x8773, 0xC634, kXmpPacket, kIptc};
    return tags;
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

struct KeptMetadata::Data {
    Exiv2::ExifData exif;
    Exiv2::XmpData xmp;
    Exiv2::IptcData iptc;
    QString failure;  // set when the photo's metadata cannot be read
};

KeptMetadata::KeptMetadata() : d_(std::make_unique<Data>()) {}
KeptMetadata::~KeptMetadata() = default;

namespace {

// The photo's EXIF as the copy may carry it: the fenced entries put back where they belong (the
// maker note as its bytes, an embedded XMP packet or IPTC block handed out), and only the
// primary, EXIF, GPS and interoperability directories kept.
void takeExif(FencedExif fenced, Exiv2::ExifData& exif, QByteArray* xmpPacket,
              QByteArray* iptcBlock)
{
    for (const Exiv2::Exifdatum& d : fenced.data) {
        const std::string group = d.groupName();
        if (group != "Image" && group != "Photo" && group != "GPSInfo" && group != "Iop") continue;
        // A value shortened because many entries shared its bytes is not the photo's own.
        if (fenced.hidden.counts.contains(d.tag())) continue;
        const quint16 tag = fenced.hidden.tags.value(d.tag(), d.tag());
        if (tag == kMakerNote && group == "Photo") {
            const QByteArray note = valueBytes(d, fenced.order);
            Exiv2::DataValue value(Exiv2::undefined);
            value.read(reinterpret_cast<const Exiv2::byte*>(note.constData()), long(note.size()),
                       fenced.order);
            exif.add(Exiv2::ExifKey("Exif.Photo.MakerNote"), &value);
            continue;
        }
        if (group == "Image" && tag == kXmpPacket) *xmpPacket = valueBytes(d, fenced.order);
        if (group == "Image" && tag == kIptc) *iptcBlock = valueBytes(d, fenced.order);
        if (group == "Image" && tiffStorageTags().count(tag)) continue;
        if (fenced.hidden.tags.contains(d.tag())) continue;  // other embedded blocks stay behind
        exif.add(d);
    }
}

}  // namespace

std::shared_ptr<const KeptMetadata> KeptMetadata::read(const QByteArray& photo)
{
    std::shared_ptr<KeptMetadata> kept(new KeptMetadata);
    Data& d = *kept->d_;
    const std::lock_guard lock(libraryLock());
    silenceExiv2();
    try {
        QByteArray xmpPacket, iptcBlock;
        if (looksLikeJpeg(photo)) {
            const QByteArrayView block = findExifBlock(photo);
            if (!block.isEmpty())
                takeExif(decodeFencedExif(block.toByteArray()), d.exif, &xmpPacket, &iptcBlock);
            // XMP and IPTC are read by the library from a photo of just those segments.
            QByteArray carrier("\xFF\xD8", 2);
            for (const JpegSegment& s : segmentsBeforeScan(photo))
                if (isXmpSegment(s) || isIptcSegment(s)) carrier += withSegment(s);
            carrier += QByteArray("\xFF\xD9", 2);
            if (carrier.size() > 4) {
                Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(
                    reinterpret_cast<const Exiv2::byte*>(carrier.constData()),
                    long(carrier.size()));
                image->readMetadata();
                d.xmp = image->xmpData();
                d.iptc = image->iptcData();
            }
        } else if (looksLikeHeif(photo)) {
            // A phone's HEIC: its EXIF block; the copy is upright, as the decoder turned it.
            const QByteArray tiff = heifExifTiff(photo);
            if (!tiff.isEmpty()) takeExif(decodeFencedExif(tiff), d.exif, &xmpPacket, &iptcBlock);
        } else if (looksLikeTiff(photo)) {
            takeExif(decodeFencedExif(photo), d.exif, &xmpPacket, &iptcBlock);
            if (!xmpPacket.isEmpty() &&
                Exiv2::XmpParser::decode(d.xmp, xmpPacket.toStdString()) != 0)
                throw std::runtime_error("XMP");
            if (!iptcBlock.isEmpty() &&
                Exiv2::IptcParser::decode(
                    d.iptc, reinterpret_cast<const Exiv2::byte*>(iptcBlock.constData()),
                    uint32_t(iptcBlock.size())) != 0)
                throw std::runtime_error("IPTC");
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

QList<JpegSegment> KeptMetadata::segmentsFor(QSize size, QString* problem) const
{
    if (!d_->failure.isEmpty()) {
        if (problem) *problem = d_->failure;
        return {};
    }
    if (d_->exif.empty() && d_->xmp.empty() && d_->iptc.empty()) return {};
    const std::lock_guard lock(libraryLock());
    try {
        Exiv2::ExifData exif = d_->exif;
        if (!exif.empty()) {
            // The picture is upright and of its own size now.
            exif["Exif.Image.Orientation"] = uint16_t(1);
            exif["Exif.Photo.PixelXDimension"] = uint32_t(size.width());
            exif["Exif.Photo.PixelYDimension"] = uint32_t(size.height());
            Exiv2::ExifThumb(exif).erase();
        }
        Exiv2::XmpData xmp = d_->xmp;
        setIfPresent(xmp, "Xmp.tiff.Orientation", "1");
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
        QList<JpegSegment> segments;
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
