#pragma once
// Colours and ring setters the look painters share.
#include "xpbutton/xpbutton.h"

namespace orvello::painterkit {

constexpr OleColor rgb(int r, int g, int b)
{
    return OleColor(r) | OleColor(g) << 8 | OleColor(b) << 16;
}

inline constexpr OleColor kBlack = 0, kWhite = 0xFFFFFF, kGrey = 0x808080;
inline constexpr qint64 kNone = -1;

// Inner ring left/top, inner right/bottom, middle left/top, middle right/bottom.
inline void setRings(XPButton::BorderColors& c, qint64 innerLT, qint64 innerRB, qint64 middleLT,
                     qint64 middleRB)
{
    c[1] = c[2] = innerLT;
    c[3] = c[4] = innerRB;
    c[5] = c[6] = middleLT;
    c[7] = c[8] = middleRB;
}

inline void setOuter(XPButton::BorderColors& c, qint64 leftTop, qint64 rightBottom)
{
    c[9] = c[10] = leftTop;
    c[11] = c[12] = rightBottom;
}

}  // namespace orvello::painterkit
