#pragma once
// The capture date taken from the EXIF listing text by the "ExifDTOrig" item.
#include <QList>
#include <QString>

namespace orvello {

// The value of the first "ExifDTOrig" in the text, up to the next CR LF, trimmed of blanks,
// with the colons of its date part written as hyphens ("2007-12-10 14:30:00"). Empty when
// the text has no such item or its value is no date and time.
QString captureDateFromListing(const QString& text);
// The same, from the first item line (starting at an offset of itemStarts) named "ExifDTOrig".
QString captureDateFromListing(const QString& text, const QList<qsizetype>& itemStarts);

// True for digits with an optional sign and decimal point ("-12", "3.5"); the validation's
// reading of "a number".
bool isPlainNumber(QStringView s);

}  // namespace orvello
