// The face of the button: its plain, shaded or gradient fill (`PaintFace`, `FillGradient`).
#include "xpbutton/pipeline/gradient.h"
#include "xpbutton/xpbutton.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace orvello {

QList<OleColor> GradientTable(OleColor a, OleColor b, int n)
{
    QList<OleColor> table;
    if (n <= 0) return table;
    table.reserve(n);
    table.append(a);
    double r = a & 0xFF, g = double(a & 0xFF00) / 255.0, bl = double(a & 0xFF0000) / 65280.0;
    const double er = b & 0xFF, eg = std::nearbyint(double(b & 0xFF00) / 255.0),
                 eb = std::nearbyint(double(b & 0xFF0000) / 65280.0);
    if (n == 1) return table;  // no steps to take
    const double sr = (er - r) / (n - 1), sg = (eg - g) / (n - 1), sb = (eb - bl) / (n - 1);
    for (int k = 1; k < n; ++k) {
        r = std::clamp(r + sr, 0.0, 255.0);
        g = std::clamp(g + sg, 0.0, 255.0);
        bl = std::clamp(bl + sb, 0.0, 255.0);
        table.append(OleColor(std::floor(r)) + OleColor(std::floor(g)) * 256 +
                     OleColor(std::floor(bl)) * 65536);
    }
    return table;
}

void XPButton::FillGradient(OleColor from, OleColor to, int mode)
{
    const int W = width(), H = height();
    const bool across = mode == 1 || mode == 2;  // colour changes from left to right
    int n = across ? W : H;
    int thickness = 1;
    // Bands 2 pixels thick on a button larger than a quarter of the screen that way.
    if (const QScreen* screen = QGuiApplication::primaryScreen(); screen && n > 0) {
        const int screenSize = across ? screen->size().width() : screen->size().height();
        if (screenSize / n < 4) {
            n /= 2;
            thickness = 2;
        }
    }
    const QList<OleColor> table = GradientTable(ToRGB(from), ToRGB(to), n);
    const bool reversed = mode == 2 || mode == 4;
    for (int k = 0; k < n; ++k) {
        const OleColor c = table[reversed ? n - 1 - k : k];
        const int at = k * thickness;
        if (across)
            DrawRectangle(at, 0, at + thickness, H, c, -1);
        else
            DrawRectangle(0, at, W, at + thickness, c, -1);
    }
}

void XPButton::PaintFace(OleColor face, int& buttonState, qint64 gradient, qint64 hoverFace)
{
    if (!bufferDC_) return;
    const int W = width(), H = height();
    const bool pressedHot = pressedAndHot();
    buttonState = pressedHot ? 2 : defaultButtonLook() ? 1 : 0;
    const OleColor hover = hoverFace < 0 ? face : OleColor(hoverFace);
    // A hot command button shows the hover face until pressed; a hot check or option button
    // shows it while not checked.
    const bool plain = !isHot_ || ((pressedHot || mode_ != 0) && (value_ || mode_ == 0));
    const OleColor color = plain ? face : hover;

    if (buttonShape_ >= 4 && buttonShape_ <= 6) {
        bufferDC_->selectClipRgn(std::nullopt);
        if (isHot_ || pressedHot || buttonStyle_ != 5) {
            if (buttonShape_ == 6) {
                SetDrawingColor(PenColor, 0, false, 2);
                bufferDC_->Arc(0, 0, W, H, 0, 0, 0, 0);
            } else if (buttonShape_ == 4 || !pressedHot) {
                FillGradient(ShiftColor(ToRGB(ambientBackColor_), 172),
                             ShiftColor(ToRGB(ambientBackColor_), -32), pressedHot ? 4 : 3);
            }
        } else {
            // A resting toolbar button shows the container around its face, not what an earlier
            // state left in the buffer.
            DrawRectangle(0, 0, W, H, ToRGB(ambientBackColor_), -1);
        }
        bufferDC_->selectClipRgn(clipRegion_);
    }

    if (value_ || gradientMode_ == 0) {
        if (buttonStyle_ == 2 && (isEnabled() || mode_ != 0)) {
            // The shaded face: each row a little darker, by up to 25 levels at the bottom.
            const qint64 rows = H - 1;
            for (qint64 i = 1; i <= rows; ++i) {
                const int d = int(std::nearbyint(-25.0 * double(i) / double(H)));
                SetDrawingColor(PenColor, ShiftColor(color, d, true));
                bufferDC_->Polyline({QPoint(1, int(i)), QPoint(W - 1, int(i))});
            }
        } else {
            DrawRectangle(0, 0, W, H, color, -1);
        }
    } else if (!isHot_ || pressedHot || gradientColor_ == hoverBackColor_) {
        FillGradient(face, gradient < 0 ? face : OleColor(gradient), gradientMode_);
    } else {
        DrawRectangle(0, 0, W, H, hover, -1);
    }
}

}  // namespace orvello
