#include "photo/prefetch.h"

#include <algorithm>

#include <sys/stat.h>

namespace orvello {

namespace {

// What tells a changed file: its size and its modification time, to the nanosecond.
struct FileStamp {
    bool exists = false;
    qint64 size = 0;
    qint64 seconds = 0, nanoseconds = 0;
    bool operator==(const FileStamp&) const = default;
};

FileStamp stampOf(const QByteArray& path)
{
    struct stat info {};
    if (::stat(path.constData(), &info) != 0) return {};
    return {true, qint64(info.st_size), qint64(info.st_mtim.tv_sec), qint64(info.st_mtim.tv_nsec)};
}

}  // namespace

struct PhotoPrefetcher::Entry {
    QByteArray path;
    FileStamp stamp;  // taken before the file was read
    std::optional<LoadedPhoto> result;
    bool started = false;
    bool done = false;
};

PhotoPrefetcher::PhotoPrefetcher()
{
    // One photo at a time: the next one is ready soonest, and the window keeps a core.
    pool_.setMaxThreadCount(1);
}

PhotoPrefetcher::~PhotoPrefetcher()
{
    clear();
    pool_.waitForDone();
}

void PhotoPrefetcher::prepare(const QList<QByteArray>& nativePaths)
{
    const QList<QByteArray> wanted = nativePaths.mid(0, kCapacity);
    QMutexLocker lock(&mutex_);
    entries_.removeIf([&](const auto& e) { return !wanted.contains(e->path); });
    for (const QByteArray& path : wanted) {
        if (path.isEmpty()) continue;
        if (std::any_of(entries_.begin(), entries_.end(),
                        [&](const auto& e) { return e->path == path; }))
            continue;
        auto entry = std::make_shared<Entry>();
        entry->path = path;
        entries_ << entry;
        pool_.start([this, entry] { load(entry); });
    }
}

void PhotoPrefetcher::load(const std::shared_ptr<Entry>& entry)
{
    {
        QMutexLocker lock(&mutex_);
        // Dropped before its turn came.
        if (!entries_.contains(entry)) return;
        entry->started = true;
    }
    const FileStamp stamp = stampOf(entry->path);
    LoadedPhoto loaded = loadPhoto(entry->path);
    QMutexLocker lock(&mutex_);
    entry->stamp = stamp;
    entry->result = std::move(loaded);
    entry->done = true;
    loaded_.wakeAll();
}

std::optional<LoadedPhoto> PhotoPrefetcher::take(const QByteArray& nativePath)
{
    QMutexLocker lock(&mutex_);
    const auto it = std::find_if(entries_.begin(), entries_.end(),
                                 [&](const auto& e) { return e->path == nativePath; });
    if (it == entries_.end()) return std::nullopt;
    const std::shared_ptr<Entry> entry = *it;
    entries_.erase(it);
    // Not begun: loading it here is sooner than waiting behind another photo.
    if (!entry->started) return std::nullopt;
    while (!entry->done) loaded_.wait(&mutex_);
    if (!entry->stamp.exists || !(stampOf(nativePath) == entry->stamp)) return std::nullopt;
    ++hits_;
    return std::move(entry->result);
}

void PhotoPrefetcher::clear()
{
    QMutexLocker lock(&mutex_);
    entries_.clear();
}

void PhotoPrefetcher::waitForIdle()
{
    pool_.waitForDone();
}

}  // namespace orvello
