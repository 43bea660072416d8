#include "ui/frame/windowmover.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace orvello {

void SystemWindowMover::startMove(QWidget& window, Qt::MouseButton button, QPointF pressAt)
{
    stop();
    // The system loops end on the release of the left button; a move started by another button is
    // followed here, so that its own release ends it.
    QWindow* handle = window.windowHandle();
    if (button == Qt::LeftButton && handle && handle->startSystemMove()) return;
    follow(window, button, pressAt);
}

void SystemWindowMover::follow(QWidget& window, Qt::MouseButton button, QPointF pressAt)
{
    window_ = &window;
    button_ = button;
    pressAt_ = pressAt;
    windowAt_ = window.pos();
    qApp->installEventFilter(this);
}

void SystemWindowMover::stop()
{
    if (window_.isNull()) return;
    window_.clear();
    qApp->removeEventFilter(this);
}

bool SystemWindowMover::eventFilter(QObject* watched, QEvent* event)
{
    if (window_.isNull()) {
        stop();
        return QObject::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!(mouse->buttons() & button_)) {  // released where we did not see it
            stop();
            break;
        }
        const QPointF delta = mouse->globalPosition() - pressAt_;
        window_->move(windowAt_ + delta.toPoint());
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == button_) stop();
        break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace orvello
