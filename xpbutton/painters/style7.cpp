// Look 7: a bevelled button in a black frame with pixel-rounded corners.
#include "xpbutton/painters/painterkit.h"
#include "xpbutton/xpbutton.h"

namespace orvello {

using namespace painterkit;

void XPButton::paintStyle7()
{
    const bool checked = mode_ > 0 && value_;
    const bool pressing = mode_ > 0 && pressActive_;
    const bool enabled = isEnabled();
    const bool slanted = buttonShape_ >= 1 && buttonShape_ <= 3;
    const int W = width(), H = height();
    OleColor face;
    if (mode_ == 0)
        face = pressedAndHot() ? pressedFaceColor_ : faceColor_;
    else
        face = checked ? checkedFaceColor_ : faceColor_;
    OleColor focus = checked ? ShiftColor(kGrey, -32) : slanted ? ShiftColor(face, -64) : kBlack;
    const OleColor gradient = gradientMode_ != 0 ? ShiftColor(ToRGB(gradientColor_), 31) : face;

    int s = 0;
    PaintFace(face, s, gradient, hoverFaceColor_);
    if (checked || pressing) s = checked ? 2 : 0;
    OleColor light = ShiftColor(face, 31, true), dark = ShiftColor(face, -64, true), top = kWhite;
    if (s == 2) {
        const OleColor base = gradientMode_ != 0 ? faceColor_ : kGrey;
        face = base;
        top = ShiftColor(base, -32);
        light = ShiftColor(base, -64);
        dark = ShiftColor(base, -16);
    }
    BorderColors c;
    c.fill(kNone);
    setRings(c, top, face, light, dark);
    setOuter(c, kBlack, kBlack);
    const RingPoints points = ringPoints();
    if (buttonShape_ <= 3) {
        DrawBorderRings(points, c, s, -1);
        raster::BufferDC& dc = *bufferDC_;
        if (textLeft_ == 0) {
            dc.SetPixel(3, 3, top);
            dc.SetPixel(1, H - 3, face);
            dc.SetPixel(2, 2, light);
            dc.SetPixel(1, H - 2, kBlack);
            dc.SetPixel(1, 1, kBlack);
        }
        if (W == textRight_) {
            dc.SetPixel(W - 4, H - 4, face);
            dc.SetPixel(W - 3, 1, face);
            dc.SetPixel(W - 3, H - 3, dark);
            dc.SetPixel(W - 2, H - 2, kBlack);
            dc.SetPixel(W - 2, 1, kBlack);
        }
    }
    DrawFocusIndicator(focus, checked, true, points);

    // The caption colour, which this look also uses while enabled.
    qint64 p;
    if (enabled && (checked || (mode_ == 0 && pressedAndHot())))
        p = faceColor_;
    else if (checked)
        p = ShiftColor(face, -32, true);
    else if (enabled)
        p = ToRGB(foreColor_);
    else
        p = mode_ > 0 ? qint64(kGrey) : -1;
    // A hot checked button keeps the caption colour p rather than the hover colour.
    const OleColor savedHover = hoverForeColor_;
    const bool swap = checked && hoverForeColor_ == foreColor_ && p >= 0;
    if (swap) hoverForeColor_ = OleColor(p);
    DrawCaptionAndPicture(face, p, checked, mode_ > 0);
    if (swap) hoverForeColor_ = savedHover;
}

}  // namespace orvello
