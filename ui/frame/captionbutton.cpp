#include "ui/frame/captionbutton.h"

#include <QMouseEvent>

namespace orvello {

CaptionButton::CaptionButton(QImage hoverPicture, QImage pressedPicture, QWidget* parent)
    : PictureBox(parent), hover_(std::move(hoverPicture)), pressed_(std::move(pressedPicture))
{
    setAutoFillBackground(false);
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
}

void CaptionButton::leave()
{
    if (tag_.isEmpty()) return;
    setImage(QImage());
    tag_.clear();
}

void CaptionButton::mouseMoveEvent(QMouseEvent* event)
{
    if (tag_.isEmpty()) {
        setImage(hover_);
        tag_ = QStringLiteral("1");
    }
    event->accept();
}

void CaptionButton::mousePressEvent(QMouseEvent* event)
{
    setImage(pressed_);
    event->accept();
}

void CaptionButton::mouseReleaseEvent(QMouseEvent* event)
{
    setImage(QImage());
    tag_.clear();
    event->accept();
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

}  // namespace orvello
