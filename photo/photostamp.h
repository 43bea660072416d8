#pragma once
// What a photo's two stamps draw under the settings: the date found wherever the photo keeps it,
// in the settings' pattern and clock shift, and the title with its fields filled from the photo.
// Every place that stamps (the window, its saves, the batch, the lossless copy and the command
// line) goes through here, so that they all draw the same texts.
#include "app/settings.h"
#include "overlay/overlay.h"
#include "overlay/stamptext.h"
#include "photo/datesources.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace orvello {

class ImageFile;

// What a photo's stamps are made from, read with its listing.
struct StampSource {
    QString listedDate;  // the capture date as the listing gives it; empty without one
    DateEvidence dates;  // the items, XMP packet and file time the other sources are read from
    PhotoFields fields;  // the title's fields; their {Date} is filled per settings
};

// The parts of a StampSource a photo's listing gives: the capture date, the items as listed (not
// parsed a second time) and the title's fields, with the photo's XMP packet (a TIFF's is taken
// from its items when not given).
StampSource stampSourceOf(const QString& listedDate, const ImageFile* image, QByteArray xmp);
// The file's name for {FileName} and its modification time for the fallback.
void setStampFile(StampSource& source, const QByteArray& nativePath);

// The settings' pattern and clock shift; a shift that is no shift counts as none.
DateFormat dateFormatOf(const AppSettings& settings);

struct StampTexts {
    QString date;                      // empty: the photo has no date the settings accept
    QString title;                     // trimmed, its fields filled
    std::optional<DateSource> source;  // where the date came from
};

// The date is EXIF DateTimeOriginal as listed when the photo has it, else the first other source
// that holds one (the file time only with the fallback "file").
StampTexts stampTexts(const StampSource& source, const AppSettings& settings, const QString& text1);

// The overlay of a photo with these settings and title.
OverlayInput stampOverlayInput(const StampSource& source, const AppSettings& settings,
                               const QString& text1, bool isPortrait);

}  // namespace orvello
