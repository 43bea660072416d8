#include "components/nativefile.h"

#include <QRandomGenerator>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include <ctime>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvello {

namespace {

// The named temporary files that exist, in a table a signal handler may read: a slot is filled
// before its file is created and emptied after the file is gone or renamed.
struct TemporarySlot {
    std::atomic<int> state{0};  // 0 free, 1 being filled, 2 holds a path
    char path[PATH_MAX];
};
constexpr int kTemporarySlots = 256;
TemporarySlot temporarySlots[kTemporarySlots];

int listTemporary(const QByteArray& path)
{
    if (path.size() >= PATH_MAX) return -1;
    for (int i = 0; i < kTemporarySlots; ++i) {
        int expected = 0;
        if (!temporarySlots[i].state.compare_exchange_strong(expected, 1)) continue;
        std::memcpy(temporarySlots[i].path, path.constData(), size_t(path.size()) + 1);
        temporarySlots[i].state.store(2);
        return i;
    }
    return -1;
}

// A stop may come while another thread is between listing a file and creating it: the handler
// waits for creations under way (never for one its own thread was interrupted in), and none
// starts after it began, so every file that exists when it sweeps is listed.
std::atomic<int> creating{0};
std::atomic<bool> stopping{false};
thread_local int creatingHere = 0;

struct CreationGuard {
    bool allowed;
    CreationGuard()
    {
        creating.fetch_add(1);
        creatingHere = 1;
        allowed = !stopping.load();
        if (!allowed) errno = EINTR;
    }
    ~CreationGuard()
    {
        creatingHere = 0;
        creating.fetch_sub(1);
    }
    CreationGuard(const CreationGuard&) = delete;
    CreationGuard& operator=(const CreationGuard&) = delete;
};

void unlistTemporary(int slot)
{
    if (slot >= 0) temporarySlots[slot].state.store(0);
}

QString systemText(int error)
{
    if (error == ENOSPC || error == EDQUOT) return diskFullText();
    return QString::fromLocal8Bit(std::strerror(error));
}

bool writeAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += n;
    }
    return true;
}

QByteArray folderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : path.left(slash + 1);
}

QByteArray temporaryName(const QByteArray& folder)
{
    const QByteArray base = folder.endsWith('/') ? folder : folder + '/';
    return base + ".orvello-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
}

// An unnamed file is given its name through /proc; without /proc it cannot be. The variable
// ORVELLO_NAMED_TEMPORARY_FILES=1 takes the way of file systems without unnamed files (a memory
// card's), so that it can be tried on any disk.
bool canNameUnnamedFiles()
{
    static const bool can = ::access("/proc/self/fd", X_OK) == 0 &&
                            qEnvironmentVariableIntValue("ORVELLO_NAMED_TEMPORARY_FILES") != 1;
    return can;
}

}  // namespace

QString diskFullText()
{
    return QStringLiteral("磁盘已满");
}

void removeTemporaryFilesNow()
{
    stopping.store(true);
    const timespec pause{0, 1000000};
    while (creating.load() > creatingHere) ::nanosleep(&pause, nullptr);
    for (TemporarySlot& slot : temporarySlots)
        if (slot.state.load() == 2) ::unlink(slot.path);
}

bool NativeSaveFile::open(const QByteArray& nativePath, QString* error)
{
    cancel();
    target_ = nativePath;
    targetExisted_ = false;
    const QByteArray folder = folderOf(nativePath);
    // Created with the usual permissions, less the user's mask, as a new file would be.
    if (canNameUnnamedFiles())
        fd_ = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    unnamed_ = fd_ >= 0;
    // Some file systems have no unnamed files: a hidden one then, listed before it exists so
    // that a signal at any moment finds it.
    for (int attempt = 0; attempt < 16 && fd_ < 0; ++attempt) {
        const CreationGuard guard;
        if (!guard.allowed) break;
        temporary_ = temporaryName(folder);
        slot_ = listTemporary(temporary_);
        fd_ = ::open(temporary_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0) break;
        const int openError = errno;
        forgetTemporary();
        errno = openError;
        if (openError != EEXIST) break;
    }
    if (fd_ >= 0) return true;
    error_ = systemText(errno);
    if (error) *error = error_;
    return false;
}

bool NativeSaveFile::write(const char* data, qsizetype size)
{
    if (fd_ < 0) return false;
    if (writeAll(fd_, QByteArray::fromRawData(data, size))) return true;
    error_ = systemText(errno);
    return false;
}

// An unnamed file takes the target's name directly when nothing may be replaced (the link fails
// if the name is taken); else a hidden name first, which is then renamed over the target.
bool NativeSaveFile::placeUnnamed()
{
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd_);
    if (!replace_)
        return ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, target_.constData(),
                        AT_SYMLINK_FOLLOW) == 0;
    for (int attempt = 0; attempt < 16; ++attempt) {
        const CreationGuard guard;
        if (!guard.allowed) break;
        temporary_ = temporaryName(folderOf(target_));
        slot_ = listTemporary(temporary_);
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, temporary_.constData(),
                     AT_SYMLINK_FOLLOW) == 0)
            return placeNamed();
        const int linkError = errno;
        forgetTemporary();
        errno = linkError;
        if (linkError != EEXIST) break;
    }
    return false;
}

bool NativeSaveFile::placeNamed()
{
    // rename replaces a symbolic link itself, never the file it points to.
    if (replace_) return ::rename(temporary_.constData(), target_.constData()) == 0;
    if (::renameat2(AT_FDCWD, temporary_.constData(), AT_FDCWD, target_.constData(),
                    RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without the no-replace rename: a hard link fails just as well on a name taken.
    if (::link(temporary_.constData(), target_.constData()) != 0) return false;
    ::unlink(temporary_.constData());
    return true;
}

bool NativeSaveFile::commit(QString* error)
{
    if (fd_ < 0) return false;
    if (replace_) {
        // A replaced file keeps its permissions, as with QSaveFile.
        struct stat old {};
        if (::lstat(target_.constData(), &old) == 0 && S_ISREG(old.st_mode))
            ::fchmod(fd_, old.st_mode & 07777);
    }
    const bool placed = ::fsync(fd_) == 0 && (unnamed_ ? placeUnnamed() : placeNamed());
    const int failure = errno;
    if (placed) {
        // The data is durable and in place: a late error of close changes nothing.
        ::close(fd_);
        fd_ = -1;
        forgetTemporary();
        return true;
    }
    targetExisted_ = !replace_ && failure == EEXIST;
    error_ = systemText(failure);
    if (error) *error = error_;
    cancel();
    return false;
}

void NativeSaveFile::forgetTemporary()
{
    unlistTemporary(slot_);
    slot_ = -1;
    temporary_.clear();
}

void NativeSaveFile::cancel()
{
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temporary_.isEmpty()) ::unlink(temporary_.constData());
    forgetTemporary();
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
