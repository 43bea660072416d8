#include "ui/frame/artwork.h"

namespace orvello::artwork {

QImage skin()
{
    return QImage(QStringLiteral(":/skin/skin.png"));
}

QImage programIcon()
{
    return QImage(QStringLiteral(":/icons/orvello-16.png"));
}

QIcon applicationIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 128, 256})
        icon.addFile(QStringLiteral(":/icons/orvello-%1.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace orvello::artwork
