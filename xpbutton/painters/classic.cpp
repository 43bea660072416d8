// The looks that share look 0's face, focus mark and caption and differ in their rings:
// 0 classic raised, 1 bevel in a black frame, 4 thin outline, 5 flat toolbar, 6 bevel without
// frame.
#include "xpbutton/painters/painterkit.h"
#include "xpbutton/xpbutton.h"

namespace orvello {

using namespace painterkit;

namespace {

// Look 0's rings by state: 0 normal, 1 default look, 2 pressed and hot, 3 checked or pressing.
void classicRings(XPButton::BorderColors& c, int s, OleColor light, bool checkedOrPressing,
                  bool defaultLook)
{
    switch (s) {
    case 1: setRings(c, light, kGrey, kWhite, kBlack); break;
    case 2: setRings(c, kNone, kNone, kNone, kGrey); break;
    case 3: setRings(c, kNone, kNone, kNone, light); break;
    default: setRings(c, kNone, kNone, light, kGrey); break;
    }
    if (checkedOrPressing)
        setOuter(c, kBlack, kWhite);
    else
        setOuter(c, defaultLook ? kBlack : kWhite, kBlack);
}

}  // namespace

void XPButton::paintClassic()
{
    const bool checked = mode_ > 0 && value_;
    const bool checkedOrPressing = checked || (mode_ > 0 && pressActive_);
    const bool hotBit = stateFlags_ & 4;
    const bool slanted = buttonShape_ >= 1 && buttonShape_ <= 3;
    const OleColor face = checked ? checkedFaceColor_ : faceColor_;
    int s = 0;
    PaintFace(face, s, ToRGB(gradientColor_), hoverFaceColor_);

    OleColor focus = slanted ? ShiftColor(face, -48) : kBlack;
    BorderColors c;
    c.fill(kNone);
    // Looks 1, 4, 5 and 6 take a raised (1) or sunken (2) state; 6 counts from 0.
    const int raised = buttonStyle_ == 6 ? 0 : 1, sunken = raised + 1;
    const int bevel = (checkedOrPressing || pressedAndHot()) ? sunken : raised;
    switch (buttonStyle_) {
    case 1:
        setRings(c, bevel == 1 ? kWhite : kGrey, bevel == 1 ? kGrey : kWhite,
                 bevel == 1 ? kWhite : kGrey, bevel == 1 ? kGrey : kWhite);
        setOuter(c, kBlack, kBlack);
        break;
    case 4: setOuter(c, bevel == 1 ? kWhite : kGrey, bevel == 1 ? kGrey : kWhite); break;
    case 5:
        if (hotBit || checked) {
            setOuter(c, bevel == 1 ? kWhite : kGrey, bevel == 1 ? kGrey : kWhite);
        } else if (designMode()) {
            OleColor outline = ShiftColor(ambientBackColor_, -64);
            if (outline == kBlack) outline = kWhite;
            setOuter(c, outline, outline);
        }
        if (slanted && !checked) focus = ShiftColor(ambientBackColor_, -32);
        break;
    case 6: {
        const OleColor lit = ShiftColor(rgb(223, 223, 223), 8);
        const OleColor topLeft = bevel == 0 ? lit : kGrey, bottomRight = bevel == 0 ? kGrey : lit;
        setRings(c, kNone, kNone, topLeft, bottomRight);
        setOuter(c, topLeft, bottomRight);
        break;
    }
    default: {
        OleColor light = pressedAndHot() ? face : rgb(233, 233, 233);
        if (checkedOrPressing) {
            s = 3;
            light = rgb(233, 233, 233);
            focus = kBlack;
        }
        classicRings(c, s, light, checkedOrPressing, defaultButtonLook());
        break;
    }
    }
    const RingPoints points = ringPoints();
    if (slanted || buttonShape_ == 0)
        DrawBorderRings(points, c, s,
                        buttonStyle_ == 5 && !(hotBit || checked) ? raster::PS_DOT : -1);
    // A round toolbar button that melts into its container shows its outline while designed.
    if (buttonStyle_ == 5 && buttonShape_ >= 4 && designMode() &&
        face == ToRGB(ambientBackColor_)) {
        SetDrawingColor(PenColor, kWhite, false, 1, raster::PS_DOT);
        bufferDC_->selectClipRgn(std::nullopt);
        bufferDC_->Arc(0, 0, width(), height(), 0, 0, 0, 0);
        bufferDC_->selectClipRgn(clipRegion_);
    }
    DrawFocusIndicator(focus, checked, false, points);
    DrawCaptionAndPicture(face, mode_ == 0 ? -1 : qint64(kGrey), checked, mode_ > 0);
}

}  // namespace orvello
