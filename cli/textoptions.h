#pragma once
// The options that say what the stamps draw, shared by "stamp" and "exif": the settings file, the
// title, and the date's pattern, clock shift and fallback and both styles. Each value is checked
// when it is read, so a bad one is refused before any photo is touched.
#include "app/settings.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace orvello {

struct TextOptions {
    QByteArray settingsFile;  // empty: the window's own settings
    std::optional<QString> title;
    std::optional<QString> dateFormat, dateShift;
    std::optional<DateFallback> dateFallback;
    std::optional<StampStyle> dateStyle, titleStyle;
};

enum class OptionTaken { No, Yes, Bad };

// Takes args[i] (and its value, advancing i) when it is one of the options above. Bad: the value is
// missing or wrong, and *error says why in the interface's language.
OptionTaken takeTextOption(const QList<QByteArray>& args, int& i, TextOptions& options,
                           QString* error);

// The settings of a run: the window's or the file's (read whole and checked first, *error set when
// it cannot be used), with the options laid over them. A title given turns the title on.
std::optional<AppSettings> runSettings(const TextOptions& options, QString* error,
                                       bool* autoOrient = nullptr);

}  // namespace orvello
