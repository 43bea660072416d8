#pragma once
// Text and icons at device resolution. On a screen of more device pixels than pixels (a scale
// factor of 1.5 or 2), the buffer's pixels are shown enlarged, which keeps lines and rings crisp,
// but text and pictures enlarged that way are coarse. A context given a device scale above 1
// therefore leaves them out of its bitmap and keeps them here, in the order drawn, to be drawn
// over the enlarged bitmap at the device's own resolution.
#include "xpbutton/raster/bufferdc.h"

#include <QImage>
#include <QList>
#include <QPainter>

namespace orvello::raster {

struct DeviceItem {
    // Text: one line at its baseline in the text colour, within clip, with an underline box.
    QString text;
    QFont font;
    ColorRef color = 0;
    QPointF baseline;
    QRect underline;
    // An icon: its picture scaled into clip.
    QImage icon;
    QRect clip;
};

// A larger drawing of a picture, used for it wherever it is drawn at device resolution. The
// picture is known by its pixels, so that every copy of it finds the same drawing.
void addDeviceVariant(const QImage& picture, const QImage& larger);
QImage deviceVariant(const QImage& picture);

// The bitmap enlarged to device pixels (deviceScale per pixel) by the nearest pixel, with the
// edge pixels nearest each side (the rings and the focus mark) each made the same whole number of
// device pixels on every side: at 1.5, plain nearest-pixel scaling would make one ring one device
// pixel wide and the next two. The pixels between take up what is left. The result carries the
// scale as its device pixel ratio.
QImage enlargeKeepingEdges(const QImage& bitmap, qreal deviceScale, int edgePixels);

// Draws the items with a painter whose coordinates are the context's pixels (the painter's
// device supplies the scale), deciding the text's smoothing at its device pixel size.
void paintDeviceItems(QPainter& painter, const QList<DeviceItem>& items, qreal deviceScale);

}  // namespace orvello::raster
