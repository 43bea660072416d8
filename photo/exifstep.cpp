#include "photo/exifstep.h"

#include "photo/capturedate.h"
#include "photo/exiflisting.h"

#include <QCoreApplication>
#include <QFile>

namespace orvello {

namespace {

ExifInfo fromListing(ExifListing listing, QByteArray xmp)
{
    ExifInfo info;
    // A listing stopped part-way is searched all the same.
    info.captureDateText = captureDateFromListing(listing.text, listing.itemStarts);
    info.stamp = stampSourceOf(info.captureDateText, listing.image.get(), std::move(xmp));
    info.text = std::move(listing.text);
    info.itemStarts = std::move(listing.itemStarts);
    info.image = std::move(listing.image);
    info.errorDescription = std::move(listing.errorDescription);
    return info;
}

ExifInfo shown(Host& host, ExifInfo info)
{
    if (info.errorDescription) showListingError(host, *info.errorDescription);
    return info;
}

}  // namespace

QString exifHeading()
{
    return QCoreApplication::translate("photo", "当前文件EXIF信息：");
}

ExifInfo readExifInfo(const QString& path)
{
    return readExifInfo(QFile::encodeName(path));
}

ExifInfo readExifInfo(const QByteArray& nativePath)
{
    // The listing reads and checks the file as always; once it could, the XMP packet is read too.
    QByteArray xmp;
    ExifListing listing =
        listExif(exifHeading(), std::make_unique<ImageFile>(), [&](ImageFile& image) {
            image.LoadFromNativeFile(nativePath);
            QFile file(QFile::decodeName(nativePath));
            if (file.open(QIODevice::ReadOnly) && file.size() <= ImageFile::maxFileSize)
                xmp = stampXmpOf(file.readAll());
        });
    ExifInfo info = fromListing(std::move(listing), std::move(xmp));
    setStampFile(info.stamp, nativePath);
    return info;
}

ExifInfo readExifInfoFromData(QByteArray bytes)
{
    // The packet is taken before the bytes go to the listing, which may change them in place.
    QByteArray xmp = stampXmpOf(bytes);
    return fromListing(listExifData(exifHeading(), std::move(bytes)), std::move(xmp));
}

ExifInfo runExifStep(Host& host, const QString& path)
{
    return shown(host, readExifInfo(path));
}

ExifInfo runExifStepOnData(Host& host, const QByteArray& bytes)
{
    return shown(host, readExifInfoFromData(bytes));
}

}  // namespace orvello
