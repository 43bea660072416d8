#include "tests/gui/modaldriver.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QtTest>

namespace orvello::test {

ModalDriver::ModalDriver()
{
    qApp->installEventFilter(this);
}

ModalDriver::~ModalDriver()
{
    qApp->removeEventFilter(this);
}

bool ModalDriver::eventFilter(QObject* watched, QEvent* event)
{
    // Seen as it comes up, so that even a window shown for a moment (a progress window of quick
    // work) is answered in its turn.
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* w = static_cast<QWidget*>(watched);
        if (w->isWindow() && w->windowModality() != Qt::NonModal) take(w);
    }
    return QObject::eventFilter(watched, event);
}

void ModalDriver::take(QWidget* modal)
{
    for (const QPointer<QWidget>& done : answered_)
        if (done == modal) return;
    answered_ << modal;
    seen << QStringLiteral("%1: %2").arg(QString::fromLatin1(modal->metaObject()->className()),
                                         modal->windowTitle());
    if (auto* box = qobject_cast<QMessageBox*>(modal)) texts << box->text();
    if (steps_.isEmpty()) {
        faults << QStringLiteral("unexpected ") + seen.last();
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            QTimer::singleShot(0, dialog, &QDialog::reject);
        return;
    }
    const Pending step = steps_.takeFirst();
    if (!modal->inherits(step.className)) {
        faults << QStringLiteral("expected %1, got %2")
                      .arg(QString::fromLatin1(step.className), seen.last());
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            QTimer::singleShot(0, dialog, &QDialog::reject);
        return;
    }
    // Acted on once the code that opened the dialog is back in the dialog's own loop.
    QPointer<QWidget> target(modal);
    QTimer::singleShot(0, this, [target, act = step.act] {
        if (target) act(target);
    });
}

ModalDriver& ModalDriver::pressButton(QMessageBox::StandardButton button)
{
    return then<QMessageBox>([button](QMessageBox* box) {
        if (QAbstractButton* b = box->button(button))
            QTest::mouseClick(b, Qt::LeftButton);
        else
            box->reject();
    });
}

ModalDriver& ModalDriver::typeFileName(const QString& path)
{
    return then<QFileDialog>([path](QFileDialog* dialog) {
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!edit) {
            dialog->reject();
            return;
        }
        // As a user would: go to the folder, then type the name.
        const QFileInfo target(path);
        const bool folder = dialog->fileMode() == QFileDialog::Directory && target.isDir();
        dialog->setDirectory(folder ? target.absoluteFilePath() : target.absolutePath());
        // A name the dialog selected on opening would stand beside the typed one.
        for (auto* view : dialog->findChildren<QAbstractItemView*>()) view->clearSelection();
        edit->setText(folder ? QString() : target.fileName());
        QTest::keyClick(edit, Qt::Key_Return);
    });
}

ModalDriver& ModalDriver::leaveUp(const char* className)
{
    steps_.append({className, [](QWidget*) {}});
    return *this;
}

bool ModalDriver::waitFinished(int ms)
{
    return QTest::qWaitFor([this] { return finished(); }, ms);
}

}  // namespace orvello::test
