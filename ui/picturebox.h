#pragma once
// A picture box: shows an image at its top-left corner over its background colour.
#include <QImage>
#include <QWidget>

namespace orvello {

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    void setImage(const QImage& image);
    const QImage& image() const { return image_; }
    // A box sized to its picture follows the image's size.
    void setAutoSize(bool on) { autoSize_ = on; }

signals:
    void pressed(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage image_;
    bool autoSize_ = false;
};

}  // namespace orvello
