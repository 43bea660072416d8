#include "imaging/colourprofile.h"

#include "components/jpegframe.h"

#include <cstring>

namespace orvello {

JpegHeaderFacts readJpegHeaderFacts(const QByteArray& jpeg)
{
    JpegFrame frame = readJpegFrame(jpeg);
    return {std::move(frame.iccProfile), frame.density};
}

bool isRgbProfile(const QByteArray& icc)
{
    // The header's data colour space signature, at byte 16 of the 128-byte header.
    return icc.size() >= 128 && std::memcmp(icc.constData() + 16, "RGB ", 4) == 0;
}

}  // namespace orvello
