#include "batch/stampjobs.h"

#include "imaging/jpegdecoder.h"

#include <QThread>
#include <algorithm>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvello {

namespace {

// A photo whose size cannot be read from its first bytes counts as a large camera photo.
constexpr qint64 kUnknownPixels = 24'000'000;
// The frame header of a JPEG comes after its metadata, which rarely passes this.
constexpr qint64 kHeaderBytes = 256 * 1024;
// Enough photos to meet the large ones of a folder without reading every header of an archive.
constexpr int kSampledPhotos = 64;

qint64 availableMemory()
{
    std::FILE* f = std::fopen("/proc/meminfo", "r");
    if (!f) return 0;
    char line[256];
    long long kb = 0;
    while (std::fgets(line, sizeof line, f))
        if (std::sscanf(line, "MemAvailable: %lld kB", &kb) == 1) break;
    std::fclose(f);
    return qint64(kb) * 1024;
}

qint64 photoPixels(const QByteArray& path)
{
    // As the photo reader opens it: a named pipe must not hold up the batch before it starts,
    // and a name need not be UTF-8.
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return kUnknownPixels;
    struct stat info {};
    QByteArray header;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        header.resize(kHeaderBytes);
        const ssize_t n = ::read(fd, header.data(), size_t(header.size()));
        header.resize(n > 0 ? qsizetype(n) : 0);
    }
    ::close(fd);
    const JpegLayout layout = readJpegLayout(header);
    return layout.valid ? qint64(layout.width) * layout.height : kUnknownPixels;
}

}  // namespace

qint64 stampBytesPerPixelCount(qint64 pixels)
{
    return pixels * 4 * 3;
}

StampJobs boundStampJobs(int asked, const QList<QByteArray>& sources)
{
    StampJobs j;
    j.cores = std::max(1, QThread::idealThreadCount());
    j.availableBytes = availableMemory();
    qint64 largest = 0;
    const qsizetype step = std::max<qsizetype>(1, sources.size() / kSampledPhotos);
    for (qsizetype i = 0; i < sources.size(); i += step)
        largest = std::max(largest, photoPixels(sources[i]));
    j.bytesPerJob = stampBytesPerPixelCount(largest);
    j.jobs = std::min(asked > 0 ? asked : j.cores, j.cores);
    if (j.availableBytes > 0 && j.bytesPerJob > 0)
        j.jobs =
            int(std::min<qint64>(j.jobs, std::max<qint64>(1, j.availableBytes / j.bytesPerJob)));
    j.jobs = std::max(1, j.jobs);
    return j;
}

}  // namespace orvello
