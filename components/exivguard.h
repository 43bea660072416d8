#pragma once
// The one rule for exiv2 in this program: every call into the library, and every use of an
// object it made (ExifData, XmpData, an Image, their copies and their destruction included),
// happens while an ExivLock is held.
//
// The library is used from several threads at once: the batch's workers read the listing and the
// kept metadata of different photos, the window reads the next photo's listing ahead. And it keeps
// state for the whole process: its log level and handler, and the XMP toolkit, which is not
// thread-safe. One lock for all of it is simpler than knowing which of its parts happen to be
// reentrant, and it costs little: the library reads and writes blocks of at most 64 KB, against
// decoding and encoding whole pictures outside the lock.
//
// The lock is recursive, so a function that holds it may call another one that takes it too. The
// first holder also mutes the library's warnings, which it would otherwise print on standard
// error.
#include <mutex>

namespace orvello {

class ExivLock {
public:
    ExivLock();
    ~ExivLock();
    ExivLock(const ExivLock&) = delete;
    ExivLock& operator=(const ExivLock&) = delete;

private:
    std::unique_lock<std::recursive_mutex> lock_;
};

}  // namespace orvello
