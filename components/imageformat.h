#pragma once
// Telling JPEG and TIFF content apart from anything else by its first bytes.
#include <QByteArray>

namespace orvello {

inline bool looksLikeJpeg(const QByteArray& b)
{
    return b.startsWith("\xFF\xD8\xFF");
}

inline bool looksLikeTiff(const QByteArray& b)
{
    return b.startsWith(QByteArrayView("II*\0", 4)) || b.startsWith(QByteArrayView("MM\0*", 4));
}

}  // namespace orvello
