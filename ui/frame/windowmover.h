#pragma once
// How a press on one of the window's drag surfaces moves the window. The frame asks a WindowMover,
// so that tests can record the requests instead of moving a window.
#include <QObject>
#include <QPoint>
#include <QPointer>

class QWidget;

namespace orvello {

class WindowMover {
public:
    virtual ~WindowMover() = default;
    // Called on the press of button at the pointer's screen position pressAt; the window follows
    // the pointer until that button is released.
    virtual void startMove(QWidget& window, Qt::MouseButton button, QPointF pressAt) = 0;
};

// The system's own move loop where the platform offers one for this press; otherwise the window
// follows the pointer itself (no window manager, one that refuses, or a button the system loop does
// not follow).
class SystemWindowMover : public QObject, public WindowMover {
    Q_OBJECT
public:
    void startMove(QWidget& window, Qt::MouseButton button, QPointF pressAt) override;
    // True while the window follows the pointer by itself.
    bool following() const { return !window_.isNull(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow(QWidget& window, Qt::MouseButton button, QPointF pressAt);
    void stop();

    QPointer<QWidget> window_;
    Qt::MouseButton button_ = Qt::NoButton;
    QPointF pressAt_;
    QPoint windowAt_;
};

}  // namespace orvello
