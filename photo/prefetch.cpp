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

PhotoPrefetcher::PhotoPrefetcher() : thread_([this] { loadLoop(); }) {}

PhotoPrefetcher::~PhotoPrefetcher()
{
    {
        const std::lock_guard lock(mutex_);
        entries_.clear();
        ending_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void PhotoPrefetcher::prepare(const QList<QByteArray>& nativePaths)
{
    const QList<QByteArray> wanted = nativePaths.mid(0, kCapacity);
    {
        const std::lock_guard lock(mutex_);
        entries_.removeIf([&](const auto& e) { return !wanted.contains(e->path); });
        for (const QByteArray& path : wanted) {
            if (path.isEmpty() || std::any_of(entries_.begin(), entries_.end(),
                                              [&](const auto& e) { return e->path == path; }))
                continue;
            auto entry = std::make_shared<Entry>();
            entry->path = path;
            entries_ << entry;
        }
    }
    changed_.notify_all();
}

void PhotoPrefetcher::loadLoop()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        std::shared_ptr<Entry> entry;
        changed_.wait(lock, [&] {
            if (ending_) return true;
            for (const auto& e : entries_)
                if (!e->started) return bool(entry = e);
            return false;
        });
        if (ending_) return;
        entry->started = true;
        loading_ = true;
        const LoadOptions options = options_;
        lock.unlock();
        const FileStamp stamp = stampOf(entry->path);
        LoadedPhoto loaded = loadPhoto(entry->path, options);
        lock.lock();
        entry->stamp = stamp;
        entry->result = std::move(loaded);
        entry->done = true;
        loading_ = false;
        changed_.notify_all();
    }
}

std::optional<LoadedPhoto> PhotoPrefetcher::take(const QByteArray& nativePath)
{
    std::unique_lock lock(mutex_);
    const auto it = std::find_if(entries_.begin(), entries_.end(),
                                 [&](const auto& e) { return e->path == nativePath; });
    if (it == entries_.end()) return std::nullopt;
    const std::shared_ptr<Entry> entry = *it;
    entries_.erase(it);
    // Not begun: loading it here is sooner than waiting behind another photo.
    if (!entry->started) return std::nullopt;
    changed_.wait(lock, [&] { return entry->done; });
    if (!entry->stamp.exists || !(stampOf(nativePath) == entry->stamp)) return std::nullopt;
    ++hits_;
    return std::move(entry->result);
}

void PhotoPrefetcher::clear()
{
    const std::lock_guard lock(mutex_);
    entries_.clear();
}

void PhotoPrefetcher::setLoadOptions(const LoadOptions& options)
{
    const std::lock_guard lock(mutex_);
    options_ = options;
    entries_.clear();
}

void PhotoPrefetcher::waitForIdle()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] {
        return !loading_ && std::none_of(entries_.begin(), entries_.end(),
                                         [](const auto& e) { return !e->started; });
    });
}

}  // namespace orvello
