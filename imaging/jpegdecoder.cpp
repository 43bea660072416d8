#include "imaging/jpegdecoder.h"

#include "components/photometadata.h"
#include "components/tiffbytes.h"

#include <turbojpeg.h>
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <optional>

#include <jpeglib.h>
#include <QCoreApplication>

namespace orvello {

namespace {

qint64 roundUpDiv(qint64 a, qint64 b)
{
    return (a + b - 1) / b;
}

struct TjHandle {
    tjhandle h = tjInitDecompress();
    ~TjHandle()
    {
        if (h) tjDestroy(h);
    }
};

bool isFrameMarker(uchar m)
{
    return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
}

// Turns the decoded C, M, Y, K bytes of each pixel into RGB32 in place. Adobe's files store the
// inks inverted (255 is no ink); YCCK comes out of the decoder that way too.
void cmykToRgb(QImage& image, bool inverted)
{
    const auto mul = [](uint a, uint b) { return (a * b + 127) / 255; };
    for (int y = 0; y < image.height(); ++y) {
        auto* px = reinterpret_cast<quint32*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            uchar p[4];
            std::memcpy(p, px + x, 4);
            uint c = p[0], m = p[1], ye = p[2], k = p[3];
            if (!inverted) c = 255 - c, m = 255 - m, ye = 255 - ye, k = 255 - k;
            px[x] = 0xFF000000u | (mul(c, k) << 16) | (mul(m, k) << 8) | mul(ye, k);
        }
    }
}

QString decoderText(tjhandle h)
{
    return QString::fromLocal8Bit(tjGetErrorStr2(h));
}

}  // namespace

qint64 JpegLayout::minimumBytes() const
{
    if (!valid || components.isEmpty()) return 0;
    int hmax = 1, vmax = 1;
    for (const Component& c : components) hmax = std::max(hmax, c.h), vmax = std::max(vmax, c.v);
    qint64 blocks = 0;
    for (const Component& c : components)
        blocks += roundUpDiv(roundUpDiv(qint64(width) * c.h, hmax), 8) *
                  roundUpDiv(roundUpDiv(qint64(height) * c.v, vmax), 8);
    return decode::minimumCodedBytes(
        blocks * 64, arithmetic ? decode::Coding::Arithmetic : decode::Coding::Huffman);
}

qint64 JpegLayout::allCoefficientBytes() const
{
    if (!valid) return 0;
    int hmax = 1, vmax = 1;
    for (const Component& c : components) hmax = std::max(hmax, c.h), vmax = std::max(vmax, c.v);
    qint64 bytes = 0;
    for (const Component& c : components) {
        // Rows and columns of blocks, padded to whole MCUs, 64 coefficients of 2 bytes each.
        const qint64 wide =
            roundUpDiv(roundUpDiv(qint64(width) * c.h, qint64(hmax) * 8), c.h) * c.h;
        const qint64 high =
            roundUpDiv(roundUpDiv(qint64(height) * c.v, qint64(vmax) * 8), c.v) * c.v;
        bytes += wide * high * 128;
    }
    return bytes;
}

qint64 JpegLayout::coefficientBytes() const
{
    const bool multiScan = progressive || firstScanComponents < components.size();
    return valid && multiScan ? allCoefficientBytes() : 0;
}

namespace {

// Where the entropy-coded data that starts at pos ends: at the first marker other than a stuffed
// zero or a restart marker (or at the end of the bytes).
qint64 endOfCodedData(const uchar* b, qint64 n, qint64 pos)
{
    while (pos < n) {
        const auto* ff = static_cast<const uchar*>(std::memchr(b + pos, 0xFF, size_t(n - pos)));
        if (!ff) return n;
        pos = ff - b;
        if (pos + 1 >= n) return n;
        const uchar next = b[pos + 1];
        if (next == 0x00 || (next >= 0xD0 && next <= 0xD7) || next == 0xFF)
            pos += next == 0xFF ? 1 : 2;
        else
            return pos;
    }
    return n;
}

}  // namespace

JpegLayout readJpegLayout(const QByteArray& jpeg)
{
    JpegLayout layout;
    const auto* b = reinterpret_cast<const uchar*>(jpeg.constData());
    const qint64 n = jpeg.size();
    qint64 pos = 2;
    bool inScans = false;
    while (pos + 4 <= n) {
        if (b[pos] != 0xFF) {  // stray bytes: the decoder skips them to the next marker
            ++pos;
            continue;
        }
        const uchar marker = b[pos + 1];
        if (marker == 0xFF) {
            ++pos;
            continue;
        }
        if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {
            pos += 2;
            continue;
        }
        if (marker == 0xD9) break;
        const qint64 length = (b[pos + 2] << 8) | b[pos + 3];
        const uchar* p = b + pos + 4;
        const qint64 have = std::min<qint64>(length - 2, n - pos - 4);
        if (isFrameMarker(marker) && !layout.valid && have >= 6) {
            layout.height = (p[1] << 8) | p[2];
            layout.width = (p[3] << 8) | p[4];
            const int count = p[5];
            for (int i = 0; i < count && 6 + 3 * i + 2 < have; ++i) {
                const uchar hv = p[6 + 3 * i + 1];
                layout.components << JpegLayout::Component{std::max(1, hv >> 4),
                                                           std::max(1, hv & 15)};
            }
            layout.progressive =
                marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
            layout.arithmetic = marker >= 0xC9;
            layout.valid = !layout.components.isEmpty();
        } else if (marker == 0xEE && have >= 12 && !inScans && std::memcmp(p, "Adobe", 5) == 0) {
            layout.adobe = true;
        } else if (marker == 0xDA) {
            if (have >= 1 && !inScans) layout.firstScanComponents = p[0];
            inScans = true;
            const qint64 start = std::min(pos + 2 + std::max<qint64>(length, 2), n);
            const qint64 end = endOfCodedData(b, n, start);
            layout.codedBytes += end - start;
            pos = end;
            continue;
        }
        pos += 2 + std::max<qint64>(length, 2);
    }
    return layout;
}

namespace {

constexpr int kMaxScans = 500;  // as TurboJPEG's scan limit

// Arithmetic-coded files, and those sampled in ways TurboJPEG does not take (3x1, 1x4, chroma
// sampled finer than luma: all valid), go through libjpeg itself, which lets us watch the
// decoder. Hitting a marker is legal in arithmetic coding (the decoder then feeds itself zeros),
// so a scan cut short and closed with an end marker decodes without a word; a watch on the
// progress sees it. In Huffman coding the same damage is a warning.
struct LibjpegWatch {
    jpeg_progress_mgr base{};
    jpeg_error_mgr errors{};
    std::jmp_buf jump;
    bool warned = false;  // libjpeg reported damage it decoded around
    // The first picture row decoded from the zeros fed in after the data of a scan holding the
    // DC values ended (only refinement scans of flat areas legitimately end that early), or -1.
    int filledFrom = -1;
    bool tooManyScans = false;
    char message[JMSG_LENGTH_MAX] = {};
};

LibjpegWatch& watchOf(j_common_ptr info)
{
    return *reinterpret_cast<LibjpegWatch*>(info->progress);
}

[[noreturn]] void onFatal(j_common_ptr info)
{
    LibjpegWatch& w = watchOf(info);
    (*info->err->format_message)(info, w.message);
    std::longjmp(w.jump, 1);
}

void onMessage(j_common_ptr info, int level)
{
    if (level < 0) watchOf(info).warned = true;
}

void onProgress(j_common_ptr info)
{
    auto* d = reinterpret_cast<j_decompress_ptr>(info);
    LibjpegWatch& w = watchOf(info);
    if (d->input_scan_number > kMaxScans) {
        w.tooManyScans = true;
        std::longjmp(w.jump, 1);
    }
    // The decoder met the next marker while rows of this scan were still to come.
    const bool holdsDc = !d->progressive_mode || d->Ss == 0;
    if (w.filledFrom < 0 && holdsDc && d->unread_marker != 0 &&
        d->input_iMCU_row + 1 < d->total_iMCU_rows)
        w.filledFrom = int(d->input_iMCU_row) * d->max_v_samp_factor * DCTSIZE;
}

void watch(jpeg_decompress_struct& cinfo, LibjpegWatch& w)
{
    cinfo.err = jpeg_std_error(&w.errors);
    w.errors.error_exit = onFatal;
    w.errors.emit_message = onMessage;
    w.base.progress_monitor = onProgress;
}

// Rows decoded from zeros repeat the row above when the encoder left out a flat end (it drops
// the zero bytes a flat area codes to); anything else there is made up.
bool madeUpRows(const QImage& image, int from)
{
    if (from < 0) return false;
    // Smoothing between sample rows reaches a few rows past where the flat part starts.
    const int last = image.height() - 1;
    const auto bytes = size_t(image.width()) * 4;
    for (int y = from + DCTSIZE; y < last; ++y)
        if (std::memcmp(image.constScanLine(y), image.constScanLine(last), bytes) != 0) return true;
    return false;
}

// No C++ object with a destructor lives across the setjmp: the caller owns the picture.
bool decodeThroughLibjpeg(const QByteArray& jpeg, QImage& image, bool cmyk, LibjpegWatch& w)
{
    jpeg_decompress_struct cinfo;
    watch(cinfo, w);
    if (setjmp(w.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.progress = &w.base;
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                 static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
    jpeg_start_decompress(&cinfo);
    if (int(cinfo.output_width) != image.width() || int(cinfo.output_height) != image.height()) {
        std::snprintf(w.message, sizeof w.message, "frame size changed");
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW rows[16];
        const int n = std::min<int>(16, int(cinfo.output_height - cinfo.output_scanline));
        for (int i = 0; i < n; ++i) rows[i] = image.scanLine(int(cinfo.output_scanline) + i);
        jpeg_read_scanlines(&cinfo, rows, JDIMENSION(n));
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

QString undecodable(const QString& why)
{
    return QCoreApplication::translate("imaging", "JPEG 图像数据无法解码（%1）").arg(why);
}

// What the header says, or why the file is refused before anything is allocated for it.
struct CheckedJpeg {
    QString refusal;
    int width = 0, height = 0, colorspace = 0;  // colorspace: TJCS_…
    bool viaLibjpeg = false;                    // TurboJPEG cannot decode the sampling
    JpegLayout layout;
};

int turboColorspace(J_COLOR_SPACE space)
{
    switch (space) {
    case JCS_GRAYSCALE: return TJCS_GRAY;
    case JCS_RGB: return TJCS_RGB;
    case JCS_CMYK: return TJCS_CMYK;
    case JCS_YCCK: return TJCS_YCCK;
    default: return TJCS_YCbCr;
    }
}

// The header as libjpeg reads it, for files TurboJPEG's header reader turns down.
bool readLibjpegHeader(const QByteArray& jpeg, CheckedJpeg& c)
{
    jpeg_decompress_struct cinfo;
    LibjpegWatch w;
    watch(cinfo, w);
    if (setjmp(w.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.progress = &w.base;
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                 static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&cinfo, TRUE);
    c.width = int(cinfo.image_width);
    c.height = int(cinfo.image_height);
    c.colorspace = turboColorspace(cinfo.jpeg_color_space);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

CheckedJpeg checkJpeg(tjhandle h, const QByteArray& jpeg)
{
    CheckedJpeg c;
    auto* data = reinterpret_cast<const unsigned char*>(jpeg.constData());
    const auto size = static_cast<unsigned long>(jpeg.size());
    int subsampling = 0;
    if (tjDecompressHeader3(h, data, size, &c.width, &c.height, &subsampling, &c.colorspace) != 0) {
        c.viaLibjpeg = readLibjpegHeader(jpeg, c);
        if (!c.viaLibjpeg) {
            c.refusal = QCoreApplication::translate("imaging", "JPEG 文件头已损坏（%1）")
                            .arg(decoderText(h));
            return c;
        }
    }
    c.layout = readJpegLayout(jpeg);
    // Without a readable frame header of our own, assume the costliest layout.
    const qint64 work = c.layout.valid ? c.layout.coefficientBytes()
                                       : qint64(c.width) * c.height * kMaxWorkBytesPerPixel;
    c.refusal = decode::checkBudget(c.width, c.height, work, jpeg.size());
    if (c.refusal.isEmpty() && c.layout.codedBytes < c.layout.minimumBytes())
        c.refusal =
            decode::tooSmall(c.layout.codedBytes, c.width, c.height, c.layout.minimumBytes());
    return c;
}

bool isCmyk(int colorspace)
{
    return colorspace == TJCS_CMYK || colorspace == TJCS_YCCK;
}

}  // namespace

DecodedPhoto decodeJpeg(const QByteArray& jpeg, QImage reuse)
{
    TjHandle tj;
    if (!tj.h)
        return decode::refused(QCoreApplication::translate("imaging", "JPEG 解码器无法启动"));
    auto* data = reinterpret_cast<const unsigned char*>(jpeg.constData());
    const auto size = static_cast<unsigned long>(jpeg.size());
    const CheckedJpeg checked = checkJpeg(tj.h, jpeg);
    if (!checked.refusal.isEmpty()) return decode::refused(checked.refusal);
    const int width = checked.width, height = checked.height, colorspace = checked.colorspace;
    const JpegLayout& layout = checked.layout;

    const bool fits = reuse.size() == QSize(width, height) &&
                      reuse.format() == QImage::Format_RGB32 && reuse.isDetached();
    QImage image = fits ? std::move(reuse) : QImage(width, height, QImage::Format_RGB32);
    reuse = QImage();
    if (image.isNull()) return decode::refused(decode::outOfMemory(width, height));
    const bool cmyk = isCmyk(colorspace);
    bool incomplete = false;
    if (layout.arithmetic || checked.viaLibjpeg) {
        LibjpegWatch watch;
        if (!decodeThroughLibjpeg(jpeg, image, cmyk, watch))
            return decode::refused(undecodable(
                watch.tooManyScans
                    ? QCoreApplication::translate("imaging", "超过 %1 次扫描").arg(kMaxScans)
                    : QString::fromLocal8Bit(watch.message)));
        incomplete = watch.warned || (layout.arithmetic && madeUpRows(image, watch.filledFrom));
    } else {
        // BGRA on a little-endian machine is QImage's 0xAARRGGBB, with the alpha filled in as
        // opaque. CMYK takes the same 4 bytes a pixel and is turned into RGB in place.
        const int rc =
            tjDecompress2(tj.h, data, size, image.bits(), width, int(image.bytesPerLine()), height,
                          cmyk ? TJPF_CMYK : TJPF_BGRA, TJFLAG_LIMITSCANS);
        if (rc != 0) {
            if (tjGetErrorCode(tj.h) != TJERR_WARNING)
                return decode::refused(undecodable(decoderText(tj.h)));
            // A warning still leaves a full-size image with the missing part filled in.
            incomplete = true;
        }
    }
    if (cmyk) cmykToRgb(image, layout.adobe || colorspace == TJCS_YCCK);
    return {std::move(image), incomplete, {}};
}

DecodedPhoto decodeJpegReduced(const QByteArray& jpeg, int longSideAtLeast)
{
    TjHandle tj;
    if (!tj.h) return {};
    const CheckedJpeg checked = checkJpeg(tj.h, jpeg);
    if (!checked.refusal.isEmpty() || checked.layout.arithmetic || checked.viaLibjpeg) return {};
    int count = 0;
    const tjscalingfactor* factors = tjGetScalingFactors(&count);
    const int longSide = std::max(checked.width, checked.height);
    tjscalingfactor best = {1, 1};
    for (int i = 0; factors && i < count; ++i) {
        const tjscalingfactor f = factors[i];
        if (f.num * best.denom < best.num * f.denom && TJSCALED(longSide, f) >= longSideAtLeast)
            best = f;
    }
    if (best.num == best.denom) return {};  // nothing to gain
    const int width = TJSCALED(checked.width, best);
    const int height = TJSCALED(checked.height, best);
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) return {};
    const bool cmyk = isCmyk(checked.colorspace);
    const int rc = tjDecompress2(tj.h, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                                 static_cast<unsigned long>(jpeg.size()), image.bits(), width,
                                 int(image.bytesPerLine()), height, cmyk ? TJPF_CMYK : TJPF_BGRA,
                                 TJFLAG_LIMITSCANS);
    if (rc != 0 && tjGetErrorCode(tj.h) != TJERR_WARNING) return {};
    if (cmyk) cmykToRgb(image, checked.layout.adobe || checked.colorspace == TJCS_YCCK);
    return {std::move(image), rc != 0, {}};
}

}  // namespace orvello

namespace orvello {

namespace {

// MPF image types that are a smaller copy of the photo (not another view of a stereo pair or a
// panorama's frame).
constexpr quint32 kMpfLargeThumbnailVga = 0x010001;
constexpr quint32 kMpfLargeThumbnailFullHd = 0x010002;
constexpr int kMaxMpfImages = 64;
constexpr int kMaxPreviewDecodes = 3;

bool isTiffHeader(const QByteArray& t)
{
    return t.startsWith(QByteArrayLiteral("II*\0")) || t.startsWith(QByteArrayLiteral("MM\0*"));
}

// Calls visit(tag, type, count, position of the value field) for each entry of the directory at
// ifd, as far as the entries lie within the bytes.
template <typename Visit>
void forEachEntry(const TiffBytes& t, qint64 ifd, Visit visit)
{
    const auto entries = t.u16(ifd);
    for (qint64 i = 0; entries && i < *entries; ++i) {
        const qint64 at = ifd + 2 + 12 * i;
        const auto tag = t.u16(at), type = t.u16(at + 2), count = t.u32(at + 4);
        if (!tag || !type || !count || at + 12 > t.size()) return;
        visit(*tag, *type, *count, at + 8);
    }
}

std::optional<quint32> shortOrLong(const TiffBytes& t, quint32 type, qint64 field)
{
    return type == 3 ? t.u16(field) : type == 4 ? t.u32(field) : std::nullopt;
}

// Keeps the span when it lies between 0 and end and starts as a JPEG does.
void addSpan(const QByteArray& jpeg, qint64 offset, qint64 length, qint64 end,
             QList<EmbeddedJpeg>& out)
{
    if (offset < 0 || length < 4 || offset > end - length) return;
    if (uchar(jpeg[offset]) != 0xFF || uchar(jpeg[offset + 1]) != 0xD8) return;
    out << EmbeddedJpeg{offset, length};
}

// The thumbnail of the second directory; its offset counts from the TIFF header at base and it
// must lie within the segment, which ends at end.
void addExifThumbnail(const QByteArray& jpeg, qint64 base, qint64 end, QList<EmbeddedJpeg>& out)
{
    QByteArray tiff = QByteArray::fromRawData(jpeg.constData() + base, end - base);
    if (!isTiffHeader(tiff)) return;
    const TiffBytes t(tiff);
    const auto first = t.u32(4);
    const auto entries = first ? t.u16(*first) : std::nullopt;
    const auto second = entries ? t.u32(*first + 2 + 12 * qint64(*entries)) : std::nullopt;
    if (!second || *second == 0) return;
    std::optional<quint32> offset, length;
    forEachEntry(t, *second, [&](quint32 tag, quint32 type, quint32, qint64 field) {
        if (tag == 0x0201) offset = shortOrLong(t, type, field);
        if (tag == 0x0202) length = shortOrLong(t, type, field);
    });
    if (offset && length) addSpan(jpeg, base + *offset, *length, end, out);
}

// The images an MPF index lists after the first (the photo itself); their offsets count from the
// index's TIFF header at base, and they follow the photo's data in the file.
void addMpfImages(const QByteArray& jpeg, qint64 base, qint64 end, QList<EmbeddedJpeg>& out)
{
    QByteArray index = QByteArray::fromRawData(jpeg.constData() + base, end - base);
    if (!isTiffHeader(index)) return;
    const TiffBytes t(index);
    const auto first = t.u32(4);
    if (!first) return;
    std::optional<quint32> table;
    qint64 images = 0;
    forEachEntry(t, *first, [&](quint32 tag, quint32, quint32 count, qint64 field) {
        if (tag != 0xB002 || count < 32) return;  // each image's entry takes 16 bytes
        table = t.u32(field);
        images = std::min<qint64>(count / 16, kMaxMpfImages);
    });
    for (qint64 i = 1; table && i < images; ++i) {
        const qint64 at = qint64(*table) + 16 * i;
        const auto attribute = t.u32(at), size = t.u32(at + 4), offset = t.u32(at + 8);
        if (!attribute || !size || !offset) return;
        const quint32 format = (*attribute >> 24) & 7, kind = *attribute & 0xFFFFFF;
        if (format == 0 && (kind == kMpfLargeThumbnailVga || kind == kMpfLargeThumbnailFullHd))
            addSpan(jpeg, base + *offset, *size, jpeg.size(), out);
    }
}

QSize headerSize(tjhandle h, const QByteArray& jpeg)
{
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    if (tjDecompressHeader3(h, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                            static_cast<unsigned long>(jpeg.size()), &width, &height, &subsampling,
                            &colorspace) != 0)
        return {};
    return {width, height};
}

}  // namespace

QList<EmbeddedJpeg> embeddedJpegs(const QByteArray& jpeg)
{
    QList<EmbeddedJpeg> out;
    const auto* b = reinterpret_cast<const uchar*>(jpeg.constData());
    const qint64 n = jpeg.size();
    if (n < 4 || b[0] != 0xFF || b[1] != 0xD8) return out;
    // Only the segments before the first scan; a damaged one ends the search.
    for (const SegmentSpan& segment : jpegSegmentSpans(jpeg)) {
        const qint64 start = segment.offset, end = segment.offset + segment.size;
        if (segment.marker == 0xE1 && end - start >= 14 &&
            std::memcmp(b + start, "Exif\0\0", 6) == 0)
            addExifThumbnail(jpeg, start + 6, end, out);
        else if (segment.marker == 0xE2 && end - start >= 12 &&
                 std::memcmp(b + start, "MPF\0", 4) == 0)
            addMpfImages(jpeg, start + 4, end, out);
    }
    return out;
}

DecodedPhoto decodeEmbeddedPreview(const QByteArray& jpeg, int longSideAtLeast)
{
    TjHandle tj;
    if (!tj.h) return {};
    const QSize photo = headerSize(tj.h, jpeg);
    if (photo.isEmpty()) return {};
    struct Candidate {
        QByteArray bytes;
        QSize size;
    };
    QList<Candidate> fitting;
    for (const EmbeddedJpeg& e : embeddedJpegs(jpeg)) {
        Candidate c{QByteArray::fromRawData(jpeg.constData() + e.offset, e.length), {}};
        c.size = headerSize(tj.h, c.bytes);
        if (c.size.isEmpty() || std::max(c.size.width(), c.size.height()) < longSideAtLeast)
            continue;
        // Proportions within 1 %, which leaves room for rounding but not for bars.
        const qint64 across = qint64(c.size.width()) * photo.height();
        if (std::abs(across - qint64(c.size.height()) * photo.width()) * 100 > across) continue;
        if (qint64(c.size.width()) * c.size.height() * 4 > qint64(photo.width()) * photo.height())
            continue;  // no quicker than the photo at a reduced scale
        fitting << c;
    }
    std::sort(fitting.begin(), fitting.end(), [](const Candidate& a, const Candidate& b) {
        return qint64(a.size.width()) * a.size.height() < qint64(b.size.width()) * b.size.height();
    });
    // A few at most: a file may list many, and the photo itself is on its way.
    for (const Candidate& c : fitting.mid(0, kMaxPreviewDecodes)) {
        DecodedPhoto decoded = decodeJpeg(c.bytes);
        if (!decoded.image.isNull() && !decoded.incomplete && decoded.image.size() == c.size)
            return decoded;
    }
    return {};
}

}  // namespace orvello
