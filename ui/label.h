#pragma once
// A label that tells when it is pressed and clicked (drag surfaces, the owner notice).
#include <QLabel>

namespace orvello {

class Label : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // Shows prefix followed by path on one line, growing to the right as far as the parent's
    // client width allows; a path too long for that is elided in the middle, and the tool tip
    // always holds the whole path. The label grows to the font's line height if it is lower.
    void setPathText(const QString& prefix, const QString& path);

signals:
    void pressed(Qt::MouseButton button);
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace orvello
