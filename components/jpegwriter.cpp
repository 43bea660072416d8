#include "components/jpegwriter.h"

#include <QSaveFile>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace orvello {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void onError(j_common_ptr info)
{
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    err->base.format_message(info, err->message);
    std::longjmp(err->jump, 1);
}

// The libjpeg part: no C++ object with a destructor lives across the setjmp.
bool compress(const QImage& rgb32, const JpegOptions& o, unsigned char** out, unsigned long* size,
              char* message)
{
    jpeg_compress_struct cinfo;
    ErrorManager err;
    cinfo.err = jpeg_std_error(&err.base);
    err.base.error_exit = onError;
    err.message[0] = 0;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", err.message);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, out, size);
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
    cinfo.write_JFIF_header = TRUE;
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb32.constScanLine(int(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

}  // namespace

QByteArray encodeJpeg(const QImage& image, const JpegOptions& options, QString* error)
{
    if (image.isNull()) {
        if (error) *error = QStringLiteral("没有可保存的图像");
        return {};
    }
    const QImage rgb32 = image.format() == QImage::Format_RGB32
                             ? image
                             : image.convertToFormat(QImage::Format_RGB32);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    char message[JMSG_LENGTH_MAX] = {};
    const bool ok = compress(rgb32, options, &buffer, &size, message);
    QByteArray bytes;
    if (ok) bytes = QByteArray(reinterpret_cast<const char*>(buffer), qsizetype(size));
    std::free(buffer);
    if (!ok && error)
        *error = QStringLiteral("JPEG 编码失败（%1）").arg(QString::fromLocal8Bit(message));
    return bytes;
}

bool JpegWriter::save(const QImage& image, const QString& path)
{
    error_.clear();
    const QByteArray bytes = encodeJpeg(image, options_, &error_);
    if (bytes.isEmpty()) return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error_ = file.errorString();
        return false;
    }
    const bool written = file.write(bytes) == bytes.size() && (!hook_ || hook_(bytes));
    if (!written || !file.flush()) {
        // Read before cancelling: commit() and cancelWriting() reset the error text.
        error_ = written ? file.errorString() : QStringLiteral("写入失败");
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        error_ = file.errorString();
        return false;
    }
    return true;
}

}  // namespace orvello
