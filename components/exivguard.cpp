#include "components/exivguard.h"

#include <exiv2/exiv2.hpp>

namespace orvello {

void silenceExiv2()
{
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    Exiv2::LogMsg::setHandler(nullptr);
}

}  // namespace orvello
