#include "overlay/overlay.h"

#include "overlay/areascale.h"
#include "overlay/overlaytext.h"
#include "overlay/stamptext.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace orvello {

OverlayInput makeOverlayInput(const AppSettings& settings, const QString& captureDateText,
                              const QString& text1, bool isPortrait)
{
    // The default date format: the capture date exactly as the listing gives it.
    return OverlayInput{settings,           stampDateText(captureDateText, DateFormat()),
                        trimTitle(text1),   isPortrait,
                        settings.dateStyle, settings.titleStyle};
}

QString trimTitle(const QString& text1)
{
    qsizetype begin = 0;
    qsizetype end = text1.size();
    while (begin < end && text1.at(begin) == QLatin1Char(' ')) ++begin;
    while (end > begin && text1.at(end - 1) == QLatin1Char(' ')) --end;
    return text1.mid(begin, end - begin);
}

QImage canvasPhoto(const QImage& decoded)
{
    QImage image;
    switch (decoded.format()) {
    case QImage::Format_Invalid: return {};
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
    case QImage::Format_Grayscale16:
    case QImage::Format_Alpha8:
        image = decoded.convertToFormat(
            decoded.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
        break;
    default: image = decoded; break;
    }
    // Drawing is in the photo's own pixels, whatever scale factor a loader may have attached.
    image.setDevicePixelRatio(1.0);
    return image;
}

QImage emptyCanvasPhoto()
{
    const int side = kEmptyCanvasTwips / kTwipsPerPixel;
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(QColor(QRgb(kEmptyCanvasColor)));
    return image;
}

bool isPortraitCanvas(QSize canvasPixels)
{
    return canvasPixels.height() > canvasPixels.width();
}

float drawnFontSize(float addFontSize)
{
    if (!(addFontSize >= kMinFontSize))  // also NaN
        return kMinFontSize;
    return std::min(addFontSize, kMaxFontSize);
}

OverlayLayout computeOverlayLayout(QSize canvasPixels, const OverlayInput& input)
{
    using Ext = long double;
    const AppSettings& s = input.settings;
    const Ext w = Ext(canvasPixels.width()) * kTwipsPerPixel;
    const Ext h = Ext(canvasPixels.height()) * kTwipsPerPixel;

    OverlayLayout layout;
    layout.baseTwips = std::nearbyint(static_cast<double>(input.isPortrait ? h : w));
    layout.fontPoints = static_cast<float>(static_cast<double>(drawnFontSize(s.addFontSize)) /
                                           100.0 * layout.baseTwips / kTwipsPerPixel);
    const long pixels = std::lround(static_cast<double>(layout.fontPoints) * 96.0 / 72.0);
    layout.fontPixels = static_cast<int>(std::max(1L, pixels));

    auto store = [](Ext v) { return static_cast<double>(static_cast<float>(v)); };
    if (input.isPortrait) {
        layout.dateTwips = {store((Ext(s.addCurrentX) - 9) / 100 * w),
                            store((Ext(s.addCurrentY) + 2) / 100 * h)};
        layout.titleTwips = {store(Ext(s.addCurrentX2) / 100 * w),
                             store((Ext(s.addCurrentY2) - 2) / 100 * h)};
    } else {
        layout.dateTwips = {store(Ext(s.addCurrentX) / 100 * w),
                            store(Ext(s.addCurrentY) / 100 * h)};
        layout.titleTwips = {store(Ext(s.addCurrentX2) / 100 * w),
                             store(Ext(s.addCurrentY2) / 100 * h)};
    }
    return layout;
}

void clearCanvas(QImage& canvas, const QImage& photo)
{
    const QImage source = photo.isNull() ? emptyCanvasPhoto() : canvasPhoto(photo);
    // A canvas of its own with the same shape takes the pixels into its existing buffer: that
    // spares a large allocation and its page faults on every redraw.
    if (canvas.isDetached() && canvas.constBits() != source.constBits() &&
        canvas.size() == source.size() && canvas.format() == source.format() &&
        canvas.bytesPerLine() == source.bytesPerLine()) {
        std::memcpy(canvas.bits(), source.constBits(), static_cast<size_t>(source.sizeInBytes()));
        canvas.setColorTable(source.colorTable());
        canvas.setDevicePixelRatio(1.0);
        return;
    }
    canvas = source;
}

void DrawOverlay(QImage& canvas, const QImage& photo, const OverlayInput& input)
{
    clearCanvas(canvas, photo);
    drawOverlayItems(canvas, input);
}

void drawOverlayItems(QImage& canvas, const OverlayInput& input)
{
    // With nothing to draw, the canvas keeps sharing the photo's pixels.
    paintOverlay(canvas, prepareOverlay(canvas, input));
}

QRectF previewRectTwips(QSize canvasPixels, bool isPortrait, QSize previewPixels)
{
    const double w0 = double(canvasPixels.width()) * kTwipsPerPixel;
    const double h0 = double(canvasPixels.height()) * kTwipsPerPixel;
    const double w1 = double(previewPixels.width()) * kTwipsPerPixel;
    const double h1 = double(previewPixels.height()) * kTwipsPerPixel;
    if (w0 <= 0 || h0 <= 0) return {};
    if (isPortrait) {
        const double width = w0 * h1 / h0;
        return {(w1 - width) / 2, 0, width, h1};
    }
    const double height = h0 * w1 / w0;
    return {0, (h1 - height) / 2, w1, height};
}

QRect previewRectPixels(QSize canvasPixels, bool isPortrait, QSize previewPixels)
{
    const QRectF t = previewRectTwips(canvasPixels, isPortrait, previewPixels);
    if (t.isEmpty()) return {};
    auto px = [](double twips) { return static_cast<int>(std::nearbyint(twips / kTwipsPerPixel)); };
    const int left = px(t.left());
    const int top = px(t.top());
    // A sliver of a photo still shows as one pixel.
    const int right = std::max(left + 1, px(t.left() + t.width()));
    const int bottom = std::max(top + 1, px(t.top() + t.height()));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

void ShowPreview(QImage& preview, const QImage& canvas, bool isPortrait)
{
    if (preview.isNull())
        preview = QImage(previewPixelSize(), QImage::Format_RGB32);
    else if (preview.format() != QImage::Format_RGB32)
        preview = preview.convertToFormat(QImage::Format_RGB32);
    preview.fill(QColor(QRgb(kPreviewBackColor)));
    if (canvas.isNull()) return;
    areaScale(canvas, preview, previewRectPixels(canvas.size(), isPortrait, preview.size()));
}

QImage ShowPreview(const QImage& canvas, bool isPortrait, QSize previewPixels)
{
    QImage preview(previewPixels.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    ShowPreview(preview, canvas, isPortrait);
    return preview;
}

}  // namespace orvello
