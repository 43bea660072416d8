#include "components/filereader.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvello {

namespace {

QString systemText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

struct Descriptor {
    int fd = -1;
    ~Descriptor()
    {
        if (fd >= 0) ::close(fd);
    }
};

}  // namespace

FileRead readWholeFile(const QByteArray& nativePath)
{
    FileRead out;
    // O_NONBLOCK: opening a pipe must not wait for a writer; the type is checked before reading.
    Descriptor file;
    file.fd = ::open(nativePath.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (file.fd < 0) {
        out.failure =
            errno == ENOENT || errno == ENOTDIR ? ReadFailure::Missing : ReadFailure::CannotOpen;
        out.systemError = systemText(errno);
        return out;
    }
    struct stat info {};
    if (::fstat(file.fd, &info) != 0) {
        out.failure = ReadFailure::CannotRead;
        out.systemError = systemText(errno);
        return out;
    }
    if (!S_ISREG(info.st_mode)) {
        out.failure = ReadFailure::NotOrdinary;
        return out;
    }
    if (info.st_size > kMaxPhotoFileBytes) {
        out.failure = ReadFailure::TooLarge;
        return out;
    }
    // The buffer is the size the file has. A file that grows meanwhile is read on, up to the cap.
    qint64 got = 0;
    try {
        out.bytes.resize(qsizetype(info.st_size + 1));
        for (;;) {
            if (got == out.bytes.size()) {
                if (got > kMaxPhotoFileBytes) {
                    out.failure = ReadFailure::TooLarge;
                    break;
                }
                out.bytes.resize(qsizetype(std::min(got * 2, kMaxPhotoFileBytes + 1)));
            }
            const ssize_t n =
                ::read(file.fd, out.bytes.data() + got, size_t(out.bytes.size() - got));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                out.failure = ReadFailure::CannotRead;
                out.systemError = systemText(errno);
                break;
            }
            if (n == 0) break;
            got += n;
        }
    } catch (const std::bad_alloc&) {
        out.failure = ReadFailure::NoMemory;
    }
    if (out.ok())
        out.bytes.truncate(qsizetype(got));
    else
        out.bytes = QByteArray();
    return out;
}

FileRead readWholeFile(const QString& path)
{
    return readWholeFile(QFile::encodeName(path));
}

}  // namespace orvello
