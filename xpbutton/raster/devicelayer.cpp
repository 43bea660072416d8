#include "xpbutton/raster/devicelayer.h"

#include "xpbutton/raster/fontquality.h"

#include <QHash>
#include <QMutex>
#include <algorithm>
#include <cmath>

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

namespace {

// For each of the device pixels along one side, the bitmap pixel it shows.
QList<int> edgeKeepingMap(int pixels, int devicePixels, int edge, int perEdgePixel)
{
    edge = std::min(edge, pixels / 2);
    const int middle = pixels - 2 * edge;
    const int middleDevice = devicePixels - 2 * edge * perEdgePixel;
    QList<int> map(devicePixels);
    for (int d = 0; d < devicePixels; ++d) {
        const int fromEnd = devicePixels - 1 - d;
        if (d < edge * perEdgePixel)
            map[d] = d / perEdgePixel;
        else if (fromEnd < edge * perEdgePixel)
            map[d] = pixels - 1 - fromEnd / perEdgePixel;
        else
            map[d] = edge + std::min(middle - 1, int(qint64(d - edge * perEdgePixel) * middle /
                                                     std::max(1, middleDevice)));
    }
    return map;
}

}  // namespace

QImage enlargeKeepingEdges(const QImage& bitmap, qreal deviceScale, int edgePixels)
{
    if (bitmap.isNull() || deviceScale <= 0) return bitmap;
    const QImage source = bitmap.convertToFormat(QImage::Format_RGB32);
    const QSize device(int(std::lround(source.width() * deviceScale)),
                       int(std::lround(source.height() * deviceScale)));
    // Never wider than plain scaling would make them, so that nothing inside moves onto them.
    const int perEdgePixel = std::max(1, int(std::floor(deviceScale)));
    const auto fits = [&](int pixels, int devicePixels) {
        return devicePixels >= 2 * std::min(edgePixels, pixels / 2) * perEdgePixel + pixels -
                                   2 * std::min(edgePixels, pixels / 2);
    };
    if (device.isEmpty() || !fits(source.width(), device.width()) ||
        !fits(source.height(), device.height()))
        return source.scaled(device);
    const QList<int> columns =
        edgeKeepingMap(source.width(), device.width(), edgePixels, perEdgePixel);
    const QList<int> rows =
        edgeKeepingMap(source.height(), device.height(), edgePixels, perEdgePixel);
    QImage out(device, QImage::Format_RGB32);
    for (int y = 0; y < device.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(rows[y]));
        auto* to = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < device.width(); ++x) to[x] = from[columns[x]];
    }
    out.setDevicePixelRatio(deviceScale);
    return out;
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
