#pragma once
// Writing a file whose path is given as the file system's own bytes (a name that is not UTF-8
// cannot pass through Qt's file classes), with the same safety as QSaveFile: the data goes to a
// new file in the same folder, which replaces the target only once complete.
#include <QByteArray>
#include <QString>

namespace orvello {

// False on failure, with the system's reason in error.
bool writeNativeFile(const QByteArray& nativePath, const QByteArray& bytes, QString* error);

}  // namespace orvello
