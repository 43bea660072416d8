#include "overlay/overlayredraw.h"

#include "overlay/areascale.h"
#include "overlay/overlaytext.h"

#include <QRegion>
#include <cstring>

namespace orvello {

void restoreFromPhoto(QImage& canvas, const QImage& photo, const QRegion& region)
{
    uchar* to = canvas.bits();
    const uchar* from = photo.constBits();
    const qsizetype stride = canvas.bytesPerLine();
    for (const QRect& r : region) {
        const size_t bytes = size_t(r.width()) * 4;
        for (int y = r.top(); y <= r.bottom(); ++y) {
            const qsizetype at = y * stride + qsizetype(r.left()) * 4;
            std::memcpy(to + at, from + at, bytes);
        }
    }
}

void OverlayRedraw::drawOverlay(QImage& canvas, const QImage& photo, const OverlayInput& input)
{
    orvello::clearCanvas(canvas, photo);
    const PreparedOverlay overlay = prepareOverlay(canvas, input);
    paintOverlay(canvas, overlay);
    canvas_ = {true, photo.cacheKey(), canvas.cacheKey(), overlay};
}

void OverlayRedraw::clearCanvas(QImage& canvas, const QImage& photo)
{
    orvello::clearCanvas(canvas, photo);
    canvas_ = {true, photo.cacheKey(), canvas.cacheKey(), {}};
}

void OverlayRedraw::showPreview(QImage& preview, const QImage& canvas, bool isPortrait)
{
    ShowPreview(preview, canvas, isPortrait);
    preview_ = {true, canvas.cacheKey(), preview.cacheKey(), canvas.size(),
                previewRectPixels(canvas.size(), isPortrait, preview.size())};
}

void OverlayRedraw::redraw(QImage& canvas, QImage& preview, const QImage& photo,
                           const OverlayInput& input)
{
    // The preview can follow only the canvas it was made from.
    const bool previewInStep = preview_.known && canvas_.known &&
                               preview_.canvasKey == canvas.cacheKey() &&
                               canvas_.canvasKey == canvas.cacheKey();
    QRegion changed;
    lastIncremental_ = drawIncrementally(canvas, photo, input, changed);
    if (!lastIncremental_) {
        drawOverlay(canvas, photo, input);
        showPreview(preview, canvas, input.isPortrait);
        return;
    }
    if (!previewInStep || !previewIncrementally(preview, canvas, input.isPortrait, changed)) {
        lastIncremental_ = false;
        showPreview(preview, canvas, input.isPortrait);
    }
}

bool OverlayRedraw::drawIncrementally(QImage& canvas, const QImage& photo,
                                      const OverlayInput& input, QRegion& changed)
{
    if (!canvas_.known || photo.isNull() || photo.cacheKey() != canvas_.photoKey ||
        canvas.cacheKey() != canvas_.canvasKey || canvas.size() != photo.size() ||
        canvas.format() != photo.format() || canvas.bytesPerLine() != photo.bytesPerLine() ||
        photo.depth() != 32)
        return false;

    const PreparedOverlay overlay = prepareOverlay(canvas, input);
    // An item that changed leaves its old pixels and takes new ones only inside its old and new
    // rectangles; outside them every pixel keeps what it had.
    const PreparedOverlay& old = canvas_.overlay;
    if (!sameDrawing(old.date, old.color, overlay.date, overlay.color))
        changed += QRegion(old.date.inkRect) + overlay.date.inkRect;
    if (!sameDrawing(old.title, old.color, overlay.title, overlay.color))
        changed += QRegion(old.title.inkRect) + overlay.title.inkRect;
    changed &= canvas.rect();
    if (!changed.isEmpty()) {
        // Back to the photo where the old text lay or the new text will lie...
        restoreFromPhoto(canvas, photo, changed);
        // ...and both items painted again there, the title still on top of the date.
        paintOverlay(canvas, overlay, changed);
    }
    canvas_ = {true, photo.cacheKey(), canvas.cacheKey(), overlay};
    return true;
}

bool OverlayRedraw::previewIncrementally(QImage& preview, const QImage& canvas, bool isPortrait,
                                         const QRegion& changed)
{
    const QRect destRect = previewRectPixels(canvas.size(), isPortrait, preview.size());
    if (preview.isNull() || preview.format() != QImage::Format_RGB32 ||
        preview.cacheKey() != preview_.previewKey || canvas.size() != preview_.canvasSize ||
        destRect != preview_.destRect)
        return false;
    QRegion reached;
    for (const QRect& r : changed) reached += areaScaleFootprint(canvas.size(), destRect, r);
    for (const QRect& r : reached) areaScale(canvas, preview, destRect, r);
    preview_ = {true, canvas.cacheKey(), preview.cacheKey(), canvas.size(), destRect};
    return true;
}

}  // namespace orvello
