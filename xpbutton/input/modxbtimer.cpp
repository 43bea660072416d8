#include "xpbutton/input/modxbtimer.h"

#include "xpbutton/xpbutton.h"

#include <QTimer>

namespace orvello::modXbTimer {

namespace {

QString timerName(int id)
{
    return QStringLiteral("xb_Timer%1").arg(id);
}

QTimer* findTimer(const QWidget* window, int id)
{
    return window ? window->findChild<QTimer*>(timerName(id), Qt::FindDirectChildrenOnly) : nullptr;
}

}  // namespace

void SetTimer(QWidget* window, int id, int intervalMs)
{
    if (!window) return;
    QTimer* timer = findTimer(window, id);
    if (!timer) {
        timer = new QTimer(window);  // owned by the window: it cannot outlive its control
        timer->setObjectName(timerName(id));
        QObject::connect(timer, &QTimer::timeout, window,
                         [window, id] { HoverTimerProc(window, id); });
    }
    timer->start(intervalMs);
}

void KillTimer(QWidget* window, int id)
{
    if (QTimer* timer = findTimer(window, id)) timer->stop();
}

bool TimerRunning(const QWidget* window, int id)
{
    const QTimer* timer = findTimer(window, id);
    return timer && timer->isActive();
}

void HoverTimerProc(QWidget* window, int id)
{
    const quintptr identity = quintptr(window->property("xb_ClassID").toULongLong());
    const int named = window->property("xb_TimerID").toInt();
    auto* control = qobject_cast<XPButton*>(window);
    if (!control || identity != reinterpret_cast<quintptr>(control) || named != id) {
        KillTimer(window, id);
        return;
    }
    control->HoverCheck(id);
}

}  // namespace orvello::modXbTimer
