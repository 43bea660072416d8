#pragma once
#include <QByteArray>
#include <QList>

namespace orvello {

// orvello-stamp exif [options] PHOTO...: each photo's listing, its capture date, and the texts its
// stamps draw. Returns the exit status; -1 for arguments that are no command.
int exifCommand(const QList<QByteArray>& args);

}  // namespace orvello
