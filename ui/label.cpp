#include "ui/label.h"

#include <QMouseEvent>

namespace orvello {

void Label::mousePressEvent(QMouseEvent* event)
{
    emit pressed(event->button());
    QLabel::mousePressEvent(event);
}

void Label::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

}  // namespace orvello
