#pragma once
// The EXIF step of opening a photo: the heading, the listing, and the capture date from it.
#include "components/imagefile.h"
#include "components/photometadata.h"
#include "host/host.h"
#include "photo/photostamp.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <memory>
#include <optional>

namespace orvello {

QString exifHeading();  // "当前文件EXIF信息："

struct ExifInfo {
    QString text;                             // the whole information text: heading and item lines
    QList<qsizetype> itemStarts;              // where each item's line starts in text
    QString captureDateText;                  // empty without a usable capture date
    std::unique_ptr<ImageFile> image;         // null when the listing failed
    std::optional<QString> errorDescription;  // set when the listing failed
    StampSource stamp;  // what the stamps draw from; its file part only when the path is known
    // The photo's metadata, read once, that the listing and the stamp's sources came from; null
    // when the file could not be read.
    std::shared_ptr<const PhotoMetadata> metadata;
};

ExifInfo readExifInfo(const QString& path);
ExifInfo readExifInfo(const QByteArray& nativePath);  // the path's bytes as stored
ExifInfo readExifInfoFromData(QByteArray bytes);      // the stamp's file part left to the caller
// The same for a photo whose metadata was read already: nothing is parsed again.
ExifInfo readExifInfo(std::shared_ptr<const PhotoMetadata> metadata);

// As above, and a failed listing is shown through the host.
ExifInfo runExifStep(Host& host, const QString& path);
ExifInfo runExifStepOnData(Host& host, const QByteArray& bytes);

}  // namespace orvello
