#pragma once
// The capture date from wherever a photo keeps it. Cameras write EXIF DateTimeOriginal; photos
// that passed through editors, scanners and phones often carry their date only in XMP, or only as
// the time they were digitised. The date is taken as recorded: the local wall-clock time of the
// capture, whatever offset from UTC the photo records beside it.
#include "components/propertyitem.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QTime>
#include <optional>

namespace orvello {

// Where a date was found, in the order the sources are tried.
enum class DateSource {
    ExifOriginal,   // EXIF DateTimeOriginal
    XmpOriginal,    // XMP exif:DateTimeOriginal
    XmpCreated,     // XMP photoshop:DateCreated
    ExifDigitized,  // EXIF CreateDate (DateTimeDigitized)
    FileModified,   // the file's modification time, only when asked for
};

struct RecordedDate {
    QDate date;
    QTime time;  // midnight for a date recorded without a time
    DateSource source = DateSource::ExifOriginal;

    // "yyyy-MM-dd HH:mm:ss", the form the stamp draws by default.
    QString text() const;
    bool operator==(const RecordedDate&) const = default;
};

// What a photo holds that may carry its date.
struct DateEvidence {
    QList<PropertyItem> items;  // the EXIF listing's items
    QByteArray xmp;             // the photo's XMP packet; empty when it has none
    std::optional<QDateTime> fileModified;
};

// The photo's bytes read for their date: the EXIF items and XMP packet of a JPEG, TIFF or HEIF
// photo, and the file's modification time when the path is given. What cannot be read is left
// empty.
DateEvidence readDateEvidence(const QByteArray& photo, const QByteArray& nativePath = {});

// The first date the sources hold, in DateSource order; a value that is empty, blank, all zeros or
// no valid date is passed over. The file's time counts only with useFileTime.
std::optional<RecordedDate> findRecordedDate(const DateEvidence& evidence, bool useFileTime);

// A short label of the source for the window, e.g. "日期来源：XMP".
QString dateSourceLabel(DateSource source);

}  // namespace orvello
