// The last step of every redraw: the picture, then the caption (`DrawCaptionAndPicture`), and the
// two resource updates that prepare them, "Font" and "Picture".
#include "xpbutton/caption/transparentbitmap.h"
#include "xpbutton/raster/blit.h"
#include "xpbutton/raster/devicelayer.h"
#include "xpbutton/raster/drawtext.h"
#include "xpbutton/raster/fontquality.h"
#include "xpbutton/xpbutton.h"

#include <algorithm>
#include <cmath>

namespace orvello {

namespace {

int toInt(qint64 v)
{
    return int(std::clamp<qint64>(v, INT_MIN / 2, INT_MAX / 2));
}

void drawPictureAt(raster::BufferDC& dc, int x, int y, const QImage& picture, bool icon)
{
    if (icon)
        raster::DrawIconEx(dc, x, y, picture, picture.width(), picture.height(), raster::DI_NORMAL);
    else
        DrawTransparentBitmap(dc, QRect(x, y, picture.width(), picture.height()), picture,
                              picture.width(), picture.height());
}

// The disabled look: the picture in black and white, embossed in a light shade step pixels up
// and to the left of x, y and a dark shade at x, y.
void drawEmbossed(raster::BufferDC& dc, int x, int y, const QImage& picture, bool icon, int step)
{
    raster::BufferDC temp(picture.width() + step, picture.height() + step, true);
    temp.PatBlt(0, 0, temp.width(), temp.height(), raster::WHITENESS);
    drawPictureAt(temp, 0, 0, picture, icon);
    const raster::Brush brush = dc.brush;
    const raster::ColorRef bk = dc.bkColor, text = dc.textColor;
    dc.bkColor = 0xFFFFFF;
    dc.textColor = 0;  // black picture pixels take the brush, whatever the caption colour was
    dc.brush = raster::Brush{ShiftColor(0xC0C0C0, 36)};
    raster::BitBlt(dc, x - step, y - step, temp.width(), temp.height(), &temp, 0, 0,
                   raster::ROP_PSDPxax);
    dc.brush = raster::Brush{ShiftColor(0xC0C0C0, -36)};
    raster::BitBlt(dc, x, y, temp.width(), temp.height(), &temp, 0, 0, raster::ROP_PSDPxax);
    dc.bkColor = bk;
    dc.textColor = text;
    dc.brush = brush;
}

// The disabled look as a picture of its own, step pixels larger each way and clear around the
// shades, to be drawn at the device's resolution.
QImage embossedImage(const QImage& picture, bool icon, int step)
{
    constexpr raster::ColorRef kKey = 0xFF00FF;  // neither shade is magenta
    raster::BufferDC look(picture.width() + step, picture.height() + step);
    look.brush = raster::Brush{kKey};
    look.PatBlt(0, 0, look.width(), look.height(), raster::PATCOPY);
    drawEmbossed(look, step, step, picture, icon, step);
    QImage out = look.bitmap().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if (line[x] == raster::toArgb(kKey)) line[x] = 0;
    }
    return out;
}

}  // namespace

void XPButton::DrawCaptionAndPicture(OleColor shadingBase, qint64 p, bool pressedOffset,
                                     bool singlePass)
{
    if (!bufferDC_) return;
    int lo = 0;
    const int uw = LayoutContent(false, &lo);
    QRect cap = drawnCaptionRect(), pic = drawnPictureRect();
    // The pressed look moves both by a pixel, where that keeps them on the face.
    const bool moved = (pressedOffset || pressedAndHot()) && buttonStyle_ != 3 && pressedShiftFits_;
    if (moved) {
        const QPoint by = buttonShape_ <= 3 ? QPoint(1, 1) : QPoint(0, 1);
        cap.translate(by);
        pic.translate(by);
    }
    drawPicture(pic, moved && buttonShape_ <= 3, uw, lo);
    if (caption_.isEmpty()) return;
    // A caption too large for a rectangular face is cut at the rings rather than drawn over them.
    struct FaceClip {
        raster::BufferDC& dc;
        bool on;
        FaceClip(raster::BufferDC& d, bool clip, const QRect& face) : dc(d), on(clip)
        {
            if (on)
                dc.selectClipRgn(raster::Region::rect(face.left(), face.top(), face.right() + 1,
                                                      face.bottom() + 1));
        }
        ~FaceClip()
        {
            if (on) dc.selectClipRgn(std::nullopt);
        }
    } clip(*bufferDC_, buttonShape_ == 0 && width() > 6 && height() > 6, faceInterior());

    const QString text = QString(caption_).replace(QLatin1String("||"), QLatin1String("\r\n"));
    const unsigned format = (captionAlign_ == 0   ? raster::DT_LEFT
                             : captionAlign_ == 1 ? raster::DT_RIGHT
                                                  : raster::DT_CENTER) |
                            raster::DT_WORDBREAK | (captionWhole_ ? raster::DT_NOCLIP : 0u);
    const OleColor a = ToRGB(shadingBase);
    if (isEnabled()) {
        OleColor color = (isHot_ && !pressedAndHot()) ? hoverForeColor_ : foreColor_;
        if (buttonStyle_ == 7 && gradientMode_ == 0 && p >= 0) color = OleColor(p);
        QPoint at;
        if (captionStyle_ == 1 || captionStyle_ == 2) {
            // Engraved (1) or embossed (2): a lighter and a darker copy around the caption.
            const int e = captionStyle_ == 1 ? -40 : 40;
            drawCaptionText(text, cap.translated(-1, 0), format, ShiftColor(a, e));
            drawCaptionText(text, cap.translated(1, 2), format, ShiftColor(a, -e));
            at = QPoint(0, 1);
        }
        drawCaptionText(text, cap.translated(at), format, color);
    } else if (p < 0 || gradientMode_ != 0) {
        drawCaptionText(text, cap.translated(1, 1), format, 0xFFFFFF);
        drawCaptionText(text, cap, format, 0x808080);
    } else {
        drawCaptionText(text, cap, format, OleColor(p));
        if (!singlePass) drawCaptionText(text, cap.translated(-1, -1), format, 0x808080);
    }
}

void XPButton::drawCaptionText(const QString& text, QRect rect, unsigned format, OleColor color)
{
    SetDrawingColor(TextColor, color);
    raster::DrawTextA(*bufferDC_, text, rect, format);
}

void XPButton::drawPicture(const QRect& target, bool moved, int usableWidth, int leftOffset)
{
    if (pictureWidth_ <= 0 || pictureHeight_ <= 0 || picture_.isNull()) return;
    const qint64 W = width(), H = height(), uw = usableWidth;
    const qint64 ps = pictureSize_ == 0 ? 16 : pictureSize_;
    const qint64 o = moved ? 1 : 0;  // the pressed offset
    qint64 x = target.x(), y = target.y(), w = ps, h = ps;
    if (ps == 40) {
        // Covers the whole button.
        x = y = o;
        w = W - o;
        h = H - o;
    } else if (ps > 40) {
        // Scaled to fit beside the margins, keeping its shape.
        const double factor =
            std::min(double(uw - 12) / pictureWidth_, double(H - 12) / pictureHeight_);
        w = qint64(std::nearbyint(factor * pictureWidth_));
        h = qint64(std::nearbyint(factor * pictureHeight_));
        x = (uw - w) / 2 + leftOffset + o;
        y = (H - h) / 2 + o;
    }
    const QImage scaled = raster::CopyImage(picture_.image, pictureKind_, toInt(w), toInt(h));
    if (scaled.isNull()) return;  // no picture, but the caption still follows

    const bool icon = pictureKind_ == 1;
    const int px = toInt(x), py = toInt(y);
    if (isEnabled()) {
        drawPictureAt(*bufferDC_, px, py, scaled, icon);
        return;
    }
    // Disabled: on a scaled screen, drawn from the larger picture at the device's resolution as
    // the enabled picture is; else into the bitmap.
    const QImage larger = bufferDC_->deferToDevice() ? raster::deviceVariant(scaled) : QImage();
    if (larger.isNull()) {
        drawEmbossed(*bufferDC_, px, py, scaled, icon, 1);
        return;
    }
    raster::DeviceItem item;
    item.icon = embossedImage(scaled, icon, 1);
    raster::addDeviceVariant(item.icon, embossedImage(larger, icon, 2));
    item.clip = QRect(px - 1, py - 1, item.icon.width(), item.icon.height());
    bufferDC_->deviceItems->append(item);
}

void XPButton::updateCaptionFont()
{
    // The control's font at 96 dots per inch: a character height of 20 × size / 15 pixels.
    QFont f = font();
    const double points = f.pointSizeF();
    const int pixels = points > 0 ? int(std::nearbyint(20.0 * points / 15.0)) : f.pixelSize();
    f.setPixelSize(std::clamp(pixels, 1, 0x7FFF));
    captionFont_ = raster::withDefaultQuality(f);
    if (bufferDC_) {
        bufferDC_->font = captionFont_;
        savedFont_ = true;
    }
}

void XPButton::measurePicture()
{
    pictureWidth_ = picture_.isNull() ? 0 : picture_.width();
    pictureHeight_ = picture_.isNull() ? 0 : picture_.height();
    pictureKind_ = picture_.type == XbPicture::Type::Bitmap ? 0 : 1;
}

}  // namespace orvello
