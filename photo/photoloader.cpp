#include "photo/photoloader.h"

#include "imaging/photodecoder.h"
#include "overlay/overlay.h"

namespace orvello {

LoadedPhoto loadPhoto(const QString& path)
{
    LoadedPhoto out;
    const FileBytes file = readPhotoFile(path);
    if (!file.ok()) {
        out.error = file.error;
        return out;
    }
    DecodedPhoto decoded = decodePhoto(file.bytes);
    if (decoded.image.isNull()) {
        out.error = decoded.error;
        return out;
    }
    out.photo = canvasPhoto(decoded.image);
    out.incomplete = decoded.incomplete;
    decoded.image = QImage();
    out.exif = readExifInfoFromData(file.bytes);
    return out;
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
