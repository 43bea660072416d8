#include "components/exivguard.h"

#include <exiv2/exiv2.hpp>

namespace orvello {

namespace {

std::recursive_mutex& libraryMutex()
{
    static std::recursive_mutex mutex;
    return mutex;
}

}  // namespace

ExivLock::ExivLock() : lock_(libraryMutex())
{
    static bool muted = false;  // guarded by the lock
    if (!muted) {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::LogMsg::setHandler(nullptr);
        muted = true;
    }
}

ExivLock::~ExivLock() = default;

}  // namespace orvello
