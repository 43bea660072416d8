#include "imaging/photodecoder.h"

#include "components/filereader.h"
#include "components/imageformat.h"

#include <turbojpeg.h>
#include <QBuffer>
#include <QImageReader>

namespace orvello {

namespace {

QString tooLarge(qint64 width, qint64 height)
{
    return QStringLiteral("图像过大（%1 × %2 像素），超过本软件可处理的 2 亿像素上限")
        .arg(width)
        .arg(height);
}

bool withinCap(qint64 width, qint64 height)
{
    return width > 0 && height > 0 && width * height <= kMaxPhotoPixels;
}

struct TjHandle {
    tjhandle h = tjInitDecompress();
    ~TjHandle()
    {
        if (h) tjDestroy(h);
    }
};

// Qt's reader handles the JPEG colour spaces TurboJPEG cannot turn into RGB (CMYK, YCCK).
DecodedPhoto decodeWithQt(const QByteArray& bytes, const char* format)
{
    DecodedPhoto out;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setAutoTransform(false);
    reader.setAllocationLimit(int(kMaxPhotoPixels * 4 / (1024 * 1024)) + 1);
    const QSize size = reader.size();
    if (size.isValid() && !withinCap(size.width(), size.height())) {
        out.error = tooLarge(size.width(), size.height());
        return out;
    }
    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        out.error = QStringLiteral("图像数据无法解码（%1）").arg(reader.errorString());
        return out;
    }
    out.image = image.hasAlphaChannel() ? image.convertToFormat(QImage::Format_ARGB32)
                                        : image.convertToFormat(QImage::Format_RGB32);
    return out;
}

DecodedPhoto decodeJpeg(const QByteArray& bytes)
{
    DecodedPhoto out;
    TjHandle tj;
    if (!tj.h) {
        out.error = QStringLiteral("JPEG 解码器无法启动");
        return out;
    }
    auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto size = static_cast<unsigned long>(bytes.size());
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    if (tjDecompressHeader3(tj.h, data, size, &width, &height, &subsampling, &colorspace) != 0) {
        out.error = QStringLiteral("JPEG 文件头已损坏（%1）")
                        .arg(QString::fromLocal8Bit(tjGetErrorStr2(tj.h)));
        return out;
    }
    if (!withinCap(width, height)) {
        out.error = tooLarge(width, height);
        return out;
    }
    if (colorspace == TJCS_CMYK || colorspace == TJCS_YCCK) return decodeWithQt(bytes, "jpeg");
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) {
        out.error = QStringLiteral("内存不足，无法打开 %1 × %2 像素的图像").arg(width).arg(height);
        return out;
    }
    // BGRA on a little-endian machine is QImage's 0xAARRGGBB, with the alpha filled in as opaque.
    const int rc = tjDecompress2(tj.h, data, size, image.bits(), width, int(image.bytesPerLine()),
                                 height, TJPF_BGRA, TJFLAG_LIMITSCANS);
    if (rc != 0) {
        if (tjGetErrorCode(tj.h) != TJERR_WARNING) {
            out.error = QStringLiteral("JPEG 图像数据无法解码（%1）")
                            .arg(QString::fromLocal8Bit(tjGetErrorStr2(tj.h)));
            return out;
        }
        // A warning still leaves a full-size image with the missing part filled in.
        out.incomplete = true;
    }
    out.image = std::move(image);
    return out;
}

}  // namespace

FileBytes readPhotoFile(const QString& path)
{
    FileRead file = readWholeFile(path);
    FileBytes out;
    out.bytes = std::move(file.bytes);
    switch (file.failure) {
    case ReadFailure::None: break;
    case ReadFailure::Missing: out.error = QStringLiteral("文件不存在"); break;
    case ReadFailure::NotOrdinary: out.error = QStringLiteral("不是普通文件"); break;
    case ReadFailure::TooLarge: out.error = QStringLiteral("文件过大（超过 1 GB）"); break;
    case ReadFailure::CannotOpen:
    case ReadFailure::CannotRead:
        out.error = QStringLiteral("文件无法读取（%1）").arg(file.systemError);
        break;
    }
    return out;
}

DecodedPhoto decodePhoto(const QByteArray& bytes)
{
    if (bytes.isEmpty()) return {QImage(), false, QStringLiteral("文件是空的")};
    if (looksLikeJpeg(bytes)) return decodeJpeg(bytes);
    if (looksLikeTiff(bytes)) return decodeWithQt(bytes, "tiff");
    return {QImage(), false, QStringLiteral("不是 JPEG 或 TIFF 图像")};
}

}  // namespace orvello
