#include "ui/keyrepeat.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QTimer>

namespace orvello {

KeyRepeatCoalescer::KeyRepeatCoalescer(QListWidget* list, std::function<void(int)> select)
    : QObject(list), list_(list), select_(std::move(select))
{
    list->installEventFilter(this);
}

bool KeyRepeatCoalescer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != list_ || event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const int step = key->key() == Qt::Key_Down ? 1 : key->key() == Qt::Key_Up ? -1 : 0;
    if (!key->isAutoRepeat() || step == 0 || key->modifiers() != Qt::NoModifier) return false;
    const int row = std::clamp(list_->currentRow() + step, 0, list_->count() - 1);
    if (row != list_->currentRow()) {
        const QSignalBlocker quiet(list_);
        list_->setCurrentRow(row);
    }
    if (!pending_) {
        pending_ = true;
        // Runs after the events already waiting, so repeats that came in during a decode are
        // gathered into one selection.
        QTimer::singleShot(0, this, [this] {
            pending_ = false;
            select_(list_->currentRow());
        });
    }
    return true;
}

}  // namespace orvello
