// The redraw sequence: the off-screen buffer, its preparation and teardown, the copy onto the
// control's surface, the paint event that shows it, and the drawing objects of the buffer.
#include "xpbutton/xpbutton.h"

#include "xpbutton/raster/blit.h"
#include "xpbutton/raster/devicelayer.h"

#include <QPainter>

namespace orvello {

namespace {

// A buffer past this many pixels is not made: no screen shows such a button, and a hostile size
// must not exhaust memory. The control then draws nothing.
constexpr qint64 kMaxBufferPixels = qint64(1) << 26;

}  // namespace

void XPButton::Refresh()
{
    RedrawButton();
}

void XPButton::DelayDrawing(bool delay)
{
    drawingDelayed_ = delay;
    if (!delay) Refresh();
}

void XPButton::RedrawButton()
{
    if (drawingDelayed_) {
        redrawPending_ = true;  // the next paint request composes what was held back
        return;
    }
    redrawPending_ = false;
    ++redrawCount_;
    if (bufferDC_ && !bufferDC_->bitmap().isNull()) {
        BorderColors colors;
        colors.fill(-1);
        // Text and icons are kept aside and drawn at device resolution on a scaled screen.
        QList<raster::DeviceItem> deviceItems;
        bufferDC_->deviceScale = devicePixelRatioF();
        bufferDC_->deviceItems = &deviceItems;
        if (buttonStyle_ >= 0 && buttonStyle_ <= 7) paintLook(ringPoints(), colors);
        bufferDC_->deviceItems = nullptr;
        surfaceItems_ = std::move(deviceItems);
        surfaceScale_ = bufferDC_->deviceScale;
        // One copy out of the buffer onto the surface.
        raster::BufferDC surface;
        surface.selectBitmap(surface_.size() == bufferDC_->bitmap().size()
                                 ? std::move(surface_)
                                 : QImage(bufferDC_->bitmap().size(), QImage::Format_RGB32));
        raster::BitBlt(surface, 0, 0, width(), height(), &*bufferDC_, 0, 0, raster::SRCCOPY);
        surface_ = surface.selectBitmap(QImage());
        deviceSurface_ = QImage();
    }
    if (!inPaint_) update();
}

void XPButton::showState(quint8 flags, bool pressActive)
{
    stateFlags_ = quint8((stateFlags_ & 1) | (flags & 6));
    isHot_ = flags & 4;
    pressActive_ = pressActive;
    drawingDelayed_ = false;
    Refresh();
}

// --- Buffer preparation and teardown ---------------------------------------------------------

void XPButton::prepareBuffer()
{
    if (!bufferDC_) {
        bufferDC_.emplace();
        bufferDC_->bkMode = raster::TRANSPARENT;
        RestoreInitialPenAndBrush();
        UpdateResource(Resource::Font);
    }
    if (!savedBitmap_) {
        const qint64 w = width(), h = height();
        QImage bitmap;
        if (w > 0 && h > 0 && w * h <= kMaxBufferPixels) {
            bitmap = QImage(int(w), int(h), QImage::Format_RGB32);
            if (!bitmap.isNull()) bitmap.fill(0xFF000000u);
        }
        bufferDC_->selectBitmap(bitmap);
        savedBitmap_ = true;
    }
}

void XPButton::releaseBufferBitmap()
{
    if (bufferDC_) bufferDC_->selectBitmap(QImage());
    savedBitmap_ = false;
}

void XPButton::teardownBuffer()
{
    clipRegion_.reset();
    if (!bufferDC_) return;
    RestoreInitialPenAndBrush();
    savedFont_ = false;
    releaseBufferBitmap();
    bufferDC_.reset();
}

// --- Drawing objects -------------------------------------------------------------------------

void XPButton::RestoreInitialPenAndBrush()
{
    if (!bufferDC_) return;
    bufferDC_->pen = raster::Pen{0, 1, raster::PS_SOLID};
    bufferDC_->brush = raster::Brush{0};
}

void XPButton::SetDrawingColor(DrawingKind kind, OleColor color, bool alsoPen, int penWidth,
                               int penStyle)
{
    if (!bufferDC_) return;
    const OleColor rgb = ToRGB(color);
    switch (kind) {
    case BrushColor:
        bufferDC_->brush = raster::Brush{rgb};
        if (alsoPen) bufferDC_->pen = raster::Pen{rgb, 1, raster::PS_SOLID};
        break;
    case PenColor: bufferDC_->pen = raster::Pen{rgb, penWidth, penStyle}; break;
    case TextColor: bufferDC_->textColor = rgb; break;
    }
}

void XPButton::DrawRectangle(int x1, int y1, int x2, int y2, OleColor fill, qint64 border,
                             int penWidth, int penStyle)
{
    if (!bufferDC_) return;
    SetDrawingColor(BrushColor, fill);
    if (border < 0)
        SetDrawingColor(PenColor, fill);
    else
        SetDrawingColor(PenColor, OleColor(border), false, penWidth, penStyle);
    bufferDC_->Rectangle(x1, y1, x2, y2);
}

// --- The derived face colours ----------------------------------------------------------------

void XPButton::UpdateResource(Resource what)
{
    switch (what) {
    case Resource::Font: updateCaptionFont(); break;
    case Resource::Picture: measurePicture(); break;
    case Resource::BackColor: deriveFaceColors(); break;
    }
}

void XPButton::deriveFaceColors()
{
    faceColor_ = pressedFaceColor_ = ToRGB(backColor_);
    hoverFaceColor_ = ToRGB(hoverBackColor_);
    switch (buttonStyle_) {
    case 2:
        faceColor_ = ShiftColor(faceColor_, 48, true);
        pressedFaceColor_ = ShiftColor(faceColor_, -32, true);
        hoverFaceColor_ = ShiftColor(hoverFaceColor_, 48, true);
        checkedFaceColor_ = ShiftColor(0xFFFFFF, -32, true);
        break;
    case 3:
        pressedFaceColor_ = ShiftColor(0x808080, 12);
        checkedFaceColor_ = ShiftColor(pressedFaceColor_, 31);
        break;
    case 7:
        faceColor_ = ShiftColor(faceColor_, 31);
        pressedFaceColor_ = ShiftColor(0x808080, -16);
        hoverFaceColor_ = ShiftColor(hoverFaceColor_, 31);
        checkedFaceColor_ = ShiftColor(0x808080, 16, true);
        break;
    default: checkedFaceColor_ = ShiftColor(0xFFFFFF, -32); break;
    }
}

// --- Events ----------------------------------------------------------------------------------

void XPButton::paintEvent(QPaintEvent*)
{
    // A paint request shows the last composed face. Composing it again here would lose a state
    // that lasted only for its redraw: the space bar's press is composed with the hot bit set,
    // which is cleared again at once when the pointer is elsewhere.
    drawingDelayed_ = false;
    const bool resized = bufferSize() != size() && width() > 0 && height() > 0;
    if (resized) {
        // A resize the widget has not reported yet: the buffer follows the size first.
        BuildShapeRegion();
        releaseBufferBitmap();
        prepareBuffer();
        LayoutContent();
    }
    if (resized || redrawPending_ || surface_.size() != size()) {
        inPaint_ = true;
        RedrawButton();
        inPaint_ = false;
    }
    QPainter painter(this);
    const qreal scale = devicePixelRatioF();
    if (scale != surfaceScale_ && bufferDC_) {
        // Moved to a screen of another scale: compose again for it.
        inPaint_ = true;
        RedrawButton();
        inPaint_ = false;
    }
    if (scale == 1) {
        painter.drawImage(0, 0, surface_);
        return;
    }
    // Each pixel as a block of device pixels (lines and rings stay sharp, each as wide on every
    // side), then the text and icons at the device's resolution.
    if (deviceSurface_.isNull()) deviceSurface_ = raster::enlargeKeepingEdges(surface_, scale, 5);
    painter.drawImage(QRectF(0, 0, surface_.width(), surface_.height()), deviceSurface_);
    raster::paintDeviceItems(painter, surfaceItems_, scale);
}

void XPButton::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    handleResize();
}

}  // namespace orvello
