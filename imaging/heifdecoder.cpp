#include "imaging/heifdecoder.h"

#include "components/heifboxes.h"
#include "components/heifcontainer.h"
#include "components/heiflibrary.h"

#include <QCoreApplication>
#include <memory>

namespace orvello {

namespace {

// The decoder's planes beside the finished picture: three colour samples and the alpha of every
// pixel, at 2 bytes each above 8 bits (4:4:4 assumed, as the file's chroma layout is not known
// before decoding).
qint64 workBytes(const HeifLibrary& lib, const heif_image_handle* h, qint64 pixels)
{
    const int bits = std::max(lib.image_handle_get_luma_bits_per_pixel(h),
                              lib.image_handle_get_chroma_bits_per_pixel(h));
    const qint64 sample = bits > 8 ? 2 : 1;
    return pixels * sample * (lib.image_handle_has_alpha_channel(h) ? 4 : 3);
}

// A coded side may exceed the side it declares by the padding to whole coding blocks.
constexpr qint64 kCodingPadding = 64;

bool fitsDeclared(const HeifPicture& p)
{
    if (p.declaredWidth <= 0 || p.declaredHeight <= 0) return true;  // nothing declared
    const qint64 w = p.declaredWidth + kCodingPadding, h = p.declaredHeight + kCodingPadding;
    // Either way round: a writer that swapped the declared sides costs no more than it says.
    return (p.width <= w && p.height <= h) || (p.width <= h && p.height <= w);
}

// Every picture decoding the primary image allocates, at the size its HEVC parameter set or its
// grid's data claims, against the size the file declares for it and against the budget: libheif
// checks neither before it allocates.
QString checkPictures(const QByteArray& heif)
{
    const HeifPictures found = heifPictures(heif);
    if (!found.error.isEmpty())
        return QCoreApplication::translate("imaging", "HEIF 文件已损坏（%1）").arg(found.error);
    for (const HeifPicture& p : found.pictures) {
        if (!fitsDeclared(p))
            return QCoreApplication::translate(
                       "imaging",
                       "HEIF 文件已损坏：%1声称 %2 × %3 像素，而文件声明的尺寸只有 %4 × %5 像素")
                .arg(p.type == "hvc1" ? QCoreApplication::translate("imaging", "图像数据")
                                      : QCoreApplication::translate("imaging", "拼接图像"))
                .arg(p.width)
                .arg(p.height)
                .arg(p.declaredWidth)
                .arg(p.declaredHeight);
        QString over = decode::checkBudget(p.width, p.height, 0, heif.size());
        if (!over.isEmpty()) return over;
        // Three colour planes and alpha, at two bytes a sample above 8 bits.
        const qint64 planes = p.width * p.height * 4 * (p.bitDepth > 8 ? 2 : 1);
        over = decode::checkBudget(p.width, p.height, planes, heif.size());
        if (!over.isEmpty()) return over;
    }
    return {};
}

// RGBA with straight alpha made premultiplied, in place, as the white backdrop expects it.
void premultiply(uchar* rows, int width, int height, qsizetype stride)
{
    for (int y = 0; y < height; ++y) {
        uchar* p = rows + y * stride;
        for (int x = 0; x < width; ++x, p += 4) {
            const uint a = p[3];
            if (a == 255) continue;
            for (int c = 0; c < 3; ++c) p[c] = uchar((p[c] * a + 127) / 255);
        }
    }
}

}  // namespace

DecodedPhoto decodeHeif(const QByteArray& heif)
{
    const HeifFile file = openHeif(heif, int(kMaxPhotoSide) + 1);
    if (file.noLibrary)
        return decode::refused(
            QCoreApplication::translate("imaging", "无法载入 HEIF 解码库（%1），请重新安装本软件")
                .arg(file.error));
    if (file.overLimit)
        return decode::refused(
            QCoreApplication::translate("imaging", "HEIF 文件中的图像尺寸超过本软件的上限（%1）")
                .arg(file.error));
    if (!file.ok())
        return decode::refused(
            QCoreApplication::translate("imaging", "HEIF 文件已损坏（%1）").arg(file.error));
    const HeifLibrary& lib = *heifLibrary();
    const heif_image_handle* handle = file.primary.get();
    // The size after the file's own rotation and crop: the picture as it comes out.
    const qint64 width = lib.image_handle_get_width(handle);
    const qint64 height = lib.image_handle_get_height(handle);
    // The size alone first: a crop the file states can claim sides whose work would overflow.
    QString over = decode::checkBudget(width, height, 0, heif.size());
    if (over.isEmpty()) over = checkPictures(heif);
    if (over.isEmpty())
        over =
            decode::checkBudget(width, height, workBytes(lib, handle, width * height), heif.size());
    if (!over.isEmpty()) return decode::refused(over);

    // Transformations as the file gives them; damage the decoder works around is kept as a
    // warning on the picture instead of failing it.
    std::unique_ptr<heif_decoding_options, decltype(lib.decoding_options_free)> options(
        lib.decoding_options_alloc(), lib.decoding_options_free);
    if (!options) return decode::refused(decode::outOfMemory(width, height));
    options->ignore_transformations = 0;
    options->strict_decoding = 0;
    heif_image* decoded = nullptr;
    const heif_error err = lib.decode_image(handle, &decoded, heif_colorspace_RGB,
                                            heif_chroma_interleaved_RGBA, options.get());
    std::shared_ptr<heif_image> image(decoded, lib.image_release);
    if (err.code != heif_error_Ok || !decoded) {
        if (err.code == heif_error_Memory_allocation_error &&
            err.subcode != heif_suberror_Security_limit_exceeded)
            return decode::refused(decode::outOfMemory(width, height));
        const QString why = heifErrorText(err.message);
        if (err.code == heif_error_Unsupported_feature ||
            err.code == heif_error_Unsupported_filetype)
            return decode::refused(
                QCoreApplication::translate("imaging", "不支持这种 HEIF 图像（%1）").arg(why));
        return decode::refused(
            QCoreApplication::translate("imaging", "HEIF 图像数据无法解码（%1）").arg(why));
    }
    const bool incomplete = lib.image_get_decoding_warnings(image.get(), 0, nullptr, 0) > 0;

    const int w = lib.image_get_primary_width(image.get());
    const int h = lib.image_get_primary_height(image.get());
    int stride = 0;
    uchar* rows = lib.image_get_plane(image.get(), heif_channel_interleaved, &stride);
    if (!rows || w <= 0 || h <= 0 || qint64(w) * h > width * height || stride < 4 * w)
        return decode::refused(
            QCoreApplication::translate("imaging", "HEIF 图像数据无法解码（解码结果无效）"));
    if (lib.image_handle_has_alpha_channel(handle) &&
        !lib.image_is_premultiplied_alpha(image.get()))
        premultiply(rows, w, h, stride);
    // The picture stays in libheif's buffer, released with the last copy of the image.
    auto* keep = new std::shared_ptr<heif_image>(image);
    QImage rgba(
        rows, w, h, stride, QImage::Format_RGBA8888,
        [](void* p) { delete static_cast<std::shared_ptr<heif_image>*>(p); }, keep);
    if (rgba.isNull()) {
        delete keep;
        return decode::refused(decode::outOfMemory(width, height));
    }
    DecodedPhoto out{decode::opaqueFromRgba(std::move(rgba)), incomplete, {}};
    out.orientationApplied = true;
    return out;
}

}  // namespace orvello
