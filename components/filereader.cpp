#include "components/filereader.h"

#include <QFile>
#include <QFileInfo>

namespace orvello {

FileRead readWholeFile(const QString& path)
{
    FileRead out;
    const QFileInfo info(path);
    if (!info.exists()) {
        out.failure = ReadFailure::Missing;
        return out;
    }
    if (!info.isFile()) {
        out.failure = ReadFailure::NotOrdinary;
        return out;
    }
    if (info.size() > kMaxPhotoFileBytes) {
        out.failure = ReadFailure::TooLarge;
        return out;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        out.failure = ReadFailure::CannotOpen;
        out.systemError = file.errorString();
        return out;
    }
    // One byte more than allowed shows a file that grew after the check.
    out.bytes = file.read(kMaxPhotoFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        out.failure = ReadFailure::CannotRead;
        out.systemError = file.errorString();
    } else if (out.bytes.size() > kMaxPhotoFileBytes) {
        out.failure = ReadFailure::TooLarge;
    }
    if (!out.ok()) out.bytes.clear();
    return out;
}

}  // namespace orvello
