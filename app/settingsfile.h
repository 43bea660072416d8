#pragma once
// A settings file named on the command line (orvello-stamp --settings): it must say exactly what
// a run draws, so a line that cannot be understood is an error rather than a default.
#include <QString>

namespace orvello {

// Why path cannot serve as the run's settings (unreadable, a malformed line, a value of the
// window's group that does not convert), naming the file and the line; empty when it can. The
// values themselves are then read with SettingsStore, as the window reads them.
QString settingsFileProblem(const QString& path);

}  // namespace orvello
