#include "imaging/photodecoder.h"

#include "components/filereader.h"
#include "components/heifcontainer.h"
#include "components/imageformat.h"
#include "imaging/heifdecoder.h"
#include "imaging/jpegdecoder.h"
#include "imaging/tiffdecoder.h"

#include <QCoreApplication>
#include <QFile>
#include <new>

namespace orvello {

FileBytes readPhotoFile(const QByteArray& nativePath)
{
    FileRead file = readWholeFile(nativePath);
    FileBytes out;
    out.bytes = std::move(file.bytes);
    switch (file.failure) {
    case ReadFailure::None: break;
    case ReadFailure::Missing:
        out.error = QCoreApplication::translate("imaging", "文件不存在");
        break;
    case ReadFailure::NotOrdinary:
        out.error = QCoreApplication::translate("imaging", "不是普通文件");
        break;
    case ReadFailure::TooLarge:
        out.error = QCoreApplication::translate("imaging", "文件过大（超过 1 GB）");
        break;
    case ReadFailure::NoMemory:
        out.error = QCoreApplication::translate("imaging", "内存不足，无法读入文件");
        break;
    case ReadFailure::CannotOpen:
    case ReadFailure::CannotRead:
        out.error =
            QCoreApplication::translate("imaging", "文件无法读取（%1）").arg(file.systemError);
        break;
    }
    return out;
}

FileBytes readPhotoFile(const QString& path)
{
    return readPhotoFile(QFile::encodeName(path));
}

DecodedPhoto decodePhoto(const QByteArray& bytes, QImage reuse)
{
    if (bytes.isEmpty())
        return decode::refused(QCoreApplication::translate("imaging", "文件是空的"));
    try {
        if (looksLikeJpeg(bytes)) return decodeJpeg(bytes, std::move(reuse));
        if (looksLikeAnyTiff(bytes)) return decodeTiff(bytes);
        if (looksLikeHeif(bytes)) return decodeHeif(bytes);
    } catch (const std::bad_alloc&) {
        return decode::refused(QCoreApplication::translate("imaging", "内存不足，无法解码图像"));
    }
    return decode::refused(QCoreApplication::translate("imaging", "不是 JPEG、TIFF 或 HEIF 图像"));
}

}  // namespace orvello
