// Look 2, the themed push button of every command button in the window: a shaded face, three
// coloured rings (blue while focused, orange while hot) and rounded corners.
#include "xpbutton/xpbutton.h"

namespace orvello {

namespace {

constexpr OleColor rgb(int r, int g, int b)
{
    return OleColor(r) | OleColor(g) << 8 | OleColor(b) << 16;
}

OleColor bp(OleColor c, int d)
{
    return ShiftColor(c, d, true);
}

// Inner and middle rings (entries 1 to 8) by ring state: 0 normal, 1 focused, 2 pressed, 3 hot.
void fillRings(XPButton::BorderColors& c, int state, OleColor B)
{
    switch (state) {
    case 1:
        c = {-1,
             rgb(181, 209, 240),
             rgb(189, 215, 247),
             rgb(181, 209, 240),
             rgb(140, 174, 231),
             rgb(140, 174, 231),
             rgb(191, 223, 255),
             rgb(140, 174, 231),
             rgb(107, 130, 239)};
        break;
    case 2:
        c = {-1, bp(B, -22), bp(B, -24), B, bp(B, 10), bp(B, -32), bp(B, -32), bp(B, 5), bp(B, 16)};
        break;
    case 3:
        c = {-1,
             rgb(255, 203, 107),
             rgb(255, 219, 140),
             rgb(255, 203, 107),
             rgb(255, 178, 49),
             rgb(255, 178, 49),
             rgb(255, 233, 166),
             rgb(255, 178, 49),
             rgb(231, 150, 0)};
        break;
    default:
        c = {-1,        bp(B, -10), bp(B, 10),  bp(B, -24), bp(B, -32),
             bp(B, -5), bp(B, 16),  bp(B, -36), bp(B, -48)};
        break;
    }
}

}  // namespace

void XPButton::paintStyle2(const RingPoints& points, BorderColors& colors)
{
    const bool enabled = isEnabled();
    const bool checked = mode_ > 0 && value_;
    const bool pressing = mode_ > 0 && pressActive_;
    const int W = width(), H = height();

    OleColor B, F;
    if (mode_ == 0) {
        B = faceColor_;
        if (pressedAndHot() && gradientMode_ == 0)
            F = pressedFaceColor_;
        else
            F = enabled ? faceColor_ : bp(faceColor_, -24);
    } else {
        B = F = checked ? checkedFaceColor_ : faceColor_;
    }
    const qint64 disabledText = enabled ? -1 : qint64(bp(F, -104));
    const OleColor gradient = gradientMode_ != 0 ? bp(ToRGB(gradientColor_), 48) : F;

    int state = 0;
    PaintFace(F, state, gradient, hoverFaceColor_);

    if (buttonShape_ >= 0 && buttonShape_ <= 3) {
        const OleColor outer = enabled ? rgb(0, 60, 115) : bp(B, -84);
        if (enabled) {
            if (pressing || checked) state = defaultButtonLook() ? 1 : 2;
            if ((stateFlags_ & 4) && !(stateFlags_ & 2))
                state = 3;
            else if (state == 1 && !showFocusRect_)
                state = 0;
            fillRings(colors, state, B);
        }
        for (int i = 9; i <= 12; ++i) colors[size_t(i)] = outer;
        DrawBorderRings(points, colors, state, -1);
        // Rounded corners: the region lost its corner triangles, this pixel closes each curve.
        if (textLeft_ == 0) {
            bufferDC_->SetPixel(1, 1, outer);
            bufferDC_->SetPixel(1, H - 2, outer);
        }
        if (W == textRight_) {
            bufferDC_->SetPixel(W - 2, 1, outer);
            bufferDC_->SetPixel(W - 2, H - 2, outer);
        }
    } else if (!isHot_) {
        DrawFocusIndicator(rgb(107, 130, 239), true, false, points);
    } else {
        DrawFocusIndicator(rgb(231, 150, 0), true, false, points);
    }
    DrawCaptionAndPicture(F, disabledText, checked, true);
}

}  // namespace orvello
