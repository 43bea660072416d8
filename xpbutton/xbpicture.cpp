#include "xpbutton/xbpicture.h"

#include <QBuffer>

namespace orvello {

QByteArray XbPicture::toPng() const
{
    if (isNull()) return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

XbPicture XbPicture::fromPng(const QByteArray& png, Type type, QPoint hot)
{
    if (png.isEmpty()) return {};
    QImage img;
    img.loadFromData(png, "PNG");
    return XbPicture(img, type, hot);
}

}  // namespace orvello
