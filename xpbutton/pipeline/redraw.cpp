// The redraw sequence: the off-screen buffer, its preparation and teardown, the copy onto the
// control's surface and the paint event that shows it.
#include "xpbutton/xpbutton.h"

#include <QPainter>

namespace orvello {

void XPButton::Refresh()
{
    RedrawButton();
}

void XPButton::DelayDrawing(bool delay)
{
    drawingDelayed_ = delay;
    if (!delay) Refresh();
}

void XPButton::UpdateResource(Resource what)
{
    switch (what) {
    case Resource::Font:
        captionFont_ = font();
        if (bufferDC_) savedFont_ = true;
        break;
    case Resource::Picture:
        pictureWidth_ = picture_.isNull() ? 0 : picture_.width();
        pictureHeight_ = picture_.isNull() ? 0 : picture_.height();
        pictureKind_ = picture_.type == XbPicture::Type::Bitmap ? 0 : 1;
        break;
    case Resource::BackColor: {
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
        break;
    }
    }
}

void XPButton::prepareBuffer()
{
    if (!bufferDC_) {
        bufferDC_ = true;
        UpdateResource(Resource::Font);
    }
    if (!savedBitmap_) {
        bufferBitmap_ = QImage(qMax(width(), 1), qMax(height(), 1), QImage::Format_RGB32);
        bufferBitmap_.fill(Qt::black);
        savedBitmap_ = true;
    }
}

void XPButton::RedrawButton()
{
    if (drawingDelayed_) return;
    ++redrawCount_;
    if (!bufferBitmap_.isNull() && buttonStyle_ >= 0 && buttonStyle_ <= 7) {
        // A plain painter until the real looks exist: face colour, picture and caption.
        QPainter p(&bufferBitmap_);
        OleColor face = faceColor_;
        if (mode_ > 0 && value_)
            face = checkedFaceColor_;
        else if ((stateFlags_ & 6) == 6)
            face = pressedFaceColor_;
        else if (isHot_)
            face = hoverFaceColor_;
        p.fillRect(bufferBitmap_.rect(), toQColor(face));
        if (!picture_.isNull() && pictureRect_.isValid()) p.drawImage(pictureRect_, picture_.image);
        if (!caption_.isEmpty()) {
            QString text = caption_;
            text.replace(QLatin1String("||"), QLatin1String("\n"));
            p.setFont(captionFont_);
            p.setPen(isEnabled() ? toQColor(foreColor_) : toQColor(kSystemColorFlag | 17));
            p.drawText(captionRect_, Qt::TextWordWrap | Qt::TextShowMnemonic | Qt::AlignLeft, text);
        }
    }
    if (!inPaint_) update();
}

void XPButton::paintEvent(QPaintEvent*)
{
    drawingDelayed_ = false;
    if (bufferBitmap_.size() != size() && width() > 0 && height() > 0) {
        savedBitmap_ = false;
        prepareBuffer();
        LayoutContent();
    }
    inPaint_ = true;
    RedrawButton();
    inPaint_ = false;
    QPainter(this).drawImage(0, 0, bufferBitmap_);
}

void XPButton::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    handleResize();
}

}  // namespace orvello
