#include "photo/exifstep.h"

#include "photo/capturedate.h"
#include "photo/exiflisting.h"

#include <QCoreApplication>

namespace orvello {

namespace {

ExifInfo fromListing(ExifListing listing)
{
    ExifInfo info;
    // A listing stopped part-way is searched all the same.
    info.captureDateText = captureDateFromListing(listing.text, listing.itemStarts);
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
    return fromListing(listExifFile(exifHeading(), path));
}

ExifInfo readExifInfo(const QByteArray& nativePath)
{
    return fromListing(
        listExif(exifHeading(), std::make_unique<ImageFile>(),
                 [&nativePath](ImageFile& image) { image.LoadFromNativeFile(nativePath); }));
}

ExifInfo readExifInfoFromData(QByteArray bytes)
{
    return fromListing(listExifData(exifHeading(), std::move(bytes)));
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
