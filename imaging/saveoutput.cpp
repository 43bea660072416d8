#include "imaging/saveoutput.h"

#include "components/imageformat.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>
#include <type_traits>

namespace orvello {

namespace {

// The name with a TIFF or HEIF extension swapped for ".jpg", or unchanged. Works on text and on
// bytes.
template <typename Name>
Name jpegName(const Name& name)
{
    const qsizetype dot = name.lastIndexOf('.');
    if (dot < 0) return name;
    const Name suffix = name.mid(dot + 1);
    QString extension;
    if constexpr (std::is_same_v<Name, QByteArray>)
        extension = QString::fromLatin1(suffix);
    else
        extension = suffix;
    if (!copyTakesJpgExtension(extension)) return name;
    return name.left(dot) + Name(".jpg");
}

}  // namespace

QString stampedFileName(const QString& photoName)
{
    return QStringLiteral("PM_") + jpegName(photoName);
}

QByteArray stampedNativeName(const QByteArray& nativeName)
{
    return "PM_" + jpegName(nativeName);
}

QString saveFailureReason(const QString& path, const QString& detail, QSize imageSize)
{
    const QFileInfo target(path);
    const QFileInfo folder(target.absolutePath());
    if (!folder.exists())
        return QCoreApplication::translate("imaging", "文件夹不存在：%1").arg(folder.filePath());
    if (!folder.isDir())
        return QCoreApplication::translate("imaging", "“%1”不是文件夹").arg(folder.filePath());
    if (target.isDir())
        return QCoreApplication::translate("imaging", "“%1”是一个文件夹").arg(target.filePath());
    // The copy is written beside the target and then renamed over it: both need the folder.
    if (!folder.isWritable() || (target.exists() && !target.isWritable()))
        return QCoreApplication::translate("imaging", "没有写入权限：%1").arg(folder.filePath());
    const QStorageInfo storage(folder.absoluteFilePath());
    if (storage.isValid() && storage.isReadOnly())
        return QCoreApplication::translate("imaging", "磁盘为只读：%1").arg(storage.rootPath());
    // A quality-100 JPEG takes well over a quarter byte a pixel: with less room than that left,
    // the disk is full for it. A file system without a size (/proc, /sys) is not a full disk.
    const qint64 floorBytes =
        qint64(std::max(0, imageSize.width())) * std::max(0, imageSize.height()) / 4;
    if (storage.isValid() && storage.bytesTotal() > 0 && storage.bytesAvailable() <= floorBytes)
        return QCoreApplication::translate("imaging", "磁盘空间不足：%1").arg(storage.rootPath());
    return detail.isEmpty() ? QCoreApplication::translate("imaging", "写入失败") : detail;
}

QString saveFailedMessage(const QString& path, const QString& detail, QSize imageSize)
{
    return QCoreApplication::translate("imaging", "存储失败！\n") +
           saveFailureReason(path, detail, imageSize);
}

}  // namespace orvello
