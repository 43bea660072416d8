#pragma once
// The photos a stamp command names: files and folders on the command line or in a list file,
// folders expanded (with --recursive, their sub-folders too). Paths stay the file system's bytes.
#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace orvello {

struct PhotoSource {
    QByteArray path;
    QByteArray subFolder;  // below the folder argument it came from, "a/b/" or empty
    QString problem;       // set: it cannot be stamped (a path too long to open), and why
};

// A folder stands for its photos by the photo list's rule, except the copies this program writes
// (names beginning with "PM_"); a file is taken as it is, whatever its name. report is told about
// a folder without photos or one that cannot be read.
QList<PhotoSource> expandPhotoArgs(const QList<QByteArray>& args, bool recursive,
                                   const std::function<void(const QString&)>& report);

// The names in a list file ("-": standard input), one a line or, with nul, NUL-separated as
// find -print0 writes them; empty names are passed over. Nothing when it cannot be read (error
// set).
std::optional<QList<QByteArray>> readPhotoList(const QByteArray& file, bool nul, QString* error);

}  // namespace orvello
