#pragma once
#include <QDialog>
#include <QPointer>
#include <utility>

namespace orvello {

// A dialog shown over the window. It lives on the heap and is deleted from the event loop, never
// on the spot: the holder may be dropped by code that runs inside the dialog's own event
// processing, and the owner window may go away while the dialog is up (exec() then returns and
// the pointer is null).
template <typename D>
class HeldDialog {
public:
    template <typename... Args>
    explicit HeldDialog(Args&&... args) : dialog_(new D(std::forward<Args>(args)...))
    {
    }
    ~HeldDialog()
    {
        if (!dialog_) return;
        dialog_->hide();
        dialog_->deleteLater();
    }
    HeldDialog(const HeldDialog&) = delete;
    HeldDialog& operator=(const HeldDialog&) = delete;

    D* get() const { return dialog_.data(); }
    D* operator->() const { return dialog_.data(); }
    D& operator*() const { return *dialog_; }
    explicit operator bool() const { return !dialog_.isNull(); }
    // The dialog's answer; Rejected when it was destroyed while it was up.
    int exec()
    {
        const int result = dialog_->exec();
        return dialog_ ? result : int(QDialog::Rejected);
    }

private:
    QPointer<D> dialog_;
};

}  // namespace orvello
