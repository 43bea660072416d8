#pragma once
// Image controls of the frame: a transparent surface that shows a picture only when it has one
// (the title strip has none), and the caption button built on it, which keeps its hover state in
// its Tag text ("1" while the hover picture shows, empty otherwise).
#include <QImage>
#include <QWidget>

namespace orvello {

class ImageControl : public QWidget {
    Q_OBJECT
public:
    explicit ImageControl(QWidget* parent = nullptr);

    // No picture: nothing is painted, so the window's painting shows through.
    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

class CaptionButton : public ImageControl {
    Q_OBJECT
public:
    CaptionButton(QImage hoverPicture, QImage pressedPicture, QWidget* parent = nullptr);

    const QString& tag() const { return tag_; }
    // Back to the normal look when the pointer crosses the window's background or title strip;
    // nothing else clears the hover look.
    void leave();

signals:
    // A left press and release over the button.
    void clicked();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage hover_;
    QImage pressed_;
    QString tag_;
};

}  // namespace orvello
