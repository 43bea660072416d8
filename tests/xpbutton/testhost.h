#pragma once
// A host for XPButton tests: design mode or user mode as a test sets it, recording every
// message box and every key marked as changed.
#include "tests/xpbutton/knownpalette.h"
#include "xpbutton/xbhost.h"
#include "xpbutton/xpbutton.h"

#include <QList>
#include <QStringList>
#include <QWidget>
#include <memory>

namespace orvello::test {

class XbTestHost : public XPButtonHost {
public:
    QObject* container = nullptr;
    OleColor ambientBack = 0xFFFFFF;
    QString displayName = QStringLiteral("XPButton1");
    OleColor containerBack = 0xC0FFEE;
    bool user = false;     // design mode unless a test says otherwise
    bool keyHeld = false;  // the answer for a release that comes while the key is still down

    QList<XbMessage> messages;
    QStringList marks;

    QObject* containerWindow(const XPButton&) override { return container; }
    OleColor ambientBackColor(const XPButton&) override { return ambientBack; }
    QString ambientDisplayName(const XPButton&) override { return displayName; }
    OleColor containerBackColor(const XPButton&) override { return containerBack; }
    bool userMode(const XPButton&) override { return user; }
    void showMessage(const XPButton&, const XbMessage& m) override { messages << m; }
    void propertyChanged(XPButton&, const QString& key) override { marks << key; }
    bool keyStillHeld(const XPButton&, const QKeyEvent&) override { return keyHeld; }

    void forget()
    {
        messages.clear();
        marks.clear();
    }
};

// One button in a container, freshly initialised, for the tests of its property model.
struct ButtonFixture {
    std::unique_ptr<QWidget> container;
    XbTestHost host;
    XPButton* b = nullptr;

    // A freshly initialised instance in design mode, its initialisation marks forgotten.
    void fresh(bool userMode = false)
    {
        container = std::make_unique<QWidget>();
        container->resize(300, 200);
        host = XbTestHost();
        host.container = container.get();
        host.user = userMode;
        b = new XPButton(container.get(), &host);
        b->resize(120, 30);
        b->initProperties();
        host.forget();
    }
};

}  // namespace orvello::test
