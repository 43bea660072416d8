// The control's properties: what each setter accepts, stores, changes besides and marks.
#include "xpbutton/xpbutton.h"

#include "xpbutton/accesskey.h"

#include <QCursor>
#include <QPixmap>
#include <optional>

namespace orvello {

namespace {

const QString kValueMessage =
    QStringLiteral("This property is not applicable for command button modes.");
const QString kCaptionAlignMessage = QStringLiteral(
    "When button images are aligned top/bottom center, \nbutton captions can only be center "
    "aligned");
const QString kFocusMessage = QStringLiteral(
    "The focus rectangle may appear on default buttons ONLY while in design mode, \nbut will not "
    "appear when the form is running.");
const QString kMouseIconTitle = QStringLiteral("Select .ico Or .cur Files Only");

// The surface's mouse pointers 0..15 as Qt cursor shapes (99, custom, uses the mouse icon).
std::optional<Qt::CursorShape> pointerShape(int pointer)
{
    static const Qt::CursorShape shapes[16] = {
        Qt::ArrowCursor,      // 0 default
        Qt::ArrowCursor,      // 1 arrow
        Qt::CrossCursor,      // 2 cross
        Qt::IBeamCursor,      // 3 I-beam
        Qt::ArrowCursor,      // 4 icon
        Qt::SizeAllCursor,    // 5 size
        Qt::SizeBDiagCursor,  // 6 size NE SW
        Qt::SizeVerCursor,    // 7 size N S
        Qt::SizeFDiagCursor,  // 8 size NW SE
        Qt::SizeHorCursor,    // 9 size W E
        Qt::UpArrowCursor,    // 10 up arrow
        Qt::WaitCursor,       // 11 hourglass
        Qt::ForbiddenCursor,  // 12 no drop
        Qt::BusyCursor,       // 13 arrow and hourglass
        Qt::WhatsThisCursor,  // 14 arrow and question mark
        Qt::SizeAllCursor,    // 15 size all
    };
    if (pointer < 0 || pointer > 15) return std::nullopt;
    return shapes[pointer];
}

}  // namespace

void XPButton::setButtonStyle(int style)
{
    if (style < 0 || style > 7) return;
    buttonStyle_ = style;
    BuildShapeRegion();
    LayoutContent();
    UpdateResource(Resource::BackColor);
    Refresh();
    mark("BackStyle");
}

void XPButton::setMode(int newMode)
{
    if (newMode < 0 || newMode > 2) return;
    const int old = mode_;
    if (old == 2 && (newMode == 0 || newMode == 1)) OptionGroupUpdate(GroupLeave);
    if (newMode == 2 && (old == 0 || old == 1)) OptionGroupUpdate(GroupJoin);
    if (newMode == 0 && (old == 1 || old == 2)) setValue(false);
    mode_ = newMode;
    Refresh();
    mark("Mode");
}

void XPButton::setValue(bool newValue)
{
    if (newValue && mode_ == 0) {
        if (designMode()) message(kValueMessage);
        return;
    }
    value_ = newValue;
    if (value_ && mode_ == 2) OptionGroupUpdate(GroupClearOthers);
    Refresh();
    mark("Value");
}

void XPButton::setCaption(const QString& newCaption)
{
    if (const auto key = accessKeyFromCaption(newCaption)) setAccessKeys(*key);
    caption_ = newCaption;
    LayoutContent();
    Refresh();
    mark("Caption");
}

void XPButton::setCaptionAlign(int align)
{
    if (align < 0 || align > 2) return;
    if (align != 2 && (pictureAlign_ == 4 || pictureAlign_ == 5) &&
        pictureWidth_ + pictureHeight_ >= 1) {
        if (designMode()) message(kCaptionAlignMessage);
        return;
    }
    captionAlign_ = align;
    LayoutContent();
    Refresh();
    mark("CapAlign");
}

void XPButton::setCaptionStyle(int style)
{
    if (style < 0 || style > 2) return;
    captionStyle_ = style;
    mark("CapStyle");
    if (!caption_.isEmpty()) {
        LayoutContent();
        Refresh();
    }
}

void XPButton::setButtonShape(int shape)
{
    if (shape < 0 || shape > 6) return;
    buttonShape_ = shape;
    if (shape == 3 && captionAlign_ != 2) captionAlign_ = 2;
    drawingDelayed_ = false;
    handleResize();
    mark("Shape");
}

void XPButton::setPicture(const XbPicture& newPicture)
{
    picture_ = newPicture;
    if (pictureSize_ == 0) pictureSize_ = 16;
    UpdateResource(Resource::Picture);
    LayoutContent();
    Refresh();
    mark("Image");
}

void XPButton::setPictureAlign(int align)
{
    if (align < 0 || align > 5) return;
    pictureAlign_ = align;
    if (align == 4 || align == 5) setCaptionAlign(2);
    LayoutContent();
    Refresh();
    mark("ImgAlign");
}

void XPButton::setEnabled(bool enabled)
{
    if (enabled == enabledState()) return;
    inSetter_ = true;
    QWidget::setEnabled(enabled);
    inSetter_ = false;
    enabledChangedSteps();
    mark("Enabled");
}

void XPButton::enabledChangedSteps()
{
    if (buttonStyle_ == 3 && mode_ == 0) {
        drawingDelayed_ = true;
        BuildShapeRegion();
        LayoutContent();
        DelayDrawing(false);
    } else {
        Refresh();
    }
}

void XPButton::setShowFocusRect(bool show)
{
    showFocusRect_ = show;
    if (defaultButtonLook()) {
        if (!designMode()) {
            stateFlags_ &= quint8(~1);
            Refresh();
        } else {
            message(kFocusMessage);
        }
    } else {
        Refresh();
    }
    mark("Focus");
}

int XPButton::pictureSize() const
{
    if (pictureSize_ == 0) pictureSize_ = 16;
    return pictureSize_ / 8 - 2;
}

void XPButton::setPictureSize(int size)
{
    if (size < 0 || size > 4) return;
    pictureSize_ = qint16((size + 2) * 8);
    LayoutContent();
    Refresh();
    mark("ImgSize");
}

bool XPButton::setMousePointer(int pointer)
{
    if (pointer != 99 && !pointerShape(pointer)) return false;
    mousePointer_ = pointer;
    applyCursor();
    mark("mPointer");
    return true;
}

void XPButton::setMouseIcon(const XbPicture& icon)
{
    if (!icon.isNull() && icon.type == XbPicture::Type::Bitmap) {
        // The surface takes icons and cursors only.
        if (designMode()) message(kInvalidPropertyValue, kMouseIconTitle);
        return;
    }
    mouseIcon_ = icon;
    applyCursor();
    if (!icon.isNull()) {
        setMousePointer(99);
        mark("mIcon");
    }
}

void XPButton::applyCursor()
{
    if (mousePointer_ == 99) {
        if (mouseIcon_.isNull()) {
            unsetCursor();
            return;
        }
        const bool cursor = mouseIcon_.type == XbPicture::Type::Cursor;
        setCursor(QCursor(QPixmap::fromImage(mouseIcon_.image),
                          cursor ? mouseIcon_.hotSpot.x() : -1,
                          cursor ? mouseIcon_.hotSpot.y() : -1));
    } else if (mousePointer_ == 0) {
        unsetCursor();
    } else if (const auto shape = pointerShape(mousePointer_)) {
        setCursor(*shape);
    }
}

void XPButton::setFont(const QFont& newFont)
{
    inSetter_ = true;
    QWidget::setFont(newFont);
    inSetter_ = false;
    UpdateResource(Resource::Font);
    LayoutContent();
    Refresh();
    mark("Font");
}

int XPButton::fontStyle() const
{
    const QFont f = font();
    return 2 * int(f.bold()) + 4 * int(f.italic()) + 8 * int(f.underline());
}

void XPButton::setFontStyle(int style)
{
    QFont f = font();
    f.setBold(style & 2);
    f.setItalic(style & 4);
    f.setUnderline(style & 8);
    inSetter_ = true;
    QWidget::setFont(f);
    inSetter_ = false;
    UpdateResource(Resource::Font);
    LayoutContent();
    mark("Font");
    Refresh();
}

void XPButton::setForeColor(OleColor color)
{
    if (color == foreColor_) return;
    foreColor_ = color;
    if (hoverColorLocks_ == 0 || hoverColorLocks_ == 1) setHoverForeColor(color);
    drawingDelayed_ = false;
    Refresh();
    mark("cFore");
}

void XPButton::setBackColor(OleColor color)
{
    backColor_ = ToRGB(color);
    if (hoverColorLocks_ == 0 || hoverColorLocks_ == 2)
        setHoverBackColor(gradientMode_ != 0 ? gradientColor_ : color);
    UpdateResource(Resource::BackColor);
    Refresh();
    mark("cBack");
}

void XPButton::setGradientColor(OleColor color)
{
    if ((hoverColorLocks_ == 0 || hoverColorLocks_ == 2) && gradientMode_ > 0)
        hoverBackColor_ = color;
    gradientColor_ = color;
    UpdateResource(Resource::BackColor);
    if (gradientMode_ != 0) Refresh();
    mark("cGradient");
}

void XPButton::setGradientMode(int newMode)
{
    if (newMode < 0 || newMode > 4) return;
    gradientMode_ = newMode;
    if (hoverColorLocks_ == 0 || hoverColorLocks_ == 2) {
        hoverBackColor_ = newMode == 0 ? backColor_ : gradientColor_;
        UpdateResource(Resource::BackColor);
    }
    Refresh();
    mark("Gradient");
}

void XPButton::setResetDefaultColors(bool reset)
{
    if (!reset || !designMode()) return;
    drawingDelayed_ = true;
    backColor_ = kButtonFace;
    setForeColor(kButtonText);
    setGradientColor(kButtonFace);
    setGradientMode(0);
    setHoverColorLocks(0);
    UpdateResource(Resource::BackColor);
    DelayDrawing(false);
    mark("cGradient");
    mark("cBack");
}

void XPButton::setHoverColorLocks(int locks)
{
    hoverColorLocks_ = locks;
    if (locks == 0 || locks == 2) {
        hoverBackColor_ = gradientMode_ != 0 ? gradientColor_ : backColor_;
        mark("cBHover");
    }
    if (locks == 0 || locks == 1) {
        hoverForeColor_ = foreColor_;
        mark("cFHover");
    }
    UpdateResource(Resource::BackColor);
    mark("LockHover");
}

void XPButton::setHoverForeColor(OleColor color)
{
    if (color == hoverForeColor_) return;
    hoverForeColor_ = color;
    mark("cFHover");
    if (color != foreColor_) {
        if (hoverColorLocks_ == 0)
            hoverColorLocks_ = 2;
        else if (hoverColorLocks_ == 1)
            hoverColorLocks_ = 3;
    }
}

void XPButton::setHoverBackColor(OleColor color)
{
    if (color == hoverBackColor_) return;
    hoverBackColor_ = color;
    if (color != backColor_) {
        if (hoverColorLocks_ == 0)
            hoverColorLocks_ = 1;
        else if (hoverColorLocks_ == 2)
            hoverColorLocks_ = 3;
    }
    UpdateResource(Resource::BackColor);
    mark("cBHover");
}

}  // namespace orvello
