#pragma once
// The name a stamped copy is offered under, and why a save failed, in the interface's language.
#include <QByteArray>
#include <QSize>
#include <QString>

namespace orvello {

// "PM_" + the photo's name. The copy is always JPEG data, so a TIFF or HEIF photo's copy takes
// the extension ".jpg" instead of its own; a JPEG photo's name (.jpg or .jpeg) stays exactly as
// listed.
QString stampedFileName(const QString& photoName);
// The same rule for a name kept as the file system's bytes (a name that is not UTF-8).
QByteArray stampedNativeName(const QByteArray& nativeName);

// A short reason for a failed write of an image of imageSize pixels to path: a missing folder, no
// permission, a read-only or full disk; else the writer's own detail.
QString saveFailureReason(const QString& path, const QString& detail, QSize imageSize = {});

// "存储失败！", and the reason on a second line.
QString saveFailedMessage(const QString& path, const QString& detail, QSize imageSize = {});

}  // namespace orvello
