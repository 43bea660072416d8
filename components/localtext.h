#pragma once
// Bytes from outside (EXIF texts, file names) as text: UTF-8 when they are valid UTF-8, else the
// GB18030 multi-byte encoding that Chinese cameras, tools and Windows systems write.
#include <QByteArrayView>
#include <QString>

namespace orvello {

QString decodeLocalBytes(QByteArrayView bytes);

}  // namespace orvello
