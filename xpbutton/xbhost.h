#pragma once
// The host an XPButton lives in: the control asks it for its container window, the ambient
// values and whether it runs in a designer, and through it shows the designer's messages and
// marks persisted keys as changed.
#include "xpbutton/xbcolor.h"

#include <QString>

class QObject;
class QKeyEvent;

namespace orvello {

class XPButton;

// A design-mode message box: always the information icon and an OK button. An empty title
// stands for the host's own default title.
struct XbMessage {
    QString text;
    QString title;
    friend bool operator==(const XbMessage&, const XbMessage&) = default;
};

class XPButtonHost {
public:
    virtual ~XPButtonHost() = default;
    // The container window: it keeps the option group in its dynamic properties; its
    // key (`ContainerKey`) is the decimal text of its identity, see containerKeyOf.
    virtual QObject* containerWindow(const XPButton& button) = 0;
    // The ambient back colour (an OLE colour, resolved by the control).
    virtual OleColor ambientBackColor(const XPButton& button) = 0;
    // The instance's display name, for example "XPButton1".
    virtual QString ambientDisplayName(const XPButton& button) = 0;
    // The back colour of the container (parent window) object.
    virtual OleColor containerBackColor(const XPButton& button) = 0;
    // The host's user-mode flag; false in a designer (design mode).
    virtual bool userMode(const XPButton& button) = 0;
    // Shows a design-mode message box.
    virtual void showMessage(const XPButton& button, const XbMessage& message) = 0;
    // The persisted value under key is stale.
    virtual void propertyChanged(XPButton& button, const QString& key) = 0;
    // Whether the key of a release that Qt did not mark as a repeat is still held down. An X
    // server repeats a held key as a release and a press with one time stamp, which Qt marks as
    // a repeat only when the press has already arrived; the server's own key state says whether
    // the release was the user's. False where there is no such state to ask.
    virtual bool keyStillHeld(const XPButton& button, const QKeyEvent& release);
};

// The decimal text identifying a container window.
QString containerKeyOf(const QObject* container);

// The host of the running program: always user mode; its answers come from the button's parent
// widget (container, back colour) and the button's object name (display name); marks are not
// kept (the program never saves its buttons).
class UserModeHost : public XPButtonHost {
public:
    static UserModeHost& instance();

    QObject* containerWindow(const XPButton& button) override;
    OleColor ambientBackColor(const XPButton& button) override;
    QString ambientDisplayName(const XPButton& button) override;
    OleColor containerBackColor(const XPButton& button) override;
    bool userMode(const XPButton&) override { return true; }
    void showMessage(const XPButton& button, const XbMessage& message) override;
    void propertyChanged(XPButton&, const QString&) override {}
};

}  // namespace orvello
