#include "imaging/decodebudget.h"

#include <QCoreApplication>
#include <algorithm>

namespace orvello::decode {

DecodedPhoto refused(const QString& reason)
{
    return {QImage(), false, reason};
}

QString outOfMemory(qint64 width, qint64 height)
{
    return QCoreApplication::translate("imaging", "内存不足，无法打开 %1 × %2 像素的图像")
        .arg(width)
        .arg(height);
}

qint64 expansionLimit(Coding coding)
{
    switch (coding) {
    case Coding::Stored: return 1;
    case Coding::PackBits: return 64;
    case Coding::Deflate: return 1032;
    case Coding::Lzw: return 4096 * 8 / 9 + 1;
    case Coding::Huffman: return 64 * 8;  // a block of 64 samples in each bit
    case Coding::Arithmetic: return 64 * 1024;
    case Coding::Other: return 65536;
    }
    return 1;
}

qint64 minimumCodedBytes(qint64 decodedBytes, Coding coding)
{
    const qint64 limit = expansionLimit(coding);
    return (std::max<qint64>(decodedBytes, 0) + limit - 1) / limit;
}

QString tooSmall(qint64 codedBytes, qint64 width, qint64 height, qint64 neededBytes)
{
    return QCoreApplication::translate(
               "imaging", "图像数据只有 %1 字节，容纳不下它声称的 %2 × %3 像素（至少需要 %4 字节）")
        .arg(codedBytes)
        .arg(width)
        .arg(height)
        .arg(neededBytes);
}

QString checkBudget(qint64 width, qint64 height, qint64 workBytes, qint64 fileBytes)
{
    if (width <= 0 || height <= 0)
        return QCoreApplication::translate("imaging", "图像尺寸无效（%1 × %2 像素）")
            .arg(width)
            .arg(height);
    // Each side first: the product of two sides beyond the budget could overflow.
    if (width > kMaxPhotoPixels || height > kMaxPhotoPixels || width * height > kMaxPhotoPixels)
        return QCoreApplication::translate(
                   "imaging", "图像过大（%1 × %2 像素），超过本软件可处理的 2 亿像素上限")
            .arg(width)
            .arg(height);
    const qint64 pixels = width * height;
    const qint64 total = pixels * 4 + workBytes + fileBytes;
    if (workBytes > pixels * kMaxWorkBytesPerPixel + kWorkSlackBytes || total > kMaxDecodeBytes)
        return QCoreApplication::translate(
                   "imaging", "解码这幅 %1 × %2 像素的图像约需 %3 MB 内存，超过本软件的上限")
            .arg(width)
            .arg(height)
            .arg(total >> 20);
    return {};
}

QImage opaqueFromRgba(QImage image)
{
    // Premultiplied: a colour over white is the colour plus the white the alpha leaves showing.
    for (int y = 0; y < image.height(); ++y) {
        auto* px = reinterpret_cast<quint32*>(image.scanLine(y));
        auto* bytes = reinterpret_cast<const uchar*>(px);
        for (int x = 0; x < image.width(); ++x) {
            const uchar* p = bytes + 4 * x;
            const uint rest = 255u - p[3];
            const uint r = std::min(255u, p[0] + rest);
            const uint g = std::min(255u, p[1] + rest);
            const uint b = std::min(255u, p[2] + rest);
            px[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
        }
    }
    image.reinterpretAsFormat(QImage::Format_RGB32);
    return image;
}

}  // namespace orvello::decode
