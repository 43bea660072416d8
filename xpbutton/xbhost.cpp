#include "xpbutton/xbhost.h"

#include "xpbutton/xpbutton.h"

#include <QMessageBox>
#include <QWidget>

namespace orvello {

QString containerKeyOf(const QObject* container)
{
    return container ? QString::number(reinterpret_cast<quintptr>(container)) : QString();
}

UserModeHost& UserModeHost::instance()
{
    static UserModeHost host;  // stateless
    return host;
}

QObject* UserModeHost::containerWindow(const XPButton& button)
{
    return button.parentWidget();
}

OleColor UserModeHost::ambientBackColor(const XPButton& button)
{
    const QWidget* parent = button.parentWidget();
    if (!parent) return kButtonFace;
    return fromQColor(parent->palette().color(parent->backgroundRole()));
}

QString UserModeHost::ambientDisplayName(const XPButton& button)
{
    return button.objectName();
}

OleColor UserModeHost::containerBackColor(const XPButton& button)
{
    return ambientBackColor(button);
}

void UserModeHost::showMessage(const XPButton& button, const XbMessage& message)
{
    // Not reached in user mode; kept for hosts that derive from this one.
    QMessageBox::information(const_cast<XPButton*>(&button), message.title, message.text);
}

}  // namespace orvello
