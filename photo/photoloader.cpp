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

// What follows the decode: the listing from the same bytes, and the picture turned upright.
LoadedPhoto finishDecoded(const QByteArray& nativePath, FileBytes file, DecodedPhoto decoded,
                          const LoadOptions& options)
{
    LoadedPhoto out;
    if (!file.ok() || decoded.image.isNull()) {
        out.error = file.ok() ? decoded.error : file.error;
        return out;
    }
    try {
        out.photo = canvasPhoto(decoded.image);
        out.incomplete = decoded.incomplete;
        decoded.image = QImage();
        // Read once for all that follows. Handed over: a TIFF's entries may be renamed in place
        // without copying the file.
        const std::shared_ptr<const PhotoMetadata> metadata = PhotoMetadata::read(
            std::move(file.bytes), options.keepMetadata ? PhotoMetadata::ExifParse::Kept
                                                        : PhotoMetadata::ExifParse::ListOnly);
        if (options.keepMetadata) out.metadata = KeptMetadata::read(*metadata);
        out.exif = readExifInfo(metadata);
        setStampFile(out.exif.stamp, nativePath);
        out.traits = readSourceTraits(*metadata);
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

template <typename Decode>
ReducedPicture readAndDecode(const QByteArray& nativePath, Decode decode)
{
    ReducedPicture read;
    read.nativePath = nativePath;
    try {
        read.file = readPhotoFile(nativePath);
        if (read.file.ok()) read.decoded = decode(read.file.bytes);
    } catch (const std::bad_alloc&) {
        read = ReducedPicture();
        read.nativePath = nativePath;
        read.file.error = QCoreApplication::translate("photo", "内存不足");
    }
    return read;
}

template <typename Decode>
LoadedPhoto loadDecoded(const QByteArray& nativePath, const LoadOptions& options, Decode decode)
{
    ReducedPicture read = readAndDecode(nativePath, decode);
    return finishDecoded(read.nativePath, std::move(read.file), std::move(read.decoded), options);
}

}  // namespace

LoadedPhoto loadPhoto(const QByteArray& nativePath, QImage reuse, const LoadOptions& options)
{
    return loadDecoded(nativePath, options, [&reuse](const QByteArray& bytes) {
        return decodePhoto(bytes, std::move(reuse));
    });
}

ReducedPicture decodeReducedPicture(const QByteArray& nativePath, int longSideAtLeast)
{
    return readAndDecode(nativePath, [longSideAtLeast](const QByteArray& bytes) {
        return looksLikeJpeg(bytes) ? decodeJpegReduced(bytes, longSideAtLeast) : DecodedPhoto();
    });
}

ReducedPicture decodeReducedPicture(ReducedPicture read, int longSideAtLeast)
{
    read.decoded = DecodedPhoto();
    if (!read.file.ok() || !looksLikeJpeg(read.file.bytes)) return read;
    try {
        read.decoded = decodeJpegReduced(read.file.bytes, longSideAtLeast);
    } catch (const std::bad_alloc&) {
        read.decoded = DecodedPhoto();
    }
    return read;
}

ReducedPicture decodeEmbeddedPicture(const QByteArray& nativePath, int longSideAtLeast)
{
    return readAndDecode(nativePath, [longSideAtLeast](const QByteArray& bytes) {
        return looksLikeJpeg(bytes) ? decodeEmbeddedPreview(bytes, longSideAtLeast)
                                    : DecodedPhoto();
    });
}

LoadedPhoto finishReducedPicture(ReducedPicture picture, const LoadOptions& options)
{
    return finishDecoded(picture.nativePath, std::move(picture.file), std::move(picture.decoded),
                         options);
}

LoadedPhoto loadReducedPhoto(const QByteArray& nativePath, int longSideAtLeast,
                             const LoadOptions& options)
{
    return finishReducedPicture(decodeReducedPicture(nativePath, longSideAtLeast), options);
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
