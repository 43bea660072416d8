#pragma once
// The neighbours of the current list entry, read, decoded and listed in the background while the
// current photo is on screen, so that stepping to one of them need not wait for the disk and the
// decoder. A prepared photo is used only while its file is unchanged (size and modification
// time); messages about it are left to whoever takes it.
#include "photo/photoloader.h"

#include <QByteArray>
#include <QList>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace orvello {

class PhotoPrefetcher {
public:
    // At most this many photos are kept or under way.
    static constexpr int kCapacity = 2;

    PhotoPrefetcher();
    ~PhotoPrefetcher();  // waits for a load under way, then ends the loading thread
    PhotoPrefetcher(const PhotoPrefetcher&) = delete;
    PhotoPrefetcher& operator=(const PhotoPrefetcher&) = delete;

    // Prepares these photos, one after the other in this order; the first kCapacity count, and
    // anything prepared for other paths is dropped.
    void prepare(const QList<QByteArray>& nativePaths);
    // The prepared photo for path, when its file has not changed since it was read; a load of it
    // under way is waited for. Nothing when there is none: the caller loads it itself.
    std::optional<LoadedPhoto> take(const QByteArray& nativePath);
    // Drops everything (the folder was read again).
    void clear();
    // How photos are loaded from now on; anything prepared before is dropped.
    void setLoadOptions(const LoadOptions& options);
    // Waits until no load is under way.
    void waitForIdle();
    // How many photos take() has handed out.
    int hits() const { return hits_; }

private:
    struct Entry;
    void loadLoop();

    std::mutex mutex_;
    std::condition_variable changed_;  // an entry was added, begun or finished, or the end
    QList<std::shared_ptr<Entry>> entries_;
    LoadOptions options_;
    bool loading_ = false;
    bool ending_ = false;
    int hits_ = 0;
    std::thread thread_;  // one photo at a time: the next is ready soonest, the window keeps a core
};

}  // namespace orvello
