#include "ui/frame/imagecontrol.h"

#include <QMouseEvent>
#include <QPainter>

namespace orvello {

ImageControl::ImageControl(QWidget* parent) : QWidget(parent) {}

void ImageControl::setPicture(const QImage& picture)
{
    picture_ = picture;
    update();
}

void ImageControl::paintEvent(QPaintEvent*)
{
    if (picture_.isNull()) return;
    QPainter p(this);
    p.drawImage(0, 0, picture_);
}

CaptionButton::CaptionButton(QImage hoverPicture, QImage pressedPicture, QWidget* parent)
    : ImageControl(parent), hover_(std::move(hoverPicture)), pressed_(std::move(pressedPicture))
{
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
}

void CaptionButton::leave()
{
    if (tag_.isEmpty()) return;
    setPicture(QImage());
    tag_.clear();
}

void CaptionButton::mouseMoveEvent(QMouseEvent* event)
{
    if (tag_.isEmpty()) {
        setPicture(hover_);
        tag_ = QStringLiteral("1");
    }
    event->accept();
}

void CaptionButton::mousePressEvent(QMouseEvent* event)
{
    setPicture(pressed_);
    event->accept();
}

void CaptionButton::mouseReleaseEvent(QMouseEvent* event)
{
    setPicture(QImage());
    tag_.clear();
    event->accept();
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

}  // namespace orvello
