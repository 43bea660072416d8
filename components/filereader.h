#pragma once
// Reading a photo file whole, once: ordinary files only (a pipe or a device could block for
// ever), at most kMaxPhotoFileBytes, into a buffer the size of the file. Callers word the failure
// in their own language.
#include <QByteArray>
#include <QString>

namespace orvello {

inline constexpr qint64 kMaxPhotoFileBytes = qint64(1) << 30;

enum class ReadFailure { None, Missing, NotOrdinary, TooLarge, CannotOpen, CannotRead, NoMemory };

struct FileRead {
    QByteArray bytes;
    ReadFailure failure = ReadFailure::None;
    QString systemError;  // the system's own words for CannotOpen and CannotRead
    bool ok() const { return failure == ReadFailure::None; }
};

// path as the file system spells it: its bytes, which need not be UTF-8.
FileRead readWholeFile(const QByteArray& nativePath);
FileRead readWholeFile(const QString& path);

}  // namespace orvello
