#include "photo/exifstep.h"

#include "photo/capturedate.h"
#include "photo/exiflisting.h"

#include <QCoreApplication>
#include <QFile>

namespace orvello {

namespace {

ExifInfo fromListing(ExifListing listing, QByteArray xmp,
                     std::shared_ptr<const PhotoMetadata> metadata)
{
    ExifInfo info;
    info.metadata = std::move(metadata);
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
    // The listing reads and checks the file as always; once it could, the XMP packet read with it
    // counts too.
    std::shared_ptr<const PhotoMetadata> metadata;
    ExifListing listing =
        listExif(exifHeading(), std::make_unique<ImageFile>(), [&](ImageFile& image) {
            image.LoadFromNativeFile(nativePath);
            metadata = image.metadata();
        });
    ExifInfo info =
        fromListing(std::move(listing), metadata ? metadata->xmp() : QByteArray(), metadata);
    setStampFile(info.stamp, nativePath);
    return info;
}

ExifInfo readExifInfoFromData(QByteArray bytes)
{
    return readExifInfo(PhotoMetadata::read(std::move(bytes)));
}

ExifInfo readExifInfo(std::shared_ptr<const PhotoMetadata> metadata)
{
    // The packet counts even when the listing fails.
    QByteArray xmp = metadata->xmp();
    ExifListing listing = listExif(exifHeading(), std::make_unique<ImageFile>(),
                                   [&](ImageFile& image) { image.LoadFromMetadata(metadata); });
    return fromListing(std::move(listing), std::move(xmp), std::move(metadata));
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
