#pragma once
// A settings file named on the command line (orvello-stamp --settings): it must say exactly what
// a run draws, so a line that cannot be understood is an error rather than a default.
#include <QString>

namespace orvello {

// Why path cannot serve as the run's settings, naming the file and the first line at fault; empty
// when it can. The file is read by QSettings, as SettingsStore reads it; what is refused: a file
// that cannot be read, is too large or is not UTF-8 text; a line QSettings cannot parse or passes
// over; a value of one of the store's keys that does not convert; a group or key name written
// otherwise than it reads (escaped). The values themselves are then read with SettingsStore.
QString settingsFileProblem(const QString& path);

}  // namespace orvello
