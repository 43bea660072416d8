#pragma once
// Writing a file whose path is given as the file system's own bytes (a name that is not UTF-8
// cannot pass through Qt's file classes), with the same safety as QSaveFile: the data goes to a
// new file in the same folder, which replaces the target only once complete and durable, its
// folder flushed too.
//
// Where the file system allows it the new file has no name until it is complete (O_TMPFILE), so a
// process that is killed leaves nothing behind; elsewhere it is a hidden ".orvello-…" file,
// listed where a stop can remove it (removeTemporaryFilesNow). Every name is made relative to
// the folder held open, never by a path looked up again.
#include <QByteArray>
#include <QString>
#include <memory>

namespace orvello {

// A folder held open. Files are made in it by name, and folders below it are entered one part at
// a time without following a link, so a folder on the way that is swapped for a link later
// changes nothing.
class NativeFolder {
public:
    // path (its links followed: the caller named it), created with its parents when create is
    // set. Null on failure, with errno in *failure.
    static std::shared_ptr<NativeFolder> open(const QByteArray& path, bool create, int* failure);
    // The folder relative ("a/b/") below this one, each part created when missing. A part that
    // is a link fails with ELOOP, one that is no folder with ENOTDIR, ".." with EXDEV.
    std::shared_ptr<NativeFolder> below(const QByteArray& relative, int* failure) const;

    explicit NativeFolder(int fd) : fd_(fd) {}
    NativeFolder(const NativeFolder&) = delete;
    NativeFolder& operator=(const NativeFolder&) = delete;
    ~NativeFolder();
    int descriptor() const { return fd_; }

private:
    int fd_;
};

// False on failure, with the system's reason in error.
bool writeNativeFile(const QByteArray& nativePath, const QByteArray& bytes, QString* error);

// The reason given when the file system has no room left (ENOSPC, EDQUOT).
QString diskFullText();
// The system's reason for errno error, in the interface's language where we have our own words.
QString nativeErrorText(int error);

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
    // The file name in folder.
    bool open(const NativeFolder& folder, const QByteArray& name, QString* error);
    bool write(const char* data, qsizetype size);
    // Makes the data durable and puts the new file in the target's place.
    bool commit(QString* error);
    void cancel();
    QString errorString() const { return error_; }
    bool targetExisted() const { return targetExisted_; }

private:
    bool openIn(QString* error);
    bool createNamed();
    bool placeUnnamed();
    bool nameUnnamedCopy();
    bool placeNamed();
    bool placeOverPlaceholder();
    void forgetTemporary();
    int dir_ = -1;     // the target's folder
    QByteArray name_;  // the target's name in it
    QByteArray temporary_;
    int fd_ = -1;
    quint64 listed_ = 0;  // where temporary_ is listed for a stop, 0: not listed
    bool unnamed_ = false;
    bool replace_ = true;
    bool targetExisted_ = false;
    QString error_;
};

// Stops every save of this process from creating or placing a file from now on, and removes the
// named temporary files that exist. For the thread that takes a stop signal: it takes a lock,
// so it must not run in a signal handler.
void removeTemporaryFilesNow();
// True once that has begun: a save that fails from then on was cut off, not refused.
bool savesStopped();

// For tests: behave as on a file system without unnamed files, or without hard links and the
// no-replace rename (the calls fail there with EOPNOTSUPP), to take those ways on any disk.
void simulateFileSystemForTests(bool unnamedFiles, bool hardLinks);

}  // namespace orvello
