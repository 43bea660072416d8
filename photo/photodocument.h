#pragma once
// PhotoDocument: the current photo of the window.
#include "components/imagefile.h"
#include "photo/photostamp.h"
#include "photo/sourcetraits.h"

#include <QImage>
#include <QString>
#include <memory>

namespace orvello {

struct PhotoDocument {
    QString photoPath;    // photoFolder + photoName
    QString photoFolder;  // ends in a separator; set only when the open dialog returns a file
    QString photoName;
    QByteArray photoNativeName;  // photoName as the file system stores it
    bool isPortrait = false;
    QString captureDateText;
    StampSource stamp;                     // what the stamps draw from
    std::unique_ptr<ImageFile> exifImage;  // the current photo's metadata, from its listing
    QImage photo;  // the decoded photo, the canvas's background picture; null while none is shown
    // What a saved copy takes from the file; the density follows the photo's quarter turns.
    SourceTraits sourceTraits;

    // Releases the metadata image (the close, a photo that cannot be shown).
    void releaseExifImage()
    {
        if (exifImage) exifImage->Dispose();
        exifImage.reset();
    }

    static bool portrait(const QImage& image) { return image.height() > image.width(); }
};

}  // namespace orvello
