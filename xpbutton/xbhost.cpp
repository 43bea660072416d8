#include "xpbutton/xbhost.h"

#include "xpbutton/xpbutton.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QWidget>

#if __has_include(<xcb/xcb.h>)
#include <xcb/xcb.h>
#define ORVELLO_HAVE_XCB 1
#endif

namespace orvello {

QString containerKeyOf(const QObject* container)
{
    return container ? QString::number(reinterpret_cast<quintptr>(container)) : QString();
}

bool XPButtonHost::keyStillHeld(const XPButton&, const QKeyEvent& release)
{
#ifdef ORVELLO_HAVE_XCB
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    const quint32 keycode = release.nativeScanCode();  // the X key code
    if (!x11 || !x11->connection() || keycode == 0 || keycode > 255) return false;
    xcb_connection_t* c = x11->connection();
    // Asked after the release: the server has handled the press that a repeat pairs with it.
    xcb_query_keymap_reply_t* map = xcb_query_keymap_reply(c, xcb_query_keymap(c), nullptr);
    if (!map) return false;
    const bool down = map->keys[keycode / 8] & (1u << (keycode % 8));
    free(map);
    return down;
#else
    Q_UNUSED(release);
    return false;
#endif
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
