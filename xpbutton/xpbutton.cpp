// The control itself: its host, and the input it handles so far.
#include "xpbutton/xpbutton.h"

#include "xpbutton/accesskey.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QShortcut>

namespace orvello {

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
        pressActive_ = true;
        drawingDelayed_ = false;
        Refresh();
    }
}

void XPButton::mouseReleaseEvent(QMouseEvent* event)
{
    pressActive_ = false;
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
        pressActive_ = true;
        Refresh();
        return;
    }
    QWidget::keyPressEvent(event);
}

void XPButton::keyReleaseEvent(QKeyEvent* event)
{
    if (!event->isAutoRepeat()) pressActive_ = false;
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
