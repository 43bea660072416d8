#include "xpbutton/access/accessiblebutton.h"

#include "xpbutton/xpbutton.h"

#include <QTimer>

namespace orvello {

namespace {

QAccessibleInterface* xpButtonFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("orvello::XPButton") && object && object->isWidgetType())
        return new AccessibleXPButton(static_cast<XPButton*>(object));
    return nullptr;
}

}  // namespace

QString readableCaption(const QString& caption)
{
    QString out;
    const QString text = QString(caption).replace(QLatin1String("||"), QLatin1String(" "));
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&') {
            if (i + 1 < text.size()) out.append(text[++i]);  // "&&" reads as one "&"
            continue;
        }
        out.append(text[i]);
    }
    return out.simplified();
}

void installXPButtonAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(xpButtonFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

AccessibleXPButton::AccessibleXPButton(XPButton* button)
    : QAccessibleWidget(button, QAccessible::Button)
{
}

XPButton* AccessibleXPButton::button() const
{
    return static_cast<XPButton*>(object());
}

QAccessible::Role AccessibleXPButton::role() const
{
    switch (button()->mode()) {
    case 1: return QAccessible::CheckBox;
    case 2: return QAccessible::RadioButton;
    default: return QAccessible::Button;
    }
}

QString AccessibleXPButton::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name: {
        const QString name = button()->accessibleName();
        return name.isEmpty() ? readableCaption(button()->caption()) : name;
    }
    case QAccessible::Description: {
        const QString description = button()->accessibleDescription();
        return description.isEmpty() ? button()->toolTip() : description;
    }
    case QAccessible::Accelerator: {
        const QString keys = button()->accessKeys();
        return keys.isEmpty() ? QString() : QStringLiteral("Alt+") + keys.left(1).toUpper();
    }
    default: return QAccessibleWidget::text(t);
    }
}

QAccessible::State AccessibleXPButton::state() const
{
    QAccessible::State s = QAccessibleWidget::state();  // disabled, focusable, focused …
    const XPButton* b = button();
    s.pressed = (b->stateFlags() & 2) != 0;
    if (b->mode() > 0) {
        s.checkable = true;
        s.checked = b->value();
    }
    s.defaultButton = b->defaultButtonLook();
    return s;
}

QStringList AccessibleXPButton::actionNames() const
{
    if (!button()->isEnabled()) return {};
    return {button()->mode() == 0 ? pressAction() : toggleAction()};
}

void AccessibleXPButton::doAction(const QString& actionName)
{
    XPButton* b = button();
    if (!b->isEnabled() || !actionNames().contains(actionName)) return;
    // As the access key does: the click (a check or option button changes its value first),
    // once the caller has its answer, for a click may open a modal dialog.
    QTimer::singleShot(0, b, [b] {
        if (b->isEnabled()) b->AccessKeyPress(0);
    });
}

QStringList AccessibleXPButton::keyBindingsForAction(const QString& actionName) const
{
    Q_UNUSED(actionName);
    return {};
}

}  // namespace orvello
