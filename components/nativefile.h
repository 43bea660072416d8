#pragma once
// Writing a file whose path is given as the file system's own bytes (a name that is not UTF-8
// cannot pass through Qt's file classes), with the same safety as QSaveFile: the data goes to a
// new file in the same folder, which replaces the target only once complete.
#include <QByteArray>
#include <QString>

namespace orvello {

// False on failure, with the system's reason in error.
bool writeNativeFile(const QByteArray& nativePath, const QByteArray& bytes, QString* error);

// The same in steps, for data written as it is made. A file neither committed nor cancelled is
// removed when the object goes.
class NativeSaveFile {
public:
    NativeSaveFile() = default;
    NativeSaveFile(const NativeSaveFile&) = delete;
    NativeSaveFile& operator=(const NativeSaveFile&) = delete;
    ~NativeSaveFile() { cancel(); }

    bool open(const QByteArray& nativePath, QString* error);
    bool write(const char* data, qsizetype size);
    // Makes the data durable and puts the new file in the target's place.
    bool commit(QString* error);
    void cancel();
    QString errorString() const { return error_; }

private:
    QByteArray target_, temporary_;
    int fd_ = -1;
    QString error_;
};

}  // namespace orvello
