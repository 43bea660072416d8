#include "xpbutton/xbcolor.h"

#include <QGuiApplication>
#include <QPalette>
#include <array>
#include <cmath>

namespace orvello {

namespace {

constexpr OleColor rgb(int r, int g, int b)
{
    return OleColor(r) | OleColor(g) << 8 | OleColor(b) << 16;
}

// One entry per Windows system colour index: the palette role that plays the same part, or none
// (then the classic Windows value).
struct SysColorEntry {
    bool hasRole;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
    OleColor classic;
};

constexpr SysColorEntry fixed(OleColor classic)
{
    return {false, QPalette::Active, QPalette::NoRole, classic};
}
constexpr SysColorEntry role(QPalette::ColorRole r, OleColor classic,
                             QPalette::ColorGroup g = QPalette::Active)
{
    return {true, g, r, classic};
}

// The one table of system colours, indexed by COLOR_* number.
constexpr std::array<SysColorEntry, 31> kSysColors = {{
    fixed(rgb(212, 208, 200)),                                     // 0 scroll bar
    fixed(rgb(58, 110, 165)),                                      // 1 desktop
    fixed(rgb(10, 36, 106)),                                       // 2 active caption
    fixed(rgb(128, 128, 128)),                                     // 3 inactive caption
    role(QPalette::Window, rgb(212, 208, 200)),                    // 4 menu
    role(QPalette::Base, rgb(255, 255, 255)),                      // 5 window
    fixed(rgb(0, 0, 0)),                                           // 6 window frame
    role(QPalette::WindowText, rgb(0, 0, 0)),                      // 7 menu text
    role(QPalette::Text, rgb(0, 0, 0)),                            // 8 window text
    fixed(rgb(255, 255, 255)),                                     // 9 caption text
    fixed(rgb(212, 208, 200)),                                     // 10 active border
    fixed(rgb(212, 208, 200)),                                     // 11 inactive border
    fixed(rgb(128, 128, 128)),                                     // 12 application workspace
    role(QPalette::Highlight, rgb(10, 36, 106)),                   // 13 highlight
    role(QPalette::HighlightedText, rgb(255, 255, 255)),           // 14 highlighted text
    role(QPalette::Button, rgb(212, 208, 200)),                    // 15 button face
    role(QPalette::Dark, rgb(128, 128, 128)),                      // 16 button shadow
    role(QPalette::Text, rgb(128, 128, 128), QPalette::Disabled),  // 17 grey text
    role(QPalette::ButtonText, rgb(0, 0, 0)),                      // 18 button text
    fixed(rgb(212, 208, 200)),                                     // 19 inactive caption text
    role(QPalette::Light, rgb(255, 255, 255)),                     // 20 button highlight
    role(QPalette::Shadow, rgb(64, 64, 64)),                       // 21 3-D dark shadow
    role(QPalette::Midlight, rgb(212, 208, 200)),                  // 22 3-D light
    role(QPalette::ToolTipText, rgb(0, 0, 0)),                     // 23 info text
    role(QPalette::ToolTipBase, rgb(255, 255, 225)),               // 24 info background
    fixed(0),                                                      // 25 (unused)
    role(QPalette::Link, rgb(0, 0, 128)),                          // 26 hot light
    fixed(rgb(166, 202, 240)),                                     // 27 gradient active caption
    fixed(rgb(192, 192, 192)),                                     // 28 gradient inactive caption
    role(QPalette::Highlight, rgb(10, 36, 106)),                   // 29 menu highlight
    role(QPalette::Window, rgb(212, 208, 200)),                    // 30 menu bar
}};

int roundEven(double x)
{
    return int(std::nearbyint(x));
}
int clampByte(int x)
{
    return x < 0 ? 0 : (x > 255 ? 255 : x);
}

}  // namespace

OleColor SysColor(int index, const QPalette& palette)
{
    if (index < 0 || index >= int(kSysColors.size())) return 0;
    const SysColorEntry& e = kSysColors[size_t(index)];
    return e.hasRole ? fromQColor(palette.color(e.group, e.role)) : e.classic;
}

OleColor SysColor(int index)
{
    return SysColor(index, QGuiApplication::palette());
}

OleColor ToRGB(OleColor color)
{
    return isSystemColor(color) ? SysColor(int(color & 0xFF)) : color;
}

OleColor ShiftColor(OleColor c, int d, bool blueProportional, bool avoidBlackAndWhite, bool invert)
{
    qint16 delta = qint16(d);
    for (int guard = 0;; ++guard) {
        const double g0 = double(c & 0xFF00u) / 255.0;
        const double b0d = double(c & 0xFF0000u) / 65280.0;
        int red = int(c & 0xFFu) + delta;
        int green = roundEven(g0 + delta);
        int blue;
        if (blueProportional) {
            const int b0 = roundEven(b0d);
            blue = b0 + (delta * b0) / 192;  // integer division truncates toward zero
        } else {
            blue = roundEven(b0d + delta);
        }
        red = clampByte(red);
        green = clampByte(green);
        blue = clampByte(blue);
        if (invert) {
            red = 255 - red;
            green = 255 - green;
            blue = 255 - blue;
        }
        const OleColor result = rgb(red, green, blue);
        if (!avoidBlackAndWhite || (result != 0 && result != 0xFFFFFFu) || guard >= 64)
            return result;
        delta = delta == 0 ? qint16(64) : qint16(-delta);
    }
}

QColor toQColor(OleColor color)
{
    const OleColor c = ToRGB(color);
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

OleColor fromQColor(const QColor& color)
{
    return rgb(color.red(), color.green(), color.blue());
}

}  // namespace orvello
