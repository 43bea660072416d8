#include "xpbutton/raster/devicelayer.h"

#include "xpbutton/raster/fontquality.h"

#include <QHash>
#include <QMutex>

namespace orvello::raster {

namespace {

QByteArray pixelKey(const QImage& picture)
{
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    QByteArray key;
    key.append(QByteArray::number(argb.width()) + 'x' + QByteArray::number(argb.height()) + ':');
    for (int y = 0; y < argb.height(); ++y)
        key.append(reinterpret_cast<const char*>(argb.constScanLine(y)), argb.width() * 4);
    return key;
}

struct Variants {
    QMutex lock;
    QHash<QByteArray, QImage> larger;
};

Variants& variants()
{
    static Variants v;
    return v;
}

}  // namespace

void addDeviceVariant(const QImage& picture, const QImage& larger)
{
    if (picture.isNull() || larger.isNull()) return;
    Variants& v = variants();
    const QMutexLocker hold(&v.lock);
    v.larger.insert(pixelKey(picture), larger);
}

QImage deviceVariant(const QImage& picture)
{
    Variants& v = variants();
    const QMutexLocker hold(&v.lock);
    if (v.larger.isEmpty() || picture.isNull()) return {};
    return v.larger.value(pixelKey(picture));
}

void paintDeviceItems(QPainter& painter, const QList<DeviceItem>& items, qreal deviceScale)
{
    for (const DeviceItem& item : items) {
        painter.save();
        painter.setClipRect(item.clip);
        if (!item.icon.isNull()) {
            const QImage larger = deviceVariant(item.icon);
            painter.setRenderHint(QPainter::SmoothPixmapTransform, !larger.isNull());
            painter.drawImage(QRectF(item.clip), larger.isNull() ? item.icon : larger);
        } else {
            painter.setFont(withDefaultQuality(item.font, deviceScale));
            painter.setPen(QColor(toArgb(item.color)));
            painter.drawText(item.baseline, item.text);
            if (!item.underline.isEmpty()) painter.fillRect(item.underline, painter.pen().color());
        }
        painter.restore();
    }
}

}  // namespace orvello::raster
