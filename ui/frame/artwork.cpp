#include "ui/frame/artwork.h"

#include "xpbutton/raster/devicelayer.h"

namespace orvello::artwork {

QImage skin()
{
    return QImage(QStringLiteral(":/skin/skin.png"));
}

QImage skin2x()
{
    return QImage(QStringLiteral(":/skin/skin@2x.png"));
}

QImage picture(const QString& path)
{
    QImage image(path);
    if (path.endsWith(QLatin1String(".png"))) {
        const QImage larger(path.chopped(4) + QLatin1String("@2x.png"));
        if (larger.size() == image.size() * 2) raster::addDeviceVariant(image, larger);
    }
    return image;
}

QImage programIcon(int size)
{
    return QImage(QStringLiteral(":/icons/orvello-%1.png").arg(size));
}

QIcon applicationIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 128, 256})
        icon.addFile(QStringLiteral(":/icons/orvello-%1.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace orvello::artwork
