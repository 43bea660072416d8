#pragma once
// Writing a file whose path is given as the file system's own bytes (a name that is not UTF-8
// cannot pass through Qt's file classes), with the same safety as QSaveFile: the data goes to a
// new file in the same folder, which replaces the target only once complete.
//
// Where the file system allows it the new file has no name until it is complete (O_TMPFILE), so a
// process that is killed leaves nothing behind; elsewhere it is a hidden ".orvello-…" file,
// listed where a signal handler can remove it (removeTemporaryFilesNow).
#include <QByteArray>
#include <QString>

namespace orvello {

// False on failure, with the system's reason in error.
bool writeNativeFile(const QByteArray& nativePath, const QByteArray& bytes, QString* error);

// The reason given when the file system has no room left (ENOSPC, EDQUOT).
QString diskFullText();

// The same in steps, for data written as it is made. A file neither committed nor cancelled is
// removed when the object goes.
class NativeSaveFile {
public:
    NativeSaveFile() = default;
    NativeSaveFile(const NativeSaveFile&) = delete;
    NativeSaveFile& operator=(const NativeSaveFile&) = delete;
    ~NativeSaveFile() { cancel(); }

    // Off: the commit fails (targetExisted()) when something stands at the target by then, even
    // a file that appeared while the data was written.
    void setReplaceExisting(bool replace) { replace_ = replace; }

    bool open(const QByteArray& nativePath, QString* error);
    bool write(const char* data, qsizetype size);
    // Makes the data durable and puts the new file in the target's place.
    bool commit(QString* error);
    void cancel();
    QString errorString() const { return error_; }
    bool targetExisted() const { return targetExisted_; }

private:
    bool placeUnnamed();
    bool placeNamed();
    void forgetTemporary();
    QByteArray target_, temporary_;
    int fd_ = -1;
    int slot_ = -1;  // where temporary_ is listed for the signal handler
    bool unnamed_ = false;
    bool replace_ = true;
    bool targetExisted_ = false;
    QString error_;
};

// Removes every named temporary file of this process that exists now. Safe to call from a signal
// handler: it only unlinks paths from a fixed table.
void removeTemporaryFilesNow();

}  // namespace orvello
