#include "components/nativefile.h"

#include <QList>
#include <QRandomGenerator>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QCoreApplication>

namespace orvello {

namespace {

// The named files a stop must remove (temporary files, and a placeholder standing at a target),
// by folder and name, with the file they were made as, so that a name taken over by another
// process meanwhile is left alone. Every creating and every placing of a file happens under the
// lock and only while no stop has begun: what exists when a stop sweeps is listed, and nothing
// appears afterwards.
struct Listed {
    int dir;
    QByteArray name;
    dev_t device;
    ino_t inode;
};
std::mutex listLock;
std::map<quint64, Listed> listed;  // guarded by listLock
quint64 lastListed = 0;            // guarded by listLock
bool stopping = false;             // guarded by listLock

std::atomic<bool> withoutUnnamedFiles{false}, withoutLinks{false};

bool sameFile(const Listed& file)
{
    struct stat now {};
    return ::fstatat(file.dir, file.name.constData(), &now, AT_SYMLINK_NOFOLLOW) == 0 &&
           now.st_dev == file.device && now.st_ino == file.inode;
}

// Runs make (a call that creates or places a file: -1 and errno on failure) under the lock, unless
// a stop has begun (EINTR then). On success the file then at dir/name is listed as *id when id is
// given, and the entry *unlist is forgotten.
template <typename Make>
int guarded(const Make& make, int dir = -1, const QByteArray& name = {}, quint64* id = nullptr,
            quint64* unlist = nullptr)
{
    const std::lock_guard lock(listLock);
    if (stopping) {
        errno = EINTR;
        return -1;
    }
    const int result = make();
    const int error = errno;
    if (result >= 0 && id) {
        struct stat made {};
        ::fstatat(dir, name.constData(), &made, AT_SYMLINK_NOFOLLOW);
        *id = ++lastListed;
        listed.emplace(*id, Listed{dir, name, made.st_dev, made.st_ino});
    }
    if (result >= 0 && unlist && *unlist) {
        listed.erase(*unlist);
        *unlist = 0;
    }
    errno = error;
    return result;
}

void unlist(quint64* id)
{
    if (!*id) return;
    const std::lock_guard lock(listLock);
    listed.erase(*id);
    *id = 0;
}

// What a file system without hard links or the no-replace rename answers (CIFS, some FUSE).
bool lacksLinks(int error)
{
    return error == EPERM || error == EOPNOTSUPP || error == EINVAL || error == ENOSYS;
}

int linkIn(int fromDir, const QByteArray& from, int toDir, const QByteArray& to, int flags)
{
    if (withoutLinks.load()) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return ::linkat(fromDir, from.constData(), toDir, to.constData(), flags);
}

int renameNoReplace(int dir, const QByteArray& from, const QByteArray& to)
{
    if (withoutLinks.load()) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return ::renameat2(dir, from.constData(), dir, to.constData(), RENAME_NOREPLACE);
}

bool writeAll(int fd, const char* data, qsizetype size)
{
    qsizetype done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size_t(size - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += n;
    }
    return true;
}

bool copyAll(int from, int to)
{
    QByteArray buffer(1 << 18, Qt::Uninitialized);
    for (off_t at = 0;;) {
        const ssize_t n = ::pread(from, buffer.data(), size_t(buffer.size()), at);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        if (!writeAll(to, buffer.constData(), n)) return false;
        at += n;
    }
}

QByteArray temporaryName()
{
    return ".orvello-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
}

// Readable where it can be, so that its entries can be flushed; else only to name files in.
int openFolder(int dir, const QByteArray& path, int extraFlags)
{
    const int flags = O_DIRECTORY | O_CLOEXEC | extraFlags;
    const int fd = ::openat(dir, path.constData(), O_RDONLY | flags);
    return fd >= 0 || errno != EACCES ? fd : ::openat(dir, path.constData(), O_PATH | flags);
}

// A new folder lasts a power loss only once the folder holding it is flushed.
void flushEntries(int dir, const QByteArray& path)
{
    const int fd = ::openat(dir, path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// An unnamed file is given its name through /proc; without /proc it cannot be. The variable
// ORVELLO_NAMED_TEMPORARY_FILES=1 takes the way of file systems without unnamed files (a memory
// card's), so that it can be tried on any disk.
bool canNameUnnamedFiles()
{
    static const bool can = ::access("/proc/self/fd", X_OK) == 0 &&
                            qEnvironmentVariableIntValue("ORVELLO_NAMED_TEMPORARY_FILES") != 1;
    return can && !withoutUnnamedFiles.load();
}

}  // namespace

std::shared_ptr<NativeFolder> NativeFolder::open(const QByteArray& path, bool create, int* failure)
{
    const QByteArray folder = path.isEmpty() ? QByteArray(".") : path;
    int made = 0;
    const auto make = [&made](const QByteArray& part) {
        if (::mkdir(part.constData(), 0777) == 0)
            flushEntries(AT_FDCWD, part + "/..");
        else if (errno != EEXIST)
            made = errno;
    };
    if (create) {
        for (qsizetype at = folder.indexOf('/', 1); at > 0; at = folder.indexOf('/', at + 1))
            make(folder.left(at));
        make(folder);
    }
    const int fd = openFolder(AT_FDCWD, folder, 0);
    if (fd >= 0) return std::make_shared<NativeFolder>(fd);
    // A folder that could not be made is missing for the reason it could not.
    *failure = errno == ENOENT && made > 0 ? made : errno;
    return nullptr;
}

std::shared_ptr<NativeFolder> NativeFolder::below(const QByteArray& relative, int* failure) const
{
    int dir = fd_, owned = -1;
    for (const QByteArray& part : relative.split('/')) {
        if (part.isEmpty() || part == ".") continue;
        int next = part == ".." ? (errno = EXDEV, -1) : openFolder(dir, part, O_NOFOLLOW);
        if (next < 0 && errno == ENOENT) {
            const bool made = ::mkdirat(dir, part.constData(), 0777) == 0;
            if (made) ::fsync(dir);
            if (made || errno == EEXIST) next = openFolder(dir, part, O_NOFOLLOW);
        }
        if (next < 0) {
            const int error = errno;
            struct stat info {};
            *failure = ::fstatat(dir, part.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
                               S_ISLNK(info.st_mode)
                           ? ELOOP
                           : error;
            if (owned >= 0) ::close(owned);
            return nullptr;
        }
        if (owned >= 0) ::close(owned);
        dir = owned = next;
    }
    if (owned < 0) owned = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
    if (owned >= 0) return std::make_shared<NativeFolder>(owned);
    *failure = errno;
    return nullptr;
}

NativeFolder::~NativeFolder()
{
    ::close(fd_);
}

QString diskFullText()
{
    return QCoreApplication::translate("components", "磁盘已满");
}

QString nativeErrorText(int error)
{
    if (error == ENOSPC || error == EDQUOT) return diskFullText();
    return QString::fromLocal8Bit(std::strerror(error));
}

void removeTemporaryFilesNow()
{
    const std::lock_guard lock(listLock);
    stopping = true;
    for (const auto& [id, file] : listed)
        if (sameFile(file)) ::unlinkat(file.dir, file.name.constData(), 0);
}

bool savesStopped()
{
    const std::lock_guard lock(listLock);
    return stopping;
}

void simulateFileSystemForTests(bool unnamedFiles, bool hardLinks)
{
    withoutUnnamedFiles = !unnamedFiles;
    withoutLinks = !hardLinks;
}

bool NativeSaveFile::open(const QByteArray& nativePath, QString* error)
{
    cancel();
    const qsizetype slash = nativePath.lastIndexOf('/');
    name_ = nativePath.mid(slash + 1);
    dir_ = openFolder(AT_FDCWD,
                      slash < 0    ? QByteArray(".")
                      : slash == 0 ? QByteArray("/")
                                   : nativePath.left(slash),
                      0);
    return openIn(error);
}

bool NativeSaveFile::open(const NativeFolder& folder, const QByteArray& name, QString* error)
{
    cancel();
    name_ = name;
    dir_ = ::fcntl(folder.descriptor(), F_DUPFD_CLOEXEC, 0);
    return openIn(error);
}

bool NativeSaveFile::openIn(QString* error)
{
    targetExisted_ = false;
    const bool named = !name_.isEmpty() && name_ != "." && name_ != ".." && !name_.contains('/');
    if (!named) errno = EISDIR;
    if (dir_ >= 0 && named && canNameUnnamedFiles())
        // Created with the usual permissions, less the user's mask, as a new file would be.
        fd_ = ::openat(dir_, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    unnamed_ = fd_ >= 0;
    // Some file systems have no unnamed files: a hidden one then.
    if (fd_ >= 0 || (dir_ >= 0 && named && createNamed())) return true;
    error_ = nativeErrorText(errno);
    if (error) *error = error_;
    cancel();
    return false;
}

// A hidden file beside the target, listed as it is made.
bool NativeSaveFile::createNamed()
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QByteArray name = temporaryName();
        fd_ = guarded(
            [&] {
                return ::openat(dir_, name.constData(),
                                O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
            },
            dir_, name, &listed_);
        if (fd_ >= 0) temporary_ = name;
        if (fd_ >= 0 || errno != EEXIST) break;
    }
    return fd_ >= 0;
}

bool NativeSaveFile::write(const char* data, qsizetype size)
{
    if (fd_ < 0) return false;
    if (writeAll(fd_, data, size)) return true;
    error_ = nativeErrorText(errno);
    return false;
}

// An unnamed file takes the target's name directly when nothing may be replaced (the link fails
// if the name is taken); else a hidden name first, which is then renamed over the target.
bool NativeSaveFile::placeUnnamed()
{
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd_);
    if (!replace_) {
        if (guarded([&] { return linkIn(AT_FDCWD, self, dir_, name_, AT_SYMLINK_FOLLOW); }) == 0)
            return true;
        return lacksLinks(errno) && nameUnnamedCopy() && placeNamed();
    }
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QByteArray name = temporaryName();
        if (guarded([&] { return linkIn(AT_FDCWD, self, dir_, name, AT_SYMLINK_FOLLOW); }, dir_,
                    name, &listed_) == 0) {
            temporary_ = name;
            return placeNamed();
        }
        if (errno != EEXIST) return lacksLinks(errno) && nameUnnamedCopy() && placeNamed();
    }
    return false;
}

// The file system makes unnamed files but cannot name them: the data goes into a named one.
bool NativeSaveFile::nameUnnamedCopy()
{
    const int unnamed = fd_;
    fd_ = -1;
    unnamed_ = false;
    const bool copied = createNamed() && copyAll(unnamed, fd_) && ::fsync(fd_) == 0;
    const int error = errno;
    ::close(unnamed);
    errno = error;
    return copied;
}

bool NativeSaveFile::placeNamed()
{
    // rename replaces a symbolic link itself, never the file it points to.
    if (replace_)
        return guarded(
                   [&] {
                       return ::renameat(dir_, temporary_.constData(), dir_, name_.constData());
                   },
                   -1, {}, nullptr, &listed_) == 0;
    if (guarded([&] { return renameNoReplace(dir_, temporary_, name_); }, -1, {}, nullptr,
                &listed_) == 0)
        return true;
    if (!lacksLinks(errno)) return false;
    // No no-replace rename here: a hard link fails just as well on a name taken.
    if (guarded([&] { return linkIn(dir_, temporary_, dir_, name_, 0); }) == 0) {
        ::unlinkat(dir_, temporary_.constData(), 0);
        forgetTemporary();
        return true;
    }
    return lacksLinks(errno) && placeOverPlaceholder();
}

// Neither: an empty file made exclusively claims the name, and the data is renamed over that
// placeholder of ours. It is listed meanwhile, so that a stop leaves no empty copy behind.
bool NativeSaveFile::placeOverPlaceholder()
{
    quint64 holder = 0;
    const int fd = guarded(
        [&] {
            return ::openat(dir_, name_.constData(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        },
        dir_, name_, &holder);
    if (fd < 0) return false;
    ::close(fd);
    const std::lock_guard lock(listLock);
    const Listed placeholder = listed.at(holder);
    listed.erase(holder);
    if (!stopping && ::renameat(dir_, temporary_.constData(), dir_, name_.constData()) == 0) {
        listed.erase(listed_);
        listed_ = 0;
        temporary_.clear();
        return true;
    }
    const int error = stopping ? EINTR : errno;
    // Taken away again, unless something else stands there by now.
    if (sameFile(placeholder)) ::unlinkat(dir_, name_.constData(), 0);
    errno = error;
    return false;
}

bool NativeSaveFile::commit(QString* error)
{
    if (fd_ < 0) return false;
    if (replace_) {
        // A replaced file keeps its permissions, as with QSaveFile.
        struct stat old {};
        if (::fstatat(dir_, name_.constData(), &old, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(old.st_mode))
            ::fchmod(fd_, old.st_mode & 07777);
    }
    bool placed = ::fsync(fd_) == 0 && (unnamed_ ? placeUnnamed() : placeNamed());
    int failure = errno;
    if (placed) {
        // The data is durable and in place: a late error of close changes nothing.
        ::close(fd_);
        fd_ = -1;
        forgetTemporary();
        // The new name is durable only once its folder is. A folder that cannot be flushed (no
        // read access, a file system without it) is passed over.
        if (::fsync(dir_) == 0 || errno == EBADF || errno == EINVAL || errno == EROFS) {
            cancel();
            return true;
        }
        placed = false;
        failure = errno;
    }
    targetExisted_ = !replace_ && failure == EEXIST;
    error_ = nativeErrorText(failure);
    if (error) *error = error_;
    cancel();
    return false;
}

void NativeSaveFile::forgetTemporary()
{
    unlist(&listed_);
    temporary_.clear();
}

void NativeSaveFile::cancel()
{
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temporary_.isEmpty()) ::unlinkat(dir_, temporary_.constData(), 0);
    forgetTemporary();
    // Only once nothing of it is listed: a stop may use the folder until then.
    if (dir_ >= 0) ::close(dir_);
    dir_ = -1;
}

bool writeNativeFile(const QByteArray& nativePath, const QByteArray& bytes, QString* error)
{
    NativeSaveFile file;
    if (!file.open(nativePath, error)) return false;
    if (!file.write(bytes.constData(), bytes.size())) {
        if (error) *error = file.errorString();
        return false;
    }
    return file.commit(error);
}

}  // namespace orvello
