#include "ui/picturebox.h"

#include <QMouseEvent>
#include <QPainter>

namespace orvello {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(true);
}

void PictureBox::setImage(const QImage& image)
{
    image_ = image;
    if (autoSize_) resize(image_.size());
    update();
}

void PictureBox::paintEvent(QPaintEvent*)
{
    if (image_.isNull()) return;
    QPainter p(this);
    p.drawImage(0, 0, image_);
}

void PictureBox::mousePressEvent(QMouseEvent* event)
{
    emit pressed(event->button());
    QWidget::mousePressEvent(event);
}

}  // namespace orvello
