#pragma once
// The window's outline and the saved-position rule, as plain functions of sizes in twips, so that
// they hold without a window.
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>

namespace orvello {

// The rounded outline of a window of the given outer size in twips (RMe): two rectangles that
// leave a 5 × 5 pixel notch at each corner, and one ellipse per corner. The ellipses are not
// alike and some reach past the right and bottom edges; they match the skin's painted corners.
// The result is in window pixels.
QRegion frameRegion(int widthTwips, int heightTwips);

// The saved window position (left and top, twips) brought onto the screen area screenTwips for a
// window of windowTwips: first a left or top before the area's edge moves onto it, then a left or
// top so far out that the window would end past the area's far edge moves back so that the
// window's far edge meets it.
QPoint clampSavedPosition(QPoint savedTwips, QSize windowTwips, const QRect& screenTwips);

}  // namespace orvello
