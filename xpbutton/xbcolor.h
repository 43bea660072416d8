#pragma once
// Colour arithmetic of the XPButton control and the system colours it
// resolves. Colours are 32-bit OLE colours: red + 256 × green + 65536 × blue, or, with the top
// bit set (&H80000000 + n), the system colour with index n (Windows numbering).
#include <QColor>
#include <QtGlobal>

class QPalette;

namespace orvello {

using OleColor = quint32;

inline constexpr OleColor kSystemColorFlag = 0x80000000u;
inline constexpr OleColor kButtonFace = 0x8000000Fu;  // COLOR_BTNFACE
inline constexpr OleColor kButtonText = 0x80000012u;  // COLOR_BTNTEXT

// True for a value with the top bit set.
inline constexpr bool isSystemColor(OleColor c)
{
    return (c & kSystemColorFlag) != 0;
}

// The RGB value of system colour index (0..255). Indices with a matching role of the
// application's QPalette take that role's colour; the others take a fixed classic value; indices
// the platform does not know give 0.
OleColor SysColor(int index);
OleColor SysColor(int index, const QPalette& palette);

// A system colour becomes the colour of its low byte; any other value is returned unchanged.
OleColor ToRGB(OleColor color);

// Shifts every component of c by the signed 16-bit delta d with the
// 255 and 65280 divisors and rounding to nearest, ties to even.
OleColor ShiftColor(OleColor c, int d, bool blueProportional = false,
                    bool avoidBlackAndWhite = false, bool invert = false);

// Conversions between an RGB OLE value (system colours resolved first) and QColor.
QColor toQColor(OleColor color);
OleColor fromQColor(const QColor& color);

}  // namespace orvello
