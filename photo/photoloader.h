#pragma once
// Opening a photo the way the window and the command-line tool both do: the file is read once,
// decoded for the canvas, and its EXIF items listed from the same bytes.
#include "components/keptmetadata.h"
#include "imaging/decodebudget.h"
#include "imaging/photodecoder.h"
#include "photo/exifstep.h"
#include "photo/sourcetraits.h"

#include <QImage>
#include <QString>
#include <memory>

namespace orvello {

struct LoadOptions {
    // The picture turned upright from its orientation tag (the setting "AutoOrient").
    bool autoOrient = true;
    // The metadata a copy may carry is read too (a batch that keeps it).
    bool keepMetadata = false;
};

struct LoadedPhoto {
    QImage photo;             // as the canvas holds it; null when it cannot be shown
    bool incomplete = false;  // shown, but part of the data was missing or damaged
    QString error;            // why it cannot be shown
    ExifInfo exif;            // listed only when the photo can be shown
    // What a copy takes along; the density is that of the picture as loaded (turned upright).
    SourceTraits traits;
    std::shared_ptr<const KeptMetadata> metadata;  // with LoadOptions::keepMetadata
};

LoadedPhoto loadPhoto(const QString& path, const LoadOptions& options = {});
// The path's bytes as stored.
LoadedPhoto loadPhoto(const QByteArray& nativePath, const LoadOptions& options = {});
// The same, decoding into reuse's buffer when it fits (see decodeJpeg).
LoadedPhoto loadPhoto(const QByteArray& nativePath, QImage reuse, const LoadOptions& options = {});
// A JPEG decoded at a reduced scale whose long side is at least longSideAtLeast (see
// decodeJpegReduced), listed and turned upright as loadPhoto does, for a first look while the full
// picture is decoded. A null photo with no error when there is no such quicker way: load it whole.
LoadedPhoto loadReducedPhoto(const QByteArray& nativePath, int longSideAtLeast,
                             const LoadOptions& options = {});
// The same in two halves: the file read and decoded, which touches no metadata library and so
// may run on another thread before that library is set up; then listed and turned upright.
struct ReducedPicture {
    QByteArray nativePath;  // the file read, for what the stamp takes from its name and time
    FileBytes file;
    DecodedPhoto decoded;
};
ReducedPicture decodeReducedPicture(const QByteArray& nativePath, int longSideAtLeast);
// The same from the file as read for another picture (its decoded picture is replaced).
ReducedPicture decodeReducedPicture(ReducedPicture read, int longSideAtLeast);
// The preview picture its camera put into a JPEG (see decodeEmbeddedPreview), read and decoded
// as decodeReducedPicture does: to show before even the reduced picture is ready. The picture is
// null without one; finishReducedPicture lists it and turns it upright as the photo.
ReducedPicture decodeEmbeddedPicture(const QByteArray& nativePath, int longSideAtLeast);
LoadedPhoto finishReducedPicture(ReducedPicture picture, const LoadOptions& options);

// The messages about a photo, in the interface's language.
QString cannotOpenMessage(const QString& path, const QString& reason);
QString incompleteMessage(const QString& path);

}  // namespace orvello
