#include "imaging/tiffdecoder.h"

#include "imaging/jpegdecoder.h"

#include <QStringList>
#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include <tiffio.h>
#include <QCoreApplication>

namespace orvello {

namespace {

// The file in memory as libtiff reads it.
struct Source {
    const QByteArray* bytes;
    toff_t pos = 0;
};

tmsize_t readProc(thandle_t h, void* buf, tmsize_t size)
{
    auto* s = static_cast<Source*>(h);
    const toff_t total = toff_t(s->bytes->size());
    if (size <= 0 || s->pos >= total) return 0;
    const tmsize_t n = tmsize_t(std::min<toff_t>(toff_t(size), total - s->pos));
    std::memcpy(buf, s->bytes->constData() + s->pos, size_t(n));
    s->pos += toff_t(n);
    return n;
}

tmsize_t writeProc(thandle_t, void*, tmsize_t)
{
    return -1;
}

toff_t seekProc(thandle_t h, toff_t offset, int whence)
{
    auto* s = static_cast<Source*>(h);
    if (whence == SEEK_SET) {
        s->pos = offset;
        return s->pos;
    }
    // Relative moves may go backwards; one before the start or past any end is refused.
    const qint64 base = whence == SEEK_CUR ? qint64(s->pos) : s->bytes->size();
    const qint64 delta = qint64(offset);
    if ((delta < 0 && base + delta < 0) || (delta > 0 && base > INT64_MAX - delta))
        return toff_t(-1);
    s->pos = toff_t(base + delta);
    return s->pos;
}

int closeProc(thandle_t)
{
    return 0;
}

toff_t sizeProc(thandle_t h)
{
    return toff_t(static_cast<Source*>(h)->bytes->size());
}

// The bytes are already in memory: libtiff reads strips from them without copying.
int mapProc(thandle_t h, void** base, toff_t* size)
{
    auto* s = static_cast<Source*>(h);
    *base = const_cast<char*>(s->bytes->constData());
    *size = toff_t(s->bytes->size());
    return 1;
}

void unmapProc(thandle_t, void*, toff_t) {}

// libtiff's messages for one decode, kept here instead of going to standard error.
struct Messages {
    QStringList errors;
    QStringList warnings;
    // What libjpeg says inside libtiff's JPEG codecs ("Corrupt JPEG data: …") comes as warnings,
    // and is the only report of a strip it decoded around. Any other warning (an old-style JPEG
    // file is "deprecated", a tag is unknown) says nothing about the pixels.
    bool damage = false;
};

int collect(QStringList& into, const char* module, const char* fmt, va_list ap)
{
    char text[512];
    std::vsnprintf(text, sizeof text, fmt, ap);
    if (into.size() < 20)
        into << (module ? QString::fromLocal8Bit(module) + QStringLiteral(": ") : QString()) +
                    QString::fromLocal8Bit(text);
    return 1;  // handled: libtiff's process-wide handlers are not called
}

int onError(TIFF*, void* user, const char* module, const char* fmt, va_list ap)
{
    return collect(static_cast<Messages*>(user)->errors, module, fmt, ap);
}

int onWarning(TIFF*, void* user, const char* module, const char* fmt, va_list ap)
{
    auto* m = static_cast<Messages*>(user);
    if (module && (qstricmp(module, "JPEGLib") == 0 || qstricmp(module, "LibJpeg") == 0))
        m->damage = true;
    return collect(m->warnings, module, fmt, ap);
}

struct TiffHandle {
    TIFF* tif = nullptr;
    ~TiffHandle()
    {
        if (tif) TIFFClose(tif);
    }
};

struct OpenOptions {
    TIFFOpenOptions* opts = TIFFOpenOptionsAlloc();
    ~OpenOptions() { TIFFOpenOptionsFree(opts); }
};

struct RgbaImage {
    TIFFRGBAImage img{};
    bool begun = false;
    ~RgbaImage()
    {
        if (begun) TIFFRGBAImageEnd(&img);
    }
};

QString firstOf(const Messages& m, const char* fallback)
{
    if (!m.errors.isEmpty()) return m.errors.first();
    return QString::fromLocal8Bit(fallback);
}

// The buffer the RGBA reader fills from, besides the picture: one strip or tile of samples, for
// every plane when they are stored apart.
qint64 sampleBufferBytes(TIFF* tif)
{
    uint16_t planar = PLANARCONFIG_CONTIG, samples = 1;
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    const uint64_t unit = TIFFIsTiled(tif) ? TIFFTileSize64(tif) : TIFFStripSize64(tif);
    const qint64 planes = planar == PLANARCONFIG_SEPARATE ? samples : 1;
    if (unit > uint64_t(kMaxDecodeBytes)) return kMaxDecodeBytes + 1;
    return qint64(unit) * planes;
}

decode::Coding codingOf(uint16_t compression)
{
    switch (compression) {
    case COMPRESSION_NONE: return decode::Coding::Stored;
    case COMPRESSION_PACKBITS: return decode::Coding::PackBits;
    case COMPRESSION_LZW: return decode::Coding::Lzw;
    case COMPRESSION_DEFLATE:
    case COMPRESSION_ADOBE_DEFLATE: return decode::Coding::Deflate;
    case COMPRESSION_OJPEG:
    case COMPRESSION_JPEG: return decode::Coding::Huffman;
    default: return decode::Coding::Other;
    }
}

// What the strips or tiles can hold, measured before libtiff allocates anything for them.
struct StripCapacity {
    qint64 decoded = 0;   // the bytes of samples the directory claims
    qint64 held = 0;      // of those, what the coded bytes present can decode to at most
    qint64 needed = 0;    // the fewest coded bytes for the claimed samples
    qint64 coded = 0;     // the coded bytes present
    qint64 jpegWork = 0;  // libjpeg's whole-strip coefficient buffer, for multi-scan strips
};

StripCapacity measureStrips(TIFF* tif, const QByteArray& bytes, uint16_t compression)
{
    StripCapacity c;
    const bool tiled = TIFFIsTiled(tif);
    const uint32_t count = tiled ? TIFFNumberOfTiles(tif) : TIFFNumberOfStrips(tif);
    uint32_t height = 0, rowsPerStrip = 0;
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
    TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
    rowsPerStrip = std::clamp<uint32_t>(rowsPerStrip, 1, std::max<uint32_t>(height, 1));
    const uint32_t perPlane = uint32_t((uint64_t(height) + rowsPerStrip - 1) / rowsPerStrip);
    const uint64_t tileBytes = tiled ? TIFFTileSize64(tif) : 0;
    const uint64_t fullStrip = tiled ? 0 : TIFFVStripSize64(tif, rowsPerStrip);
    const qint64 size = bytes.size();
    for (uint32_t i = 0; i < count; ++i) {
        qint64 decoded = qint64(tileBytes);
        if (!tiled) {
            const uint32_t first = perPlane ? (i % perPlane) * rowsPerStrip : 0;
            const uint32_t rows = std::min(rowsPerStrip, height - std::min(first, height));
            decoded = qint64(rows == rowsPerStrip ? fullStrip : TIFFVStripSize64(tif, rows));
        }
        const uint64_t offset = TIFFGetStrileOffset(tif, i);
        const uint64_t stated = TIFFGetStrileByteCount(tif, i);
        qint64 coded =
            offset < uint64_t(size) ? qint64(std::min(stated, uint64_t(size) - offset)) : 0;
        decode::Coding coding = codingOf(compression);
        if (compression == COMPRESSION_JPEG && coded > 0) {
            const JpegLayout layout = readJpegLayout(
                QByteArray::fromRawData(bytes.constData() + offset, qsizetype(coded)));
            coded = layout.codedBytes;
            if (layout.arithmetic) coding = decode::Coding::Arithmetic;
            c.jpegWork = std::max(c.jpegWork, layout.coefficientBytes());
        }
        c.decoded += decoded;
        c.coded += coded;
        c.needed += decode::minimumCodedBytes(decoded, coding);
        c.held += std::min(decoded, coded * decode::expansionLimit(coding));
        if (c.decoded > kMaxDecodeBytes * 8) break;  // claims past any budget: refused below
    }
    return c;
}

}  // namespace

bool looksLikeAnyTiff(const QByteArray& b)
{
    return b.startsWith(QByteArrayView("II*\0", 4)) || b.startsWith(QByteArrayView("MM\0*", 4)) ||
           b.startsWith(QByteArrayView("II+\0", 4)) || b.startsWith(QByteArrayView("MM\0+", 4));
}

DecodedPhoto decodeTiff(const QByteArray& bytes)
{
    Messages messages;
    Source source{&bytes};
    OpenOptions options;
    if (!options.opts) return decode::refused(decode::outOfMemory(0, 0));
    TIFFOpenOptionsSetErrorHandlerExtR(options.opts, onError, &messages);
    TIFFOpenOptionsSetWarningHandlerExtR(options.opts, onWarning, &messages);
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.opts, tmsize_t(kMaxDecodeBytes));
    TiffHandle file;
    file.tif = TIFFClientOpenExt("photo", "r", &source, readProc, writeProc, seekProc, closeProc,
                                 sizeProc, mapProc, unmapProc, options.opts);
    if (!file.tif)
        return decode::refused(QCoreApplication::translate("imaging", "TIFF 文件头已损坏（%1）")
                                   .arg(firstOf(messages, "cannot open")));

    uint32_t width = 0, height = 0;
    TIFFGetField(file.tif, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(file.tif, TIFFTAG_IMAGELENGTH, &height);
    QString over = decode::checkBudget(width, height, 0, bytes.size());
    if (!over.isEmpty()) return decode::refused(over);
    uint16_t compression = COMPRESSION_NONE;
    TIFFGetFieldDefaulted(file.tif, TIFFTAG_COMPRESSION, &compression);
    // A file cut short still shows what it holds, but one whose strips cannot hold even half
    // of the picture they claim is refused before the picture is allocated.
    const StripCapacity strips = measureStrips(file.tif, bytes, compression);
    if (strips.held * 2 < strips.decoded)
        return decode::refused(decode::tooSmall(strips.coded, width, height, strips.needed / 2));
    over = decode::checkBudget(width, height, sampleBufferBytes(file.tif) + strips.jpegWork,
                               bytes.size());
    if (!over.isEmpty()) return decode::refused(over);
    if (!TIFFIsCODECConfigured(compression))
        return decode::refused(
            QCoreApplication::translate("imaging", "不支持这种 TIFF 图像（压缩方式 %1）")
                .arg(compression));
    char why[1024] = {};
    RgbaImage rgba;
    if (!TIFFRGBAImageOK(file.tif, why) || !TIFFRGBAImageBegin(&rgba.img, file.tif, 0, why))
        return decode::refused(QCoreApplication::translate("imaging", "不支持这种 TIFF 图像（%1）")
                                   .arg(QString::fromLocal8Bit(why)));
    rgba.begun = true;
    // Remarks made while reading the directory (unknown private tags and the like) concern
    // metadata; only what goes wrong with the pixels marks the photo incomplete.
    messages = {};
    // The rows as stored, first row at the top, as for JPEG: the loader turns the picture
    // upright. Asking for any other orientation would have libtiff flip the rows, and only half
    // of the way for the sideways ones (5 to 8).
    rgba.img.req_orientation =
        rgba.img.orientation >= ORIENTATION_TOPLEFT && rgba.img.orientation <= ORIENTATION_LEFTBOT
            ? rgba.img.orientation
            : ORIENTATION_TOPLEFT;

    QImage image(int(width), int(height), QImage::Format_RGBA8888_Premultiplied);
    if (image.isNull() || image.bytesPerLine() != qsizetype(width) * 4)
        return decode::refused(decode::outOfMemory(width, height));
    image.fill(QColor(128, 128, 128));  // what a part that cannot be read shows
    const int ok =
        TIFFRGBAImageGet(&rgba.img, reinterpret_cast<uint32_t*>(image.bits()), width, height);
    const bool incomplete = !ok || !messages.errors.isEmpty() || messages.damage;
    return {decode::opaqueFromRgba(std::move(image)), incomplete, {}};
}

}  // namespace orvello
