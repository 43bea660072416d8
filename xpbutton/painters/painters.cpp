// The painter of each look, chosen by `ButtonStyle`. Each runs the shared routines in the same
// order: the face, the border rings, the focus mark, then the picture and caption.
#include "xpbutton/xpbutton.h"

namespace orvello {

void XPButton::paintLook(const RingPoints& points, BorderColors& colors)
{
    switch (buttonStyle_) {
    case 2: paintStyle2(points, colors); break;
    default: paintFaceAndCaption(); break;
    }
}

// The looks other than 2 draw their face, picture and caption without rings for now.
void XPButton::paintFaceAndCaption()
{
    const bool checked = mode_ > 0 && value_;
    const OleColor face = checked ? checkedFaceColor_ : faceColor_;
    int state = 0;
    DrawRectangle(0, 0, width(), height(), face, -1);  // the edges no ring covers here
    PaintFace(face, state, ToRGB(gradientColor_), hoverFaceColor_);
    DrawCaptionAndPicture(face, mode_ == 0 ? -1 : 0x808080, checked, mode_ > 0);
}

}  // namespace orvello
