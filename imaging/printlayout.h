#pragma once
// Where the canvas goes on a printed page: at the page origin, as large as fits inside the page
// less a 210-twip margin on each side, keeping its proportions.
#include <QImage>
#include <QSizeF>

class QPageLayout;
class QPrinter;

namespace orvello {

inline constexpr float kPrintMarginTwips = 210.0f;

// All sizes in twips. Fits the height first, then the width if that is too wide; the results are
// 32-bit floats.
QSizeF printPictureSize(QSizeF canvasTwips, QSizeF pageTwips);

// The paper of layout in its orientation, in whole twips as a printer reports its page, taken
// from the paper's own definition (millimetres, inches or points), not from whole points.
QSizeF pageTwips(const QPageLayout& layout);

// Prints the canvas on one page of printer, at the origin of its printable area, stretched to
// the layout's size (the page measured as the paper in its orientation), and ends the document.
// False when the printer cannot start.
bool printCanvas(QPrinter& printer, const QImage& canvas);

}  // namespace orvello
