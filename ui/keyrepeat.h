#pragma once
// A held arrow key on the photo list: each repeat moves the highlight at once, and the photo
// where it rests is opened once the repeats that queued up meanwhile have been taken in, so that
// holding the key never queues seconds of decoding.
#include <QObject>
#include <functional>

class QListWidget;

namespace orvello {

class KeyRepeatCoalescer : public QObject {
public:
    KeyRepeatCoalescer(QListWidget* list, std::function<void(int row)> select);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QListWidget* list_;
    std::function<void(int)> select_;
    bool pending_ = false;
};

}  // namespace orvello
