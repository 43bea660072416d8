// Persistence of the control in its host's property store, and its resize and terminate
// handlers.
#include "xpbutton/xpbutton.h"

namespace orvello {

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
    if (bufferDC_) releaseBufferBitmap();
    prepareBuffer();
    LayoutContent();
    Refresh();
}

void XPButton::handleTerminate()
{
    stopHoverTracking();
    teardownBuffer();
}

}  // namespace orvello
