// The control itself: its construction, its host and the changes the widget reports.
#include "xpbutton/xpbutton.h"

#include "xpbutton/access/accessiblebutton.h"

#include <QEvent>

namespace orvello {

XPButton::XPButton(QWidget* parent, XPButtonHost* host)
    : QWidget(parent), host_(host ? host : &UserModeHost::instance())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);  // moves without a button held start the hover tracking
    installXPButtonAccessibility();
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

void XPButton::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (inSetter_) return;
    if (event->type() == QEvent::EnabledChange) {
        enabledChangedSteps();  // changed through QWidget::setEnabled or by a parent
    } else if (event->type() == QEvent::PaletteChange) {
        AmbientBackColorChanged();  // the container's colours reach the control this way
    } else if (event->type() == QEvent::FontChange) {
        UpdateResource(Resource::Font);
        LayoutContent();
        Refresh();
    }
}

}  // namespace orvello
