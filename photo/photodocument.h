#pragma once
// PhotoDocument: the current photo of the window.
#include <QImage>
#include <QString>

namespace orvello {

struct PhotoDocument {
    QString photoPath;    // photoFolder + photoName
    QString photoFolder;  // ends in a separator; set only when the open dialog returns a file
    QString photoName;
    bool isPortrait = false;
    QString captureDateText;
    QImage photo;  // the decoded photo, the canvas's background picture; null while none is shown

    static bool portrait(const QImage& image) { return image.height() > image.width(); }
};

}  // namespace orvello
