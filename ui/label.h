#pragma once
// A label that tells when it is pressed and clicked (drag surfaces, the owner notice).
#include <QLabel>

namespace orvello {

class Label : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void pressed(Qt::MouseButton button);
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace orvello
