#pragma once
// A picture box: shows an image at its top-left corner over its background colour.
#include <QImage>
#include <QWidget>
#include <functional>

namespace orvello {

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    void setImage(const QImage& image);
    const QImage& image() const { return image_; }
    // A box sized to its picture follows the image's size.
    void setAutoSize(bool on) { autoSize_ = on; }
    // On a screen of more device pixels than pixels, the picture is drawn from source: it gives
    // image() as it stands at the given size in device pixels, made from a picture of higher
    // resolution (the full photo rather than the preview doubled). Without it, image() is drawn
    // as it is.
    void setDeviceSource(std::function<QImage(QSize)> source);

signals:
    void pressed(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage image_;
    bool autoSize_ = false;
    std::function<QImage(QSize)> deviceSource_;
    QImage deviceImage_;  // image() at device pixels, made on the first paint that needs it
};

}  // namespace orvello
