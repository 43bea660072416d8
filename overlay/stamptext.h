#pragma once
// The texts the stamp draws beyond the capture date as recorded: the date in a pattern of Qt's
// date-time notation, moved by a clock shift for a camera whose clock was wrong, and a title
// whose fields in braces are filled from the photo's EXIF items.
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>
#include <utility>

namespace orvello {

// The stamp's date as the program has always drawn it.
inline constexpr const char* kDefaultDatePattern = "yyyy-MM-dd HH:mm:ss";

struct DatePreset {
    QString pattern;
    QString name;  // for a menu
};
// The patterns offered in the window and on the command line, the default first.
QList<DatePreset> datePresets();

// Why a date pattern cannot be used, in the interface's language; empty when it can. Letters
// outside quotes must be date or time fields ("YYYY" is a typing slip, not text), quotes must
// pair, and a zone (t) is refused: the recorded capture time has none.
QString checkDatePattern(const QString& pattern);

// A clock shift "[+|-][D ]HH:MM[:SS]" in seconds ("-1 2:00" is minus one day and two hours);
// blank is no shift. nullopt with *error set when the text is no shift.
std::optional<qint64> parseClockShift(const QString& text, QString* error = nullptr);

struct DateFormat {
    QString pattern = QString::fromLatin1(kDefaultDatePattern);  // passed checkDatePattern
    qint64 shiftSeconds = 0;
};

// The capture date as the listing gives it ("2007-12-10 14:30:00") as a date and time, without a
// zone; invalid when it is none (a camera without a clock records zeros).
QDateTime captureDateTime(const QString& captureDateText);

// The text the date stamp draws: the capture date shifted and in the pattern. A capture date that
// is no valid date and time, or one the shift moves out of the years 1 to 9999, is drawn as
// recorded: neither a pattern nor a shift can apply to it.
QString stampDateText(const QString& captureDateText, const DateFormat& format);

// What a title's fields are filled from; a field the photo lacks stays empty.
struct PhotoFields {
    QString make, model, lensModel, fileName;
    QString captureDateText;  // as the listing gives it
    using Ratio = std::pair<qint64, qint64>;
    std::optional<Ratio> fNumber, exposureTime, focalLength;
    std::optional<qint64> iso;
};

// Why the title's fields cannot be filled, in the interface's language; empty when they can: an
// unknown field, a brace without its pair, or a bad pattern in {Date:PATTERN}.
QString checkTitleFields(const QString& title);

// The title with {Make}, {Model}, {LensModel}, {FNumber} (f/2.8), {ExposureTime} (1/250), {ISO},
// {FocalLength} (35mm), {FileName}, {Date} (in the stamp's format) and {Date:PATTERN} filled; {{
// and }} write braces. Text that is no field is kept as written.
QString fillTitleFields(const QString& title, const PhotoFields& photo, const DateFormat& format);

}  // namespace orvello
