#pragma once
// The caption buttons of the frame: image controls that show nothing in the normal look (the glyph
// painted into the skin shows through), a hover picture and a pressed picture, and keep their hover
// state in their Tag text ("1" while the hover picture shows, empty otherwise).
#include "ui/picturebox.h"

namespace orvello {

class CaptionButton : public PictureBox {
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
