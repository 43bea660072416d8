#pragma once
// Answers the real dialogs of the window as a user would: each step waits for the next modal
// window to come up, then acts on it (types, picks, accepts, cancels). Steps run from the
// dialog's own event loop, never from inside the code that opened the dialog.
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <functional>

class QWidget;

namespace orvello::test {

class ModalDriver : public QObject {
public:
    using Step = std::function<void(QWidget*)>;

    ModalDriver();
    ~ModalDriver() override;

    // The next dialog must be a T; a dialog of another kind is rejected and recorded as a fault.
    template <typename T>
    ModalDriver& then(std::function<void(T*)> act)
    {
        steps_.append(
            {T::staticMetaObject.className(), [act](QWidget* w) { act(static_cast<T*>(w)); }});
        return *this;
    }

    // Common answers.
    ModalDriver& pressButton(QMessageBox::StandardButton button);  // a message box's button
    ModalDriver& typeFileName(const QString& path);                // a file or folder dialog
    // A dialog left up (a progress window): the next step waits for a dialog above it.
    ModalDriver& leaveUp(const char* className);

    bool finished() const { return steps_.isEmpty(); }
    // Waits until every step has run.
    bool waitFinished(int ms = 20000);

    QStringList seen;    // "Class: title" of every dialog answered, in order
    QStringList faults;  // dialogs of the wrong kind, or none left to answer them
    QStringList texts;   // the text of every message box answered

private:
    struct Pending {
        const char* className;
        Step act;
    };
    bool eventFilter(QObject* watched, QEvent* event) override;
    void take(QWidget* modal);

    QList<Pending> steps_;
    QList<QPointer<QWidget>> answered_;
};

}  // namespace orvello::test
