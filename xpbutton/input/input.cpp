// Input and hover tracking: mouse, keyboard, access keys, focus and container notifications turn
// into the hot and pressed bits, value changes and the events raised to the container.
#include "xpbutton/input/dragdata.h"
#include "xpbutton/input/modxbtimer.h"
#include "xpbutton/xpbutton.h"

#include <QApplication>
#include <QCursor>
#include <QDrag>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QShortcut>

namespace orvello {

namespace {

// Mouse button numbers: 1 left, 2 right, 4 middle.
int buttonNumber(Qt::MouseButton b)
{
    switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

int buttonsHeld(Qt::MouseButtons b)
{
    return (b & Qt::LeftButton ? 1 : 0) | (b & Qt::RightButton ? 2 : 0) |
           (b & Qt::MiddleButton ? 4 : 0);
}

// Shift state: 1 shift, 2 control, 4 alt.
int shiftState(Qt::KeyboardModifiers m)
{
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
           (m & Qt::AltModifier ? 4 : 0);
}

// The virtual-key code of a key, as the container's key events carry it.
int virtualKey(const QKeyEvent* e)
{
    const int k = e->key();
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return k;  // same codes
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return k;
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return 112 + (k - Qt::Key_F1);
    switch (k) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: return e->nativeVirtualKey() ? int(e->nativeVirtualKey()) : (k & 0xFFFF);
    }
}

struct Arrow {
    int vk;
    Qt::Key key;
    quint32 scanCode;
};
constexpr Arrow kArrows[] = {{39, Qt::Key_Right, 0x4D},
                             {40, Qt::Key_Down, 0x50},
                             {37, Qt::Key_Left, 0x4B},
                             {38, Qt::Key_Up, 0x48}};

const Arrow* arrowOf(int vk)
{
    for (const Arrow& a : kArrows)
        if (a.vk == vk) return &a;
    return nullptr;
}

constexpr int kSpace = 32, kShift = 16, kEnter = 13, kEscape = 27;

}  // namespace

// --- Mouse -------------------------------------------------------------------------------------

void XPButton::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF p = event->position();
    const int buttons = buttonsHeld(event->buttons()), shift = shiftState(event->modifiers());
    if (isHot_ || p.x() < 0 || p.y() < 0 || p.x() > width() || p.y() > height()) {
        emit MouseMove(buttons, shift, float(p.x()), float(p.y()));
        return;
    }
    stateFlags_ |= 4;
    bool onButton = true;
    emit MouseOnButton(onButton);
    setProperty("xb_ClassID", qulonglong(reinterpret_cast<quintptr>(this)));
    setProperty("xb_TimerID", modXbTimer::kHoverTimerId);
    modXbTimer::SetTimer(this, modXbTimer::kHoverTimerId, modXbTimer::kHoverIntervalMs);
    isHot_ = true;
    drawingDelayed_ = false;
    if (event->buttons() & Qt::LeftButton) pressActive_ = true;
    Refresh();
    emit MouseMove(buttons, shift, float(p.x()), float(p.y()));
}

void XPButton::HoverCheck(int timerId)
{
    // A child or a window lying over the button counts as having left it.
    if (QApplication::widgetAt(QCursor::pos()) == this) return;
    modXbTimer::KillTimer(this, timerId);
    stateFlags_ &= quint8(~4);
    isHot_ = false;
    drawingDelayed_ = false;
    bool onButton = false;
    emit MouseOnButton(onButton);
    pressActive_ = false;
    Refresh();
}

void XPButton::mouseDownHandling(int button, int shift, float x, float y)
{
    lastMouseButton_ = button;
    if (button == 1) {
        stateFlags_ |= 2;
        pressActive_ = true;
        drawingDelayed_ = false;
        Refresh();  // the press itself grabs the mouse until its release
    }
    emit MouseDown(button, shift, x, y);
}

void XPButton::mousePressEvent(QMouseEvent* event)
{
    mouseDownHandling(buttonNumber(event->button()), shiftState(event->modifiers()),
                      float(event->position().x()), float(event->position().y()));
}

void XPButton::mouseReleaseEvent(QMouseEvent* event)
{
    const int button = buttonNumber(event->button());
    // The system's click needs a left press on the control before the release, and not the
    // press of a double click.
    const bool clickable = button == 1 && (stateFlags_ & 2) && lastMouseButton_ != -1;
    pressActive_ = false;
    if (button == 1) {
        stateFlags_ &= quint8(~2);
        drawingDelayed_ = false;
        if (mode_ == 0) Refresh();  // check and option buttons redraw through their value
    }
    emit MouseUp(button, shiftState(event->modifiers()), float(event->position().x()),
                 float(event->position().y()));
    lastMouseButton_ = button;
    if (clickable && rect().contains(event->position().toPoint())) clickHandling();
}

void XPButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    const float x = float(event->position().x()), y = float(event->position().y());
    int last = lastMouseButton_;
    emit DblClick(last);
    if (lastMouseButton_ == 1) {
        mouseDownHandling(1, 0, x, y);
        lastMouseButton_ = -1;
    } else {
        emit MouseDown(1, 0, x, y);
    }
}

void XPButton::clickHandling()
{
    if (lastMouseButton_ != 1) return;
    if (mode_ > 0) {
        if (mode_ == 2 && value_) return;  // a selected option raises nothing
        setValue(!value_);
    }
    emit Click();
}

// --- Keyboard ----------------------------------------------------------------------------------

void XPButton::keyPressEvent(QKeyEvent* event)
{
    int key = virtualKey(event);
    const int shift = shiftState(event->modifiers());
    if (const Arrow* arrow = arrowOf(key)) {
        // The container gets the arrow as its own key press.
        key = 0;
        if (QObject* c = container())
            QCoreApplication::postEvent(
                c, new QKeyEvent(QEvent::KeyPress, arrow->key, Qt::NoModifier, arrow->scanCode,
                                 quint32(arrow->vk), 0));
    } else if (key == kSpace && !(stateFlags_ & 2) &&
               (event->timestamp() == 0 || event->timestamp() != spaceReleasedAt_)) {
        // (A press with the time stamp of the release that ended the last press is the second
        // half of a server's repeat pair whose key was let go meanwhile: it starts nothing.)
        stateFlags_ |= 4;
        pressActive_ = true;
        stateFlags_ |= 2;
        Refresh();
        if (!isHot_) stateFlags_ &= quint8(~4);  // hot only for the look of the press
    }
    if (key != 0) emit KeyDown(key, shift);
    if (arrowOf(virtualKey(event)) == nullptr && !event->text().isEmpty()) {
        int ascii = event->text().at(0).unicode();
        emit KeyPress(ascii);
    }
    event->accept();
}

void XPButton::keyReleaseEvent(QKeyEvent* event)
{
    if (event->isAutoRepeat()) return;  // a held key is released once
    int key = virtualKey(event);
    const int shift = shiftState(event->modifiers());
    // A held space bar clicks on its release only, also where the repeats come unmarked.
    if (key == kSpace && (stateFlags_ & 2) && host_->keyStillHeld(*this, *event)) return;
    if (key == kSpace) spaceReleasedAt_ = event->timestamp();
    pressActive_ = false;
    if (key == kSpace && (stateFlags_ & 2)) {
        stateFlags_ &= quint8(~2);
        lastMouseButton_ = 1;
        if (mode_ == 0) {
            Refresh();
        } else {
            emit KeyUp(key, shift);
            key = 0;
        }
        clickHandling();
    } else if (arrowOf(key)) {
        key = 0;
        if (mode_ == 2 && !value_) {
            lastMouseButton_ = 1;
            clickHandling();  // an arrow onto an option selects it
        }
    } else if (key == kShift) {
        key = 0;
    }
    if (key != 0) emit KeyUp(key, shift);
    event->accept();
}

// --- Access keys, default and cancel -----------------------------------------------------------

void XPButton::setAccessKeys(const QString& keys)
{
    accessKeys_ = keys;
    delete accessShortcut_;
    accessShortcut_ = nullptr;
    if (keys.isEmpty()) return;
    const char16_t ch = keys.at(0).toUpper().unicode();
    accessShortcut_ =
        new QShortcut(QKeySequence(QKeyCombination(Qt::AltModifier, Qt::Key(ch))), this);
    const auto pressed = [this, ch] {
        if (isEnabled() && isVisible()) AccessKeyPress(ch);
    };
    connect(accessShortcut_, &QShortcut::activated, this, pressed);
    connect(accessShortcut_, &QShortcut::activatedAmbiguously, this, pressed);
}

void XPButton::AccessKeyPress(int keyAscii)
{
    const bool enterOrEscape = keyAscii == kEnter || keyAscii == kEscape;
    if (enterOrEscape && mode_ > 0) return;
    if (!enterOrEscape && !defaultButtonLook()) Refresh();
    lastMouseButton_ = 1;
    clickHandling();
}

// --- Focus and the container -------------------------------------------------------------------

void XPButton::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    if (mode_ == 2 && !value_ && !OptionGroupUpdate(GroupQuery)) {
        lastMouseButton_ = 1;
        clickHandling();  // the first option reached in an empty group is selected
    }
}

void XPButton::setDisplayAsDefault(bool displayAsDefault)
{
    if (showFocusRect_ && displayAsDefault)
        stateFlags_ |= 1;
    else
        stateFlags_ &= quint8(~1);
    Refresh();
}

void XPButton::AmbientBackColorChanged()
{
    ambientBackColor_ = ToRGB(host_->ambientBackColor(*this));
    if (buttonShape_ > 3 || buttonStyle_ == 5) Refresh();  // the looks that show it
}

void XPButton::stopHoverTracking()
{
    if (isHot_) modXbTimer::KillTimer(this, modXbTimer::kHoverTimerId);
    isHot_ = false;
}

// --- Drag and drop -----------------------------------------------------------------------------

void XPButton::dragEnterEvent(QDragEnterEvent* event)
{
    dragOver(event, 0);
}

void XPButton::dragMoveEvent(QDragMoveEvent* event)
{
    dragOver(event, 2);
}

void XPButton::dragOver(QDragMoveEvent* event, int state)
{
    int effect = int(event->proposedAction());
    emit OLEDragOver(event->mimeData(), effect, buttonsHeld(event->buttons()),
                     shiftState(event->modifiers()), float(event->position().x()),
                     float(event->position().y()), state);
    if (effect == 0) {
        event->ignore();
    } else {
        event->setDropAction(Qt::DropAction(effect));
        event->accept();
    }
}

void XPButton::dropEvent(QDropEvent* event)
{
    int effect = int(event->proposedAction());
    emit OLEDragDrop(event->mimeData(), effect, buttonsHeld(event->buttons()),
                     shiftState(event->modifiers()), float(event->position().x()),
                     float(event->position().y()));
    event->setDropAction(Qt::DropAction(effect));
    event->accept();
}

int XPButton::OLEDrag()
{
    auto* data = new XbDragData(this);
    int allowed = int(Qt::CopyAction | Qt::MoveAction);
    emit OLEStartDrag(data, allowed);
    QDrag drag(this);
    drag.setMimeData(data);
    connect(&drag, &QDrag::actionChanged, this, [this](Qt::DropAction action) {
        int effect = int(action);
        bool defaultCursors = true;
        emit OLEGiveFeedback(effect, defaultCursors);
    });
    int effect = int(drag.exec(Qt::DropActions(allowed)));
    emit OLECompleteDrag(effect);
    return effect;
}

}  // namespace orvello
