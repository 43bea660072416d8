#include "components/nativefile.h"

#include "components/jpegwriter.h"

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

bool writeNativeFile(const QByteArray& nativePath, const QByteArray& bytes, QString* error)
{
    const qsizetype slash = nativePath.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : nativePath.left(slash + 1);
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temporary =
            folder + ".orvello-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
        // Created with the usual permissions, less the user's mask, as a new file would be.
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        if (error) *error = systemText(errno);
        return false;
    }
    const bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
    const int writeError = errno;
    const bool closed = ::close(fd) == 0;
    // rename replaces a symbolic link itself, never the file it points to.
    if (written && closed && ::rename(temporary.constData(), nativePath.constData()) == 0)
        return true;
    const int reason = !written ? writeError : errno;
    ::unlink(temporary.constData());
    if (error) *error = systemText(reason);
    return false;
}

bool JpegWriter::saveNative(const QImage& image, const QByteArray& nativePath)
{
    error_.clear();
    const QByteArray bytes = encodeJpeg(image, options_, &error_);
    if (bytes.isEmpty()) return false;
    if (hook_ && !hook_(bytes)) {
        error_ = QStringLiteral("写入失败");
        return false;
    }
    return writeNativeFile(nativePath, bytes, &error_);
}

}  // namespace orvello
