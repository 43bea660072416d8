#include "ui/picturebox.h"

#include "xpbutton/raster/devicelayer.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace orvello {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(true);
}

void PictureBox::setImage(const QImage& image)
{
    image_ = image;
    deviceImage_ = QImage();
    if (autoSize_) resize(image_.size());
    update();
}

void PictureBox::setDeviceSource(std::function<QImage(QSize)> source)
{
    deviceSource_ = std::move(source);
    deviceImage_ = QImage();
    update();
}

void PictureBox::paintEvent(QPaintEvent*)
{
    if (image_.isNull()) return;
    QPainter p(this);
    const qreal scale = devicePixelRatioF();
    if (scale == 1) {
        p.drawImage(0, 0, image_);
        return;
    }
    if (!deviceSource_) {
        // A picture drawn at twice the pixels stands in for it where there is one.
        const QImage larger = raster::deviceVariant(image_);
        p.setRenderHint(QPainter::SmoothPixmapTransform, !larger.isNull());
        p.drawImage(QRectF(QPointF(0, 0), QSizeF(image_.size())),
                    larger.isNull() ? image_ : larger);
        return;
    }
    const QSize pixels(int(std::lround(image_.width() * scale)),
                       int(std::lround(image_.height() * scale)));
    if (deviceImage_.size() != pixels) deviceImage_ = deviceSource_(pixels);
    if (deviceImage_.size() != pixels) {
        p.drawImage(0, 0, image_);
        return;
    }
    // One image pixel to one device pixel.
    p.drawImage(QRectF(QPointF(0, 0), QSizeF(image_.size())), deviceImage_);
}

void PictureBox::mousePressEvent(QMouseEvent* event)
{
    emit pressed(event->button());
    QWidget::mousePressEvent(event);
}

}  // namespace orvello
