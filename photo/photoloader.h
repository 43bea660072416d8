#pragma once
// Opening a photo the way the window and the command-line tool both do: the file is read once,
// decoded for the canvas, and its EXIF items listed from the same bytes.
#include "photo/exifstep.h"

#include <QImage>
#include <QString>

namespace orvello {

struct LoadedPhoto {
    QImage photo;             // as the canvas holds it; null when it cannot be shown
    bool incomplete = false;  // shown, but part of the data was missing or damaged
    QString error;            // why it cannot be shown
    ExifInfo exif;            // listed only when the photo can be shown
};

LoadedPhoto loadPhoto(const QString& path);
LoadedPhoto loadPhoto(const QByteArray& nativePath);  // the path's bytes as stored
// The same, decoding into reuse's buffer when it fits (see decodeJpeg).
LoadedPhoto loadPhoto(const QByteArray& nativePath, QImage reuse);

// The messages about a photo, in the interface's language.
QString cannotOpenMessage(const QString& path, const QString& reason);
QString incompleteMessage(const QString& path);

}  // namespace orvello
