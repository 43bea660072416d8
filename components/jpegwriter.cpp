#include "components/jpegwriter.h"

#include "components/jpeglibsupport.h"
#include "components/nativefile.h"

#include <QSaveFile>
#include <functional>

// After jpeglib.h, which it needs.
#include <jerror.h>
#include <QCoreApplication>

namespace orvello {

namespace {

using Sink = std::function<bool(const char*, qsizetype)>;

// Encoded data is handed on in pieces of this size, so the whole file never sits in memory.
constexpr size_t kPieceBytes = 256 * 1024;
// Rows encoded between two looks at the cancel flag.
constexpr JDIMENSION kRowsPerCancelCheck = 64;

struct Destination {
    jpeg_destination_mgr base;
    const Sink* sink;
    JOCTET* buffer;
};

void initDestination(j_compress_ptr cinfo)
{
    auto* d = reinterpret_cast<Destination*>(cinfo->dest);
    d->buffer = static_cast<JOCTET*>((*cinfo->mem->alloc_small)(
        reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE, kPieceBytes));
    d->base.next_output_byte = d->buffer;
    d->base.free_in_buffer = kPieceBytes;
}

boolean emptyBuffer(j_compress_ptr cinfo)
{
    auto* d = reinterpret_cast<Destination*>(cinfo->dest);
    if (!(*d->sink)(reinterpret_cast<const char*>(d->buffer), qsizetype(kPieceBytes)))
        ERREXIT(cinfo, JERR_FILE_WRITE);
    d->base.next_output_byte = d->buffer;
    d->base.free_in_buffer = kPieceBytes;
    return TRUE;
}

void termDestination(j_compress_ptr cinfo)
{
    auto* d = reinterpret_cast<Destination*>(cinfo->dest);
    const size_t left = kPieceBytes - d->base.free_in_buffer;
    if (left > 0 && !(*d->sink)(reinterpret_cast<const char*>(d->buffer), qsizetype(left)))
        ERREXIT(cinfo, JERR_FILE_WRITE);
}

enum class Outcome { Done, Failed, Cancelled };

// The libjpeg part: no C++ object with a destructor lives across the setjmp.
Outcome compress(const QImage& rgb32, const JpegOptions& o, const Sink* sink,
                 const std::atomic<bool>* cancel, char* message)
{
    jpeg_compress_struct cinfo;
    JpegErrorManager err;
    Destination dest;
    cinfo.err = armJpegErrors(err);
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", err.message);
        return Outcome::Failed;
    }
    jpeg_create_compress(&cinfo);
    dest.base.init_destination = initDestination;
    dest.base.empty_output_buffer = emptyBuffer;
    dest.base.term_destination = termDestination;
    dest.sink = sink;
    dest.buffer = nullptr;
    cinfo.dest = &dest.base;
    cinfo.image_width = JDIMENSION(rgb32.width());
    cinfo.image_height = JDIMENSION(rgb32.height());
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_EXT_BGRX;  // QImage's 0xffRRGGBB on a little-endian machine
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, o.quality, TRUE);
    if (o.fullChroma)
        for (int c = 0; c < cinfo.num_components; ++c)
            cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
    cinfo.optimize_coding = o.optimizeCoding ? TRUE : FALSE;
    setJpegDensity(&cinfo, o);
    jpeg_start_compress(&cinfo, TRUE);
    writeJpegMarkers(&cinfo, o);
    while (cinfo.next_scanline < cinfo.image_height) {
        if (cancel && cinfo.next_scanline % kRowsPerCancelCheck == 0 &&
            cancel->load(std::memory_order_relaxed)) {
            jpeg_destroy_compress(&cinfo);
            return Outcome::Cancelled;
        }
        JSAMPROW row = const_cast<JSAMPROW>(rgb32.constScanLine(int(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return Outcome::Done;
}

QImage asRgb32(const QImage& image)
{
    return image.format() == QImage::Format_RGB32 ? image
                                                  : image.convertToFormat(QImage::Format_RGB32);
}

QString encoderFailure(const char* message)
{
    return QCoreApplication::translate("components", "JPEG 编码失败（%1）")
        .arg(QString::fromLocal8Bit(message));
}

QString noImage()
{
    return QCoreApplication::translate("components", "没有可保存的图像");
}

// The two kinds of file a save goes through, seen alike: a Qt save file for a path Qt can
// spell, a native one for any other.
struct QtTarget {
    QSaveFile file;
    explicit QtTarget(const QString& path) : file(path) {}
    bool open(QString* error)
    {
        if (file.open(QIODevice::WriteOnly)) return true;
        *error = file.errorString();
        return false;
    }
    bool write(const char* data, qsizetype size) { return file.write(data, size) == size; }
    QString writeError() const { return file.errorString(); }
    bool commit(QString* error)
    {
        if (!file.flush()) {
            // Read before cancelling: commit() and cancelWriting() reset the error text.
            *error = file.errorString();
            file.cancelWriting();
            return false;
        }
        if (file.commit()) return true;
        *error = file.errorString();
        return false;
    }
    void cancel() { file.cancelWriting(); }
};

struct NativeTarget {
    NativeSaveFile file;
    QByteArray path;
    const NativeFolder* folder;  // set: path is a name in it
    NativeTarget(const QByteArray& nativePath, bool replace, const NativeFolder* in = nullptr)
        : path(nativePath), folder(in)
    {
        file.setReplaceExisting(replace);
    }
    bool open(QString* error)
    {
        return folder ? file.open(*folder, path, error) : file.open(path, error);
    }
    bool write(const char* data, qsizetype size) { return file.write(data, size); }
    QString writeError() const { return file.errorString(); }
    bool commit(QString* error) { return file.commit(error); }
    void cancel() { file.cancel(); }
};

}  // namespace

QByteArray encodeJpeg(const QImage& image, const JpegOptions& options, QString* error)
{
    if (image.isNull()) {
        if (error) *error = noImage();
        return {};
    }
    const QImage rgb32 = asRgb32(image);
    QByteArray bytes;
    const Sink sink = [&bytes](const char* data, qsizetype size) {
        bytes.append(data, size);
        return true;
    };
    char message[JMSG_LENGTH_MAX] = {};
    if (compress(rgb32, options, &sink, nullptr, message) == Outcome::Done) return bytes;
    if (error) *error = encoderFailure(message);
    return {};
}

template <typename File>
bool JpegWriter::saveTo(const QImage& image, File& file)
{
    error_.clear();
    cancelled_ = false;
    if (image.isNull()) {
        error_ = noImage();
        return false;
    }
    const QImage rgb32 = asRgb32(image);
    if (!file.open(&error_)) return false;
    QString writeFailure;
    const Sink sink = [&](const char* data, qsizetype size) {
        if (!file.write(data, size))
            writeFailure = file.writeError();
        else if (hook_ && !hook_(QByteArray::fromRawData(data, size)))
            writeFailure = QCoreApplication::translate("components", "写入失败");
        return writeFailure.isEmpty();
    };
    char message[JMSG_LENGTH_MAX] = {};
    switch (compress(rgb32, options_, &sink, cancel_, message)) {
    case Outcome::Done: return file.commit(&error_);
    case Outcome::Cancelled:
        cancelled_ = true;
        error_ = QCoreApplication::translate("components", "已取消");
        break;
    case Outcome::Failed:
        error_ = !writeFailure.isEmpty() ? writeFailure : encoderFailure(message);
        break;
    }
    file.cancel();
    return false;
}

bool JpegWriter::save(const QImage& image, const QString& path)
{
    QtTarget file(path);
    return saveTo(image, file);
}

bool JpegWriter::saveNative(const QImage& image, const QByteArray& nativePath)
{
    NativeTarget file(nativePath, replace_);
    const bool saved = saveTo(image, file);
    targetExisted_ = file.file.targetExisted();
    return saved;
}

bool JpegWriter::saveNative(const QImage& image, const NativeFolder& folder, const QByteArray& name)
{
    NativeTarget file(name, replace_, &folder);
    const bool saved = saveTo(image, file);
    targetExisted_ = file.file.targetExisted();
    return saved;
}

}  // namespace orvello
