// The outline of the button: its window region and the clip of the round shapes.
#include "xpbutton/xpbutton.h"

namespace orvello {

void XPButton::BuildShapeRegion()
{
    // For now the face bounds and the clip region of the round shapes; the window mask and the
    // widening of narrow slanted buttons come with the real painter.
    const int W = width();
    const int H = height();
    textLeft_ = 0;
    textRight_ = W;
    clipRegion_.reset();
    if (buttonShape_ >= 1 && buttonShape_ <= 3) {
        const int s = H + 1;
        if (buttonShape_ == 1 || buttonShape_ == 3) textLeft_ = s;
        if (buttonShape_ == 2 || buttonShape_ == 3) textRight_ = W - s;
    } else if (buttonShape_ >= 4 && buttonShape_ <= 6) {
        const int k = buttonShape_ == 6 ? 0 : 1;
        clipRegion_ =
            QRegion(QRect(QPoint(2 - k, 2 - k), QPoint(W - 2 + k, H - 2 + k)), QRegion::Ellipse);
    }
    if (textRight_ == 0) textRight_ = W;
}

}  // namespace orvello
