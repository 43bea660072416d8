// Look 3, flat: an etched outer line and a solid focus frame around the caption, which never
// moves when pressed.
#include "xpbutton/painters/painterkit.h"
#include "xpbutton/xpbutton.h"

namespace orvello {

using namespace painterkit;

void XPButton::paintStyle3()
{
    const bool checked = mode_ > 0 && value_;
    const bool pressing = mode_ > 0 && pressActive_;
    OleColor face;
    if (mode_ == 0)
        face = pressedAndHot() ? pressedFaceColor_ : faceColor_;
    else
        face = checked ? checkedFaceColor_ : faceColor_;
    int s = 0;
    PaintFace(face, s, ToRGB(gradientColor_), hoverFaceColor_);

    const OleColor dark = ShiftColor(kGrey, -26);
    BorderColors c;
    c.fill(kNone);
    qint64 disabledText = kGrey;
    if (isEnabled() || mode_ > 0) {
        if (mode_ > 0)
            s = (checked || pressing) ? 2 : 3;
        else
            s = pressedAndHot() ? 2 : 1;
        setRings(c, kNone, kNone, s == 2 ? face : kWhite, dark);
        setOuter(c, dark, kWhite);
        if (mode_ > 0) disabledText = ShiftColor(kGrey, -16);
    } else {
        setRings(c, face, face, face, face);
        setOuter(c, dark, dark);
    }
    const RingPoints points = ringPoints();
    if (buttonShape_ <= 3) DrawBorderRings(points, c, s, -1);
    DrawFocusIndicator(rgb(153, 153, 204), true, true, points);
    DrawCaptionAndPicture(face, disabledText, checked, true);
}

}  // namespace orvello
