#include "photo/photoloader.h"

#include "components/imageformat.h"
#include "imaging/jpegdecoder.h"
#include "imaging/orientation.h"
#include "imaging/photodecoder.h"
#include "overlay/overlay.h"

#include <QCoreApplication>
#include <QFile>
#include <new>

namespace orvello {

LoadedPhoto loadPhoto(const QByteArray& nativePath, const LoadOptions& options)
{
    return loadPhoto(nativePath, QImage(), options);
}

namespace {

template <typename Decode>
LoadedPhoto loadDecoded(const QByteArray& nativePath, const LoadOptions& options, Decode decode)
{
    LoadedPhoto out;
    try {
        FileBytes file = readPhotoFile(nativePath);
        if (!file.ok()) {
            out.error = file.error;
            return out;
        }
        DecodedPhoto decoded = decode(file.bytes);
        if (decoded.image.isNull()) {
            out.error = decoded.error;
            return out;
        }
        out.photo = canvasPhoto(decoded.image);
        out.incomplete = decoded.incomplete;
        decoded.image = QImage();
        const JpegHeaderFacts header =
            looksLikeJpeg(file.bytes) ? readJpegHeaderFacts(file.bytes) : JpegHeaderFacts();
        if (options.keepMetadata) out.metadata = KeptMetadata::read(file.bytes);
        // Handed over: the listing may rename entries in place without copying the file.
        out.exif = readExifInfoFromData(std::move(file.bytes));
        setStampFile(out.exif.stamp, nativePath);
        out.traits = readSourceTraits(header, out.exif.image.get());
        // A decoder that turned the picture itself (its container says how) leaves it as it is.
        if (options.autoOrient && !decoded.orientationApplied && out.traits.orientation != 1) {
            out.photo = uprightImage(std::move(out.photo), out.traits.orientation);
            if (out.photo.isNull()) throw std::bad_alloc();
            if (orientationSwapsSides(out.traits.orientation))
                out.traits.density = out.traits.density.swapped();
        }
    } catch (const std::bad_alloc&) {
        out = LoadedPhoto();
        out.error = QCoreApplication::translate("photo", "内存不足");
    }
    return out;
}

}  // namespace

LoadedPhoto loadPhoto(const QByteArray& nativePath, QImage reuse, const LoadOptions& options)
{
    return loadDecoded(nativePath, options, [&reuse](const QByteArray& bytes) {
        return decodePhoto(bytes, std::move(reuse));
    });
}

LoadedPhoto loadReducedPhoto(const QByteArray& nativePath, int longSideAtLeast,
                             const LoadOptions& options)
{
    return loadDecoded(nativePath, options, [longSideAtLeast](const QByteArray& bytes) {
        return looksLikeJpeg(bytes) ? decodeJpegReduced(bytes, longSideAtLeast) : DecodedPhoto();
    });
}

LoadedPhoto loadPhoto(const QString& path, const LoadOptions& options)
{
    return loadPhoto(QFile::encodeName(path), options);
}

QString cannotOpenMessage(const QString& path, const QString& reason)
{
    return QCoreApplication::translate("photo", "无法打开照片文件“%1”：%2。").arg(path, reason);
}

QString incompleteMessage(const QString& path)
{
    return QCoreApplication::translate("photo", "照片文件“%1”不完整或已损坏，缺失的部分无法显示。")
        .arg(path);
}

}  // namespace orvello
