#include "components/nativefile.h"

#include <QRandomGenerator>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace orvello {

namespace {

QString systemText(int error)
{
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

}  // namespace

bool NativeSaveFile::open(const QByteArray& nativePath, QString* error)
{
    cancel();
    target_ = nativePath;
    const qsizetype slash = nativePath.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : nativePath.left(slash + 1);
    for (int attempt = 0; attempt < 16 && fd_ < 0; ++attempt) {
        temporary_ =
            folder + ".orvello-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
        // Created with the usual permissions, less the user's mask, as a new file would be.
        fd_ = ::open(temporary_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST) break;
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

bool NativeSaveFile::commit(QString* error)
{
    if (fd_ < 0) return false;
    const bool written = ::fsync(fd_) == 0;
    const int writeError = errno;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    // rename replaces a symbolic link itself, never the file it points to.
    if (written && closed && ::rename(temporary_.constData(), target_.constData()) == 0) {
        temporary_.clear();
        return true;
    }
    error_ = systemText(!written ? writeError : errno);
    if (error) *error = error_;
    cancel();
    return false;
}

void NativeSaveFile::cancel()
{
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temporary_.isEmpty()) ::unlink(temporary_.constData());
    temporary_.clear();
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
