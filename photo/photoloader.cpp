#include "photo/photoloader.h"

#include "imaging/photodecoder.h"
#include "overlay/overlay.h"

#include <QFile>
#include <new>

namespace orvello {

LoadedPhoto loadPhoto(const QByteArray& nativePath)
{
    return loadPhoto(nativePath, QImage());
}

LoadedPhoto loadPhoto(const QByteArray& nativePath, QImage reuse)
{
    LoadedPhoto out;
    try {
        FileBytes file = readPhotoFile(nativePath);
        if (!file.ok()) {
            out.error = file.error;
            return out;
        }
        DecodedPhoto decoded = decodePhoto(file.bytes, std::move(reuse));
        if (decoded.image.isNull()) {
            out.error = decoded.error;
            return out;
        }
        out.photo = canvasPhoto(decoded.image);
        out.incomplete = decoded.incomplete;
        decoded.image = QImage();
        // Handed over: the listing may rename entries in place without copying the file.
        out.exif = readExifInfoFromData(std::move(file.bytes));
    } catch (const std::bad_alloc&) {
        out = LoadedPhoto();
        out.error = QStringLiteral("内存不足");
    }
    return out;
}

LoadedPhoto loadPhoto(const QString& path)
{
    return loadPhoto(QFile::encodeName(path));
}

QString cannotOpenMessage(const QString& path, const QString& reason)
{
    return QStringLiteral("无法打开照片文件“%1”：%2。").arg(path, reason);
}

QString incompleteMessage(const QString& path)
{
    return QStringLiteral("照片文件“%1”不完整或已损坏，缺失的部分无法显示。").arg(path);
}

}  // namespace orvello
