#pragma once
// What a screen reader sees of an XPButton through Qt's accessibility layer (AT-SPI on Linux): a
// push button, check box or radio button by its mode, named by its accessible name or else its
// caption, described by its tool tip, with its pressed, checked, disabled and focused state, and
// a press action that clicks it as the mouse would.
#include <QAccessibleWidget>

namespace orvello {

class XPButton;

class AccessibleXPButton : public QAccessibleWidget {
public:
    explicit AccessibleXPButton(XPButton* button);

    QAccessible::Role role() const override;
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

private:
    XPButton* button() const;
};

// The caption as it reads: without its access-key marks, its line breaks as spaces.
QString readableCaption(const QString& caption);

// Makes Qt's accessibility layer use AccessibleXPButton for every XPButton; once per process.
void installXPButtonAccessibility();

}  // namespace orvello
