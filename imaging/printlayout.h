#pragma once
// Where the canvas goes on a printed page: at the page origin, as large as fits inside the page
// less a 210-twip margin on each side, keeping its proportions.
#include <QSizeF>

namespace orvello {

inline constexpr float kPrintMarginTwips = 210.0f;

// All sizes in twips. Fits the height first, then the width if that is too wide; the results are
// 32-bit floats.
QSizeF printPictureSize(QSizeF canvasTwips, QSizeF pageTwips);

}  // namespace orvello
