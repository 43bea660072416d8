#pragma once
// The EXIF information listing: one line per metadata item of a photo, each line preceded by
// CR LF, built in memory so the text box is set once.
#include "components/imagefile.h"
#include "host/host.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace orvello {

struct ExifListing {
    QString text;                             // the given text with the item lines appended
    QList<qsizetype> itemStarts;              // where each item's line starts in text
    std::unique_ptr<ImageFile> image;         // the opened image; null when the listing failed
    std::optional<QString> errorDescription;  // set when the listing stopped
};

// The listing of the photo at path, appended to text.
ExifListing listExifFile(QString text, const QString& path);
// The same for the bytes of a photo already read.
ExifListing listExifData(QString text, QByteArray bytes);
// The steps after the image is created: load it, then read the items in order. A failure keeps
// the lines written so far, as appending line by line would.
ExifListing listExif(QString text, std::unique_ptr<ImageFile> image,
                     const std::function<void(ImageFile&)>& load);

// The value text of one item, by its type. Throws ImageError when a value cannot be read.
QString itemValueText(const PropertyItem& item);

QString listingErrorMessage(const QString& description);
// The message box for a failed listing: information icon, application title.
void showListingError(Host& host, const QString& description);

}  // namespace orvello
