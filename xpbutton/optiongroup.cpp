// Option groups: the option buttons of one container, listed in the container's properties
// "xb_OptCount" and "xb_Obj" + member number, so that selecting one clears the others.
#include "xpbutton/xpbutton.h"

namespace orvello {

namespace {

XPButton* memberAt(QObject* container, int k)
{
    const QVariant v = container->property(("xb_Obj" + QByteArray::number(k)).constData());
    return v.isValid() ? reinterpret_cast<XPButton*>(quintptr(v.toULongLong())) : nullptr;
}  // namespace

QVariant identityOf(const XPButton* button)
{
    return QVariant::fromValue(qulonglong(reinterpret_cast<quintptr>(button)));
}

QByteArray objKey(int k)
{
    return "xb_Obj" + QByteArray::number(k);
}

}  // namespace

QObject* XPButton::container()
{
    if (!container_) setContainerFromHost();
    return container_;
}

bool XPButton::OptionGroupUpdate(int action)
{
    QObject* c = container();
    if (!c) return false;
    const int n = c->property("xb_OptCount").toInt();
    if ((action == GroupJoin || n > 0) && value_) {
        for (int k = 1; k <= n; ++k) {
            XPButton* member = memberAt(c, k);
            if (member && member != this) member->setValue(false);
        }
    }
    switch (action) {
    case GroupJoin:
        // Listed once only: a second entry would outlive the member's leaving.
        for (int k = 1; k <= n; ++k)
            if (memberAt(c, k) == this) return false;
        c->setProperty("xb_OptCount", n + 1);
        c->setProperty(objKey(n + 1).constData(), identityOf(this));
        return false;
    case GroupLeave: removeFromGroup(); return false;
    case GroupQuery:
        for (int k = 1; k <= n; ++k) {
            XPButton* member = memberAt(c, k);
            if (member && member->value_) return true;
        }
        return false;
    default: return false;
    }
}

void XPButton::removeFromGroup()
{
    QObject* c = container_;
    if (!c) return;
    int n = c->property("xb_OptCount").toInt();
    for (int k = 1; k <= n;) {
        if (memberAt(c, k) != this) {
            ++k;
            continue;
        }
        for (int j = k; j < n; ++j)
            c->setProperty(objKey(j).constData(), c->property(objKey(j + 1).constData()));
        c->setProperty(objKey(n).constData(), QVariant());
        --n;
        if (n > 0)
            c->setProperty("xb_OptCount", n);
        else
            c->setProperty("xb_OptCount", QVariant());
    }
}

}  // namespace orvello
