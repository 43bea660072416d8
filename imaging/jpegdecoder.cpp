#include "imaging/jpegdecoder.h"

#include <turbojpeg.h>
#include <algorithm>
#include <cstring>

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
    if (!valid || arithmetic || components.isEmpty()) return 0;
    int hmax = 1, vmax = 1;
    for (const Component& c : components) hmax = std::max(hmax, c.h), vmax = std::max(vmax, c.v);
    qint64 blocks = 0;
    for (const Component& c : components)
        blocks += roundUpDiv(roundUpDiv(qint64(width) * c.h, hmax), 8) *
                  roundUpDiv(roundUpDiv(qint64(height) * c.v, vmax), 8);
    return roundUpDiv(blocks, 8);
}

qint64 JpegLayout::coefficientBytes() const
{
    if (!valid) return 0;
    const bool multiScan = progressive || firstScanComponents < components.size();
    if (!multiScan) return 0;
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

JpegLayout readJpegLayout(const QByteArray& jpeg)
{
    JpegLayout layout;
    const auto* b = reinterpret_cast<const uchar*>(jpeg.constData());
    const qint64 n = jpeg.size();
    qint64 pos = 2;
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
        } else if (marker == 0xEE && have >= 12 && std::memcmp(p, "Adobe", 5) == 0) {
            layout.adobe = true;
        } else if (marker == 0xDA) {
            if (have >= 1) layout.firstScanComponents = p[0];
            break;
        }
        pos += 2 + std::max<qint64>(length, 2);
    }
    return layout;
}

DecodedPhoto decodeJpeg(const QByteArray& jpeg, QImage reuse)
{
    TjHandle tj;
    if (!tj.h) return decode::refused(QStringLiteral("JPEG 解码器无法启动"));
    auto* data = reinterpret_cast<const unsigned char*>(jpeg.constData());
    const auto size = static_cast<unsigned long>(jpeg.size());
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    if (tjDecompressHeader3(tj.h, data, size, &width, &height, &subsampling, &colorspace) != 0)
        return decode::refused(QStringLiteral("JPEG 文件头已损坏（%1）").arg(decoderText(tj.h)));

    const JpegLayout layout = readJpegLayout(jpeg);
    // Without a readable frame header of our own, assume the costliest layout.
    const qint64 work =
        layout.valid ? layout.coefficientBytes() : qint64(width) * height * kMaxWorkBytesPerPixel;
    const QString over = decode::checkBudget(width, height, work, jpeg.size());
    if (!over.isEmpty()) return decode::refused(over);
    if (jpeg.size() < layout.minimumBytes())
        return decode::refused(
            QStringLiteral("文件只有 %1 字节，容纳不下它声称的 %2 × %3 像素（至少需要 %4 字节）")
                .arg(jpeg.size())
                .arg(width)
                .arg(height)
                .arg(layout.minimumBytes()));

    const bool fits = reuse.size() == QSize(width, height) &&
                      reuse.format() == QImage::Format_RGB32 && reuse.isDetached();
    QImage image = fits ? std::move(reuse) : QImage(width, height, QImage::Format_RGB32);
    reuse = QImage();
    if (image.isNull()) return decode::refused(decode::outOfMemory(width, height));
    const bool cmyk = colorspace == TJCS_CMYK || colorspace == TJCS_YCCK;
    // BGRA on a little-endian machine is QImage's 0xAARRGGBB, with the alpha filled in as
    // opaque. CMYK takes the same 4 bytes a pixel and is turned into RGB in place.
    const int rc = tjDecompress2(tj.h, data, size, image.bits(), width, int(image.bytesPerLine()),
                                 height, cmyk ? TJPF_CMYK : TJPF_BGRA, TJFLAG_LIMITSCANS);
    bool incomplete = false;
    if (rc != 0) {
        if (tjGetErrorCode(tj.h) != TJERR_WARNING)
            return decode::refused(
                QStringLiteral("JPEG 图像数据无法解码（%1）").arg(decoderText(tj.h)));
        // A warning still leaves a full-size image with the missing part filled in.
        incomplete = true;
    }
    if (cmyk) cmykToRgb(image, layout.adobe || colorspace == TJCS_YCCK);
    return {std::move(image), incomplete, {}};
}

}  // namespace orvello
