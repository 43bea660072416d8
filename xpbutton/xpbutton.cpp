#include "xpbutton/xpbutton.h"

#include "xpbutton/accesskey.h"

#include <QCursor>
#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QShortcut>

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
const QString kInvalidPropertyValue = QStringLiteral("Invalid property value");

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

XPButton* memberAt(QObject* container, int k)
{
    const QVariant v = container->property(("xb_Obj" + QByteArray::number(k)).constData());
    return v.isValid() ? reinterpret_cast<XPButton*>(quintptr(v.toULongLong())) : nullptr;
}

QVariant identityOf(const XPButton* button)
{
    return QVariant::fromValue(qulonglong(reinterpret_cast<quintptr>(button)));
}

QByteArray objKey(int k)
{
    return "xb_Obj" + QByteArray::number(k);
}

}  // namespace

XPButton::XPButton(QWidget* parent, XPButtonHost* host)
    : QWidget(parent), host_(host ? host : &UserModeHost::instance())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

XPButton::~XPButton()
{
    removeFromGroup();  // a destroyed member never stays in its group
    handleTerminate();
}

void XPButton::setHost(XPButtonHost* host)
{
    host_ = host ? host : &UserModeHost::instance();
}

void XPButton::mark(const char* key)
{
    host_->propertyChanged(*this, QString::fromLatin1(key));
}

bool XPButton::designMode() const
{
    return !host_->userMode(*this);
}

void XPButton::message(const QString& text, const QString& title)
{
    host_->showMessage(*this, XbMessage{text, title});
}

// --- Properties ------------------------------------------------------------------------------

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

void XPButton::Refresh()
{
    RedrawButton();
}

void XPButton::DelayDrawing(bool delay)
{
    drawingDelayed_ = delay;
    if (!delay) Refresh();
}

// --- Access key --------------------------------------------------------------------------------

void XPButton::setAccessKeys(const QString& keys)
{
    accessKeys_ = keys;
    delete accessShortcut_;
    accessShortcut_ = nullptr;
    if (keys.isEmpty()) return;
    const char16_t ch = keys.at(0).toUpper().unicode();
    accessShortcut_ =
        new QShortcut(QKeySequence(QKeyCombination(Qt::AltModifier, Qt::Key(ch))), this);
    connect(accessShortcut_, &QShortcut::activated, this, &XPButton::accessKeyPressed);
    connect(accessShortcut_, &QShortcut::activatedAmbiguously, this, &XPButton::accessKeyPressed);
}

void XPButton::accessKeyPressed()
{
    // An access key is never Enter or Escape, so no default/cancel rule applies here.
    if (!isEnabled() || !isVisible()) return;
    if (!defaultButtonLook()) Refresh();
    lastMouseButton_ = 1;
    clickHandling();
}

void XPButton::clickHandling()
{
    // Check and option buttons change their value before the click; a selected option does
    // nothing.
    if (lastMouseButton_ != 1) return;
    if (mode_ > 0) {
        if (mode_ == 2 && value_) return;
        setValue(!value_);
    }
    emit Click();
}

void XPButton::mousePressEvent(QMouseEvent* event)
{
    // Button numbers: 1 left, 2 right, 4 middle.
    lastMouseButton_ = event->button() == Qt::LeftButton    ? 1
                       : event->button() == Qt::RightButton ? 2
                                                            : 4;
    if (event->button() == Qt::LeftButton) {
        stateFlags_ |= 2;
        drawingDelayed_ = false;
        Refresh();
    }
}

void XPButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        lastMouseButton_ = event->button() == Qt::RightButton ? 2 : 4;
        return;
    }
    stateFlags_ &= quint8(~2);
    drawingDelayed_ = false;
    if (mode_ == 0) Refresh();
    if (rect().contains(event->position().toPoint())) clickHandling();
}

void XPButton::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat() && !(stateFlags_ & 2)) {
        stateFlags_ |= 2;
        Refresh();
        return;
    }
    QWidget::keyPressEvent(event);
}

void XPButton::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat() && (stateFlags_ & 2)) {
        stateFlags_ &= quint8(~2);
        lastMouseButton_ = 1;
        if (mode_ == 0) Refresh();
        clickHandling();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void XPButton::setDisplayAsDefault(bool displayAsDefault)
{
    if (showFocusRect_ && displayAsDefault)
        stateFlags_ |= 1;
    else
        stateFlags_ &= quint8(~1);
    Refresh();
}

// --- Persistence -----------------------------------------------------------------------------

void XPButton::setContainerFromHost()
{
    container_ = host_->containerWindow(*this);
    containerKey_ = containerKeyOf(container_);
}

void XPButton::initProperties()
{
    setContainerFromHost();
    caption_ = host_->ambientDisplayName(*this);
    captionAlign_ = 2;
    showFocusRect_ = true;
    hoverForeColor_ = kButtonText;
    hoverBackColor_ = kButtonFace;
    ambientBackColor_ = ToRGB(host_->ambientBackColor(*this));
    backColor_ = kButtonFace;
    UpdateResource(Resource::Font);
    UpdateResource(Resource::BackColor);
    mark("Caption");
    mark("CapAlign");
    mark("Focus");
    mark("cFHover");
    mark("cBHover");
}

void XPButton::readProperties(const PropertyStore& store)
{
    setContainerFromHost();
    ambientBackColor_ = ToRGB(host_->ambientBackColor(*this));
    DelayDrawing(true);
    const QString readCaption = store.readText(QStringLiteral("Caption"), QString());
    caption_ = readCaption;
    captionAlign_ = store.readInt32(QStringLiteral("CapAlign"), 2);
    buttonStyle_ = store.readInt32(QStringLiteral("BackStyle"), 0);
    buttonShape_ = store.readInt32(QStringLiteral("Shape"), 0);
    gradientMode_ = store.readInt32(QStringLiteral("Gradient"), 0);
    gradientColor_ = OleColor(store.readInt32(QStringLiteral("cGradient"), qint32(kButtonFace)));
    foreColor_ = OleColor(store.readInt32(QStringLiteral("cFore"), qint32(kButtonText)));
    const QFont readFont = store.readFont(QStringLiteral("Font"), font());
    inSetter_ = true;
    QWidget::setFont(readFont);
    inSetter_ = false;
    showFocusRect_ = store.readBool(QStringLiteral("Focus"), true);
    mode_ = store.readInt32(QStringLiteral("Mode"), 0);
    value_ = store.readBool(QStringLiteral("Value"), false);
    picture_ = store.readPicture(QStringLiteral("Image"));
    pictureSize_ = store.readInt16(QStringLiteral("ImgSize"), 16);
    pictureAlign_ = store.readInt32(QStringLiteral("ImgAlign"), 0);
    hoverForeColor_ = OleColor(store.readInt32(QStringLiteral("cFHover"), qint32(kButtonText)));
    const bool readEnabled = store.readBool(QStringLiteral("Enabled"), true);
    inSetter_ = true;
    QWidget::setEnabled(readEnabled);
    inSetter_ = false;
    backColor_ = OleColor(
        store.readInt32(QStringLiteral("cBack"), qint32(host_->containerBackColor(*this))));
    hoverBackColor_ = OleColor(store.readInt32(QStringLiteral("cBHover"), qint32(backColor_)));
    hoverColorLocks_ = store.readInt32(QStringLiteral("LockHover"), 0);
    captionStyle_ = store.readInt32(QStringLiteral("CapStyle"), 0);
    setMouseIcon(store.readPicture(QStringLiteral("mIcon")));
    const qint16 readPointer = store.readInt16(QStringLiteral("mPointer"), 0);
    if (!setMousePointer(readPointer))
        throw PropertyStoreError(kInvalidPropertyValue.toStdString());
    UpdateResource(Resource::Picture);
    UpdateResource(Resource::Font);
    UpdateResource(Resource::BackColor);
    setCaption(readCaption);
    if (mode_ == 2) OptionGroupUpdate(GroupJoin);
    drawingDelayed_ = false;
    handleResize();
}

void XPButton::writeProperties(PropertyStore& store) const
{
    store.writeText(QStringLiteral("Caption"), caption_, QString());
    store.writeInt32(QStringLiteral("CapAlign"), captionAlign_, 2);
    store.writeInt32(QStringLiteral("BackStyle"), buttonStyle_, 0);
    store.writeInt32(QStringLiteral("Shape"), buttonShape_, 0);
    store.writeFont(QStringLiteral("Font"), font());
    store.writeInt32(QStringLiteral("cFore"), qint32(foreColor_), qint32(kButtonText));
    store.writeInt32(QStringLiteral("cFHover"), qint32(hoverForeColor_), qint32(kButtonText));
    store.writeInt32(QStringLiteral("cBhover"), qint32(hoverBackColor_), qint32(backColor_));
    store.writeBool(QStringLiteral("Focus"), showFocusRect_, true);
    store.writeInt32(QStringLiteral("LockHover"), hoverColorLocks_, 0);
    store.writeInt32(QStringLiteral("cGradient"), qint32(gradientColor_), qint32(kButtonFace));
    store.writeInt32(QStringLiteral("Gradient"), gradientMode_, 0);
    store.writeInt32(QStringLiteral("CapStyle"), captionStyle_, 0);
    store.writeInt32(QStringLiteral("Mode"), mode_);
    store.writeBool(QStringLiteral("Value"), value_);
    store.writeInt32(QStringLiteral("ImgAlign"), pictureAlign_, 0);
    store.writePicture(QStringLiteral("Image"), picture_);
    store.writeInt16(QStringLiteral("ImgSize"), pictureSize_, 16);
    store.writeBool(QStringLiteral("Enabled"), enabledState(), true);
    store.writeInt32(QStringLiteral("cBack"), qint32(backColor_));
    store.writeInt16(QStringLiteral("mPointer"), qint16(mousePointer_), 0);
    store.writePicture(QStringLiteral("mIcon"), mouseIcon_);
}

void XPButton::handleResize()
{
    if (drawingDelayed_) return;
    BuildShapeRegion();
    if (bufferDC_) {
        bufferBitmap_ = QImage();  // select SavedBitmap back, delete the old-size buffer
        savedBitmap_ = false;
    }
    prepareBuffer();
    LayoutContent();
    Refresh();
}

void XPButton::handleTerminate()
{
    if (isHot_) isHot_ = false;  // hover tracking is stopped with it
    clipRegion_.reset();
    if (bufferDC_) {
        // Initial brush and pen back, SavedFont back, SavedBitmap back, then the DC goes.
        savedFont_ = false;
        bufferBitmap_ = QImage();
        savedBitmap_ = false;
        bufferDC_ = false;
    }
}

// --- Option groups ---------------------------------------------------------------------------

QObject* XPButton::container()
{
    if (!container_) setContainerFromHost();
    return container_;
}

bool XPButton::OptionGroupUpdate(int action)
{
    QObject* c = container();
    if (!c) return false;
    const int n = c->property("xb_OptCount").toInt();
    if ((action == GroupJoin || n > 0) && value_) {
        for (int k = 1; k <= n; ++k) {
            XPButton* member = memberAt(c, k);
            if (member && member != this) member->setValue(false);
        }
    }
    switch (action) {
    case GroupJoin:
        // Listed once only: a second entry would outlive the member's leaving.
        for (int k = 1; k <= n; ++k)
            if (memberAt(c, k) == this) return false;
        c->setProperty("xb_OptCount", n + 1);
        c->setProperty(objKey(n + 1).constData(), identityOf(this));
        return false;
    case GroupLeave: removeFromGroup(); return false;
    case GroupQuery:
        for (int k = 1; k <= n; ++k) {
            XPButton* member = memberAt(c, k);
            if (member && member->value_) return true;
        }
        return false;
    default: return false;
    }
}

void XPButton::removeFromGroup()
{
    QObject* c = container_;
    if (!c) return;
    int n = c->property("xb_OptCount").toInt();
    for (int k = 1; k <= n;) {
        if (memberAt(c, k) != this) {
            ++k;
            continue;
        }
        for (int j = k; j < n; ++j)
            c->setProperty(objKey(j).constData(), c->property(objKey(j + 1).constData()));
        c->setProperty(objKey(n).constData(), QVariant());
        --n;
        if (n > 0)
            c->setProperty("xb_OptCount", n);
        else
            c->setProperty("xb_OptCount", QVariant());
    }
}

// --- Drawing routines ------------------------------------------------------------------------

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

int XPButton::LayoutContent(bool recalc, int* leftOffset)
{
    // The caption is measured with Qt's font metrics, as the painter will draw it.
    const int W = width();
    const int H = height();
    int lo = 0;
    int uw;
    switch (buttonShape_) {
    case 1:
        lo = textLeft_ - textLeft_ / 3;
        uw = W - lo;
        break;
    case 2: uw = textRight_ + (W - textRight_) / 3; break;
    case 3:
        lo = textLeft_ - textLeft_ / 3;
        uw = textRight_ + (W - textRight_) / 3 - lo;
        break;
    default: uw = textRight_; break;
    }
    if (leftOffset) *leftOffset = lo;
    if (!recalc) return uw;

    const int ps = pictureSize_ == 0 ? 16 : pictureSize_;
    int pl = 0, pr = 0, pt = 0, pb = 0;
    const bool hasPicture = pictureWidth_ + pictureHeight_ > 0;
    if (hasPicture && ps <= 32) {
        switch (pictureAlign_) {
        case 0:
        case 1: pl = ps; break;
        case 2:
        case 3: pr = ps; break;
        case 4: pt = ps; break;
        case 5: pb = ps; break;
        }
    }
    QRect cap(0, 0, 0, 0);
    int tw = 0, th = -3;
    if (!caption_.isEmpty()) {
        QString text = caption_;
        text.replace(QLatin1String("||"), QLatin1String("\r\n"));
        const int mw = uw - 12 - pl - pr;
        const int mh = H - 12 - pt - pb;
        const QRect measured = QFontMetrics(captionFont_)
                                   .boundingRect(QRect(0, 0, qMax(mw, 0), qMax(mh, 0)),
                                                 Qt::TextWordWrap | Qt::TextShowMnemonic, text);
        tw = measured.width();
        th = measured.height();
        if (captionStyle_ != 0) {
            tw += 2;
            th += 2;
        }
    }
    int dx;
    switch (captionAlign_) {
    case 0: dx = lo + pl + 6 + (pl > 0 ? 6 : 0); break;
    case 1: dx = W - pr - 6 - tw - (pr > 0 ? 6 : 0); break;
    default:
        if (pl > 0 && pictureAlign_ == 1)
            dx = (uw - (tw + pl + 6)) / 2 + lo + pl + 6;
        else if (pr > 0 && pictureAlign_ == 3)
            dx = (uw - (tw + pr + 6)) / 2 + lo;
        else
            dx = (uw - (pl + pr) - tw) / 2 + lo + pl;
        break;
    }
    int dy;
    int px = 0, top = 0;
    if (!hasPicture) {
        dy = (H - th) / 2;
    } else if (pictureAlign_ == 4) {
        const int g = (H - (th + pt)) / 2;
        top = g;
        dy = g + pt + 2;
        px = lo + (uw - ps) / 2;
    } else if (pictureAlign_ == 5) {
        const int g = (H - (th + pb)) / 2;
        top = th + g + 3;
        dy = g + 1;
        px = lo + (uw - ps) / 2;
    } else {
        dy = (H - th) / 2;
        top = (H - ps) / 2;
        const bool noCaption = caption_.isEmpty();
        switch (pictureAlign_) {
        case 0: px = lo + 6; break;
        case 1: px = noCaption ? lo + 6 : dx - pl - 6; break;
        case 2: px = W - pr - 6; break;
        default: px = noCaption ? W - pr - 6 : dx + tw + 6; break;
        }
    }
    cap = QRect(QPoint(dx, dy), QPoint(dx + tw, dy + qMax(th, 0)));  // right/bottom exclusive
    QRect pic(QPoint(px, top), QPoint(px + ps, top + ps));
    const auto clampRect = [W, H](QRect r) {
        int l = qMax(r.left(), 6), t = qMax(r.top(), 6);
        int rt = qMin(r.right(), W), b = qMin(r.bottom(), H - 6);
        return QRect(QPoint(l, t), QPoint(rt, b));
    };
    captionRect_ = clampRect(cap);
    pictureRect_ = hasPicture ? clampRect(pic) : QRect();
    return uw;
}

void XPButton::BuildShapeRegion()
{
    // For now the face bounds and the clip region of the round shapes; the window mask and the
    // widening of narrow slanted buttons come with the real painter.
    const int W = width();
    const int H = height();
    textLeft_ = 0;
    textRight_ = W;
    clipRegion_.reset();
    if (buttonShape_ >= 1 && buttonShape_ <= 3) {
        const int s = H + 1;
        if (buttonShape_ == 1 || buttonShape_ == 3) textLeft_ = s;
        if (buttonShape_ == 2 || buttonShape_ == 3) textRight_ = W - s;
    } else if (buttonShape_ >= 4 && buttonShape_ <= 6) {
        const int k = buttonShape_ == 6 ? 0 : 1;
        clipRegion_ =
            QRegion(QRect(QPoint(2 - k, 2 - k), QPoint(W - 2 + k, H - 2 + k)), QRegion::Ellipse);
    }
    if (textRight_ == 0) textRight_ = W;
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

void XPButton::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (inSetter_) return;
    if (event->type() == QEvent::EnabledChange) {
        enabledChangedSteps();  // changed through QWidget::setEnabled or by a parent
    } else if (event->type() == QEvent::FontChange) {
        UpdateResource(Resource::Font);
        LayoutContent();
        Refresh();
    }
}

}  // namespace orvello
