#pragma once
// The redraw pair, DrawOverlay then ShowPreview, done with as little work as the change needs.
// It remembers where its last drawing left ink; when the canvas and the preview still hold
// exactly what it last made of the same photo, a change restores from the photo only the
// rectangles the old and the new text cover, paints the text again inside them, and reduces only
// the preview pixels those rectangles reach. The result is the same, byte for byte, as the full
// pair; whenever that cannot be shown (another photo, a turned or resized canvas, a canvas or
// preview written by someone else, another preview geometry) the full pair runs.
#include "overlay/overlay.h"
#include "overlay/overlaytext.h"

#include <QImage>
#include <QRect>

namespace orvello {

// Copies region back from the photo into the canvas; both 32-bit, of one size and layout.
void restoreFromPhoto(QImage& canvas, const QImage& photo, const QRegion& region);

class OverlayRedraw {
public:
    // DrawOverlay, then ShowPreview.
    void redraw(QImage& canvas, QImage& preview, const QImage& photo, const OverlayInput& input);

    // The steps one at a time, always in full, remembered for the next redraw.
    void drawOverlay(QImage& canvas, const QImage& photo, const OverlayInput& input);
    void clearCanvas(QImage& canvas, const QImage& photo);
    void showPreview(QImage& preview, const QImage& canvas, bool isPortrait);

    // How the last redraw went; for tests and benchmarks.
    bool lastWasIncremental() const { return lastIncremental_; }

private:
    bool drawIncrementally(QImage& canvas, const QImage& photo, const OverlayInput& input,
                           QRegion& changed);
    bool previewIncrementally(QImage& preview, const QImage& canvas, bool isPortrait,
                              const QRegion& changed);

    // What the canvas holds: the photo (by cache key) and the items drawn on it.
    struct CanvasState {
        bool known = false;
        qint64 photoKey = 0;
        qint64 canvasKey = 0;
        PreparedOverlay overlay;
    } canvas_;
    // What the preview holds: the reduction of the canvas as it was (by cache key).
    struct PreviewState {
        bool known = false;
        qint64 canvasKey = 0;
        qint64 previewKey = 0;
        QSize canvasSize;
        QRect destRect;
    } preview_;
    bool lastIncremental_ = false;
};

}  // namespace orvello
