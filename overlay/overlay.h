#pragma once
// The two overlay items, DateStamp and TitleText, drawn onto the full-size canvas, and the scaled
// preview of that canvas. All placement is computed in twips (15 per pixel) from percentages of
// the canvas, so one setting means the same place on every photo.
#include "app/settings.h"
#include "overlay/stampstyle.h"

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>

namespace orvello {

// The canvas with no photo open: 735 × 735 twips of silver.
inline constexpr int kEmptyCanvasTwips = 735;
inline constexpr QRgb kEmptyCanvasColor = 0xC0C0C0;
// The preview Picture1: 7230 × 7230 twips, background &HE0E0E0.
inline constexpr int kPreviewTwips = 7230;
inline constexpr QRgb kPreviewBackColor = 0xE0E0E0;
inline QSize previewPixelSize()
{
    return {kPreviewTwips / kTwipsPerPixel, kPreviewTwips / kTwipsPerPixel};
}

// Text size bounds, in percent of the base dimension: a size outside them draws clamped.
inline constexpr float kMinFontSize = 0.1f;
inline constexpr float kMaxFontSize = 100.0f;

// What DrawOverlay needs: the overlay fields of the settings, the capture date of the photo, the
// title (Text1 already trimmed, see trimTitle) and whether the canvas is taller than wide.
struct OverlayInput {
    AppSettings settings;
    QString captureDateText;
    QString titleText;
    bool isPortrait = false;
    StampStyle dateStyle = StampStyle::Plain;
    StampStyle titleStyle = StampStyle::Plain;
};

OverlayInput makeOverlayInput(const AppSettings& settings, const QString& captureDateText,
                              const QString& text1, bool isPortrait);

// Text1 without leading and trailing spaces (only spaces count as blanks).
QString trimTitle(const QString& text1);

// The photo as the canvas holds it. Colour formats a painter can draw on are kept as they are;
// grey, indexed and one-bit photos become 32-bit colour so that coloured text stays coloured.
// Converting once when a photo is opened spares DrawOverlay the conversion on every redraw.
QImage canvasPhoto(const QImage& decoded);
// The silver square the canvas shows with no photo open.
QImage emptyCanvasPhoto();
// Height > width; a square canvas is not portrait.
bool isPortraitCanvas(QSize canvasPixels);

// The store of an item's placement, in twips, and the shared font size.
struct OverlayLayout {
    double baseTwips = 0;  // L: the canvas height when portrait, else its width
    float fontPoints = 0;  // addFontSize (clamped) / 100 × L / 15
    int fontPixels = 0;    // at 96 dpi, whole pixels, at least 1
    QPointF dateTwips;     // top-left of the date's text cell, each a 32-bit float
    QPointF titleTwips;    // top-left of the title's text cell
};

// The size drawn for a stored addFontSize: clamped into kMinFontSize … kMaxFontSize.
float drawnFontSize(float addFontSize);
OverlayLayout computeOverlayLayout(QSize canvasPixels, const OverlayInput& input);

// DrawOverlay step 1 alone: the canvas shows the photo again (an empty photo: the silver square).
void clearCanvas(QImage& canvas, const QImage& photo);

// Clears the canvas back to the photo and draws the enabled items at full resolution: the date
// first, the title on top, each one line with the top-left of its text cell at its position, in
// the shared size, bold, italic and colour, clipped at the canvas edges.
void DrawOverlay(QImage& canvas, const QImage& photo, const OverlayInput& input);
// DrawOverlay without the clearing: draws the items onto the canvas as it is. A canvas that holds
// a photo nobody else needs is stamped in place, without a copy.
void drawOverlayItems(QImage& canvas, const OverlayInput& input);

// Where the canvas lands in the preview, in twips, chosen by the portrait flag alone.
QRectF previewRectTwips(QSize canvasPixels, bool isPortrait, QSize previewPixels);
// The same rectangle in whole preview pixels (each edge rounded).
QRect previewRectPixels(QSize canvasPixels, bool isPortrait, QSize previewPixels);

// Clears the preview to its background colour and copies the whole canvas, smoothly scaled, into
// the preview rectangle. A null preview is created at 482 × 482 pixels.
void ShowPreview(QImage& preview, const QImage& canvas, bool isPortrait);
QImage ShowPreview(const QImage& canvas, bool isPortrait, QSize previewPixels = previewPixelSize());

}  // namespace orvello
