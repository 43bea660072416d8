#include "ui/qthost.h"

#include "ui/helddialog.h"
#include "ui/saveoptionsdialog.h"

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressBar>
#include <QProgressDialog>
#include <QSpacerItem>
#include <algorithm>

namespace orvello {

namespace {

QMessageBox::Icon toQt(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::Exclamation: return QMessageBox::Warning;
    case MsgIcon::Critical: return QMessageBox::Critical;
    case MsgIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

// A box sizes itself to its text and buttons alone, so a short text left the title bar too
// narrow to show the title. A spacer row in its layout keeps it wide enough for the title
// beside the title bar's icon and buttons.
void keepTitleReadable(QMessageBox& box)
{
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    const int width = messageBoxMinimumWidth(box.windowTitle(), box.fontMetrics());
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

// Watches a print dialog for its properties window: when it first comes up, its paper list is
// turned to the paper asked for.
class PaperKeeper : public QObject {
public:
    PaperKeeper(QWidget* printDialog, const QPageSize& paper) : dialog_(printDialog), paper_(paper)
    {
        qApp->installEventFilter(this);
    }
    ~PaperKeeper() override { qApp->removeEventFilter(this); }
    bool propertiesOpened() const { return opened_; }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Show || opened_ || !watched->isWidgetType()) return false;
        auto* w = static_cast<QWidget*>(watched);
        if (!w->isWindow() || w == dialog_ || !dialog_) return false;
        QWidget* up = w->parentWidget();
        while (up && up != dialog_) up = up->parentWidget();
        if (!up) return false;
        auto* sizes = w->findChild<QComboBox*>(QLatin1String(kPrintPaperListName));
        if (!sizes) return false;
        opened_ = true;
        if (const int at = entryOf(*sizes); at >= 0) sizes->setCurrentIndex(at);
        return false;
    }

private:
    // The list names the papers as the printer's driver does: the same name, else the same size.
    int entryOf(const QComboBox& sizes) const
    {
        for (int i = 0; i < sizes.count(); ++i) {
            const QString text = sizes.itemText(i);
            if (text == paper_.name() || text.split(QLatin1Char(' ')).contains(paper_.key()))
                return i;
        }
        for (int i = 0; i < sizes.count(); ++i) {
            const QPageSize size = sizes.itemData(i).value<QPageSize>();
            if (size.isValid() && size.isEquivalentTo(paper_)) return i;
        }
        return -1;
    }

    QPointer<QWidget> dialog_;
    QPageSize paper_;
    bool opened_ = false;
};

}  // namespace

int messageBoxMinimumWidth(const QString& title, const QFontMetrics& metrics)
{
    constexpr int kTitleBarAllowance = 160;  // window icon, minimise and close buttons, margins
    return std::max(kMinimumMessageWidth, metrics.horizontalAdvance(title) + kTitleBarAllowance);
}

MsgAnswer QtHost::showMessage(const MessageRequest& r)
{
    HeldDialog<QMessageBox> box(toQt(r.icon), r.title, r.text, QMessageBox::NoButton, owner_);
    keepTitleReadable(*box);
    if (r.buttons == MsgButtons::YesNoCancel) {
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box->setDefaultButton(r.defaultButton == MsgAnswer::Yes  ? QMessageBox::Yes
                              : r.defaultButton == MsgAnswer::No ? QMessageBox::No
                                                                 : QMessageBox::Cancel);
        box->setEscapeButton(QMessageBox::Cancel);
        const int answer = box.exec();
        return answer == QMessageBox::Yes  ? MsgAnswer::Yes
               : answer == QMessageBox::No ? MsgAnswer::No
                                           : MsgAnswer::Cancel;
    }
    if (r.buttons == MsgButtons::YesNo) {
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(r.defaultButton == MsgAnswer::Yes ? QMessageBox::Yes
                                                                : QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
    }
    box->setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MsgAnswer::Ok;
}

std::optional<FileDialogResult> QtHost::showFileDialog(const FileDialogRequest& r)
{
    HeldDialog<QFileDialog> dialog(owner_, r.title);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(r.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(r.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog->setOption(QFileDialog::DontConfirmOverwrite, !r.overwritePrompt);
    dialog->setNameFilters(r.nameFilters);
    if (r.filterIndex >= 1 && r.filterIndex <= r.nameFilters.size())
        dialog->selectNameFilter(r.nameFilters.at(r.filterIndex - 1));
    if (!r.defaultSuffix.isEmpty()) dialog->setDefaultSuffix(r.defaultSuffix);
    const QFileInfo initial(r.fileName);
    // With no folder given, the dialog opens where the last one was confirmed.
    if (!r.initialFolder.isEmpty())
        dialog->setDirectory(r.initialFolder);
    else if (r.fileName.contains(u'/') && initial.absoluteDir().exists())
        dialog->setDirectory(initial.absolutePath());
    else if (!lastFolder_.isEmpty())
        dialog->setDirectory(lastFolder_);
    if (!r.fileName.isEmpty()) dialog->selectFile(initial.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    FileDialogResult result;
    result.path = dialog->selectedFiles().first();
    lastFolder_ = QFileInfo(result.path).absolutePath();
    result.filterIndex = int(r.nameFilters.indexOf(dialog->selectedNameFilter())) + 1;
    if (result.filterIndex < 1) result.filterIndex = 1;
    result.readOnly = r.readOnly;  // Qt's dialog has no read-only box: the request's state stands
    return result;
}

std::optional<QColor> QtHost::chooseColor(const QColor& initial)
{
    // Every call starts with all custom colours black: none is kept from an earlier call.
    for (int i = 0; i < QColorDialog::customCount(); ++i)
        QColorDialog::setCustomColor(i, QColor(Qt::black));
    HeldDialog<QColorDialog> dialog(initial, owner_);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QColor c = dialog->selectedColor();
    if (!c.isValid()) return std::nullopt;
    return c;
}

bool QtHost::printSetup(QPrinter& printer, const PrintSetupRequest& request)
{
    if (!request.choosePrinter) {
        HeldDialog<QPageSetupDialog> dialog(&printer, owner_);
        return dialog.exec() == QDialog::Accepted;
    }
    // The printer list, with paper, source and orientation under its properties; no page
    // range or copies, since one page of one picture is printed.
    HeldDialog<QPrintDialog> dialog(&printer, owner_);
    dialog->setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    // On a printer with a driver file, Qt's dialog starts its paper from the driver's default
    // and writes that back on OK, so the paper set on the printer would be lost. The paper is
    // offered in the properties when they open, and kept when they never do.
    const QPageLayout asked = printer.pageLayout();
    PaperKeeper keeper(dialog.get(), asked.pageSize());
    if (dialog.exec() != QDialog::Accepted) return false;
    if (!keeper.propertiesOpened()) {
        printer.setPageSize(asked.pageSize());
        printer.setPageOrientation(asked.orientation());
    }
    return true;
}

bool QtHost::hasPrinter()
{
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

void QtHost::openUrl(const QUrl& url)
{
    QDesktopServices::openUrl(url);
}

std::optional<QString> QtHost::chooseFolder(const QString& title, const QString& initial)
{
    HeldDialog<QFileDialog> dialog(owner_, title, initial.isEmpty() ? lastFolder_ : initial);
    dialog->setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    dialog->setFileMode(QFileDialog::Directory);
    if (dialog.exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    const QString folder = dialog->selectedFiles().first();
    if (folder.isEmpty()) return std::nullopt;
    lastFolder_ = folder;
    return folder;
}

std::optional<SaveAllOptions> QtHost::chooseSaveAllOptions(const SaveAllOptions& initial)
{
    return runSaveAllOptionsDialog(owner_, initial);
}

std::optional<QString> QtHost::inputText(const TextInputRequest& request)
{
    HeldDialog<QInputDialog> dialog(owner_);
    dialog->setWindowTitle(request.title);
    dialog->setLabelText(request.label);
    dialog->setInputMode(QInputDialog::TextInput);
    dialog->setTextValue(request.text);
    dialog->setOkButtonText(QCoreApplication::translate("ui", "确定"));
    dialog->setCancelButtonText(QCoreApplication::translate("ui", "取消"));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog->textValue();
}

namespace {

// The progress window. Its bar is set directly: QProgressDialog::setValue runs the event loop
// when the dialog is modal, and whatever the work queued behind the report (its end, which drops
// this view) would then run inside setValue, on a dialog being torn down.
class DialogProgress : public ProgressView {
public:
    DialogProgress(const ProgressRequest& r, QWidget* owner)
        : dialog_(r.label, QCoreApplication::translate("ui", "取消"), 0, std::max(1, r.total),
                  owner),
          bar_(new QProgressBar)
    {
        bar_->setRange(0, std::max(1, r.total));
        dialog_->setBar(bar_);  // the dialog owns it
        dialog_->setWindowTitle(r.title);
        // Over the window, which keeps painting while the work goes on behind the dialog.
        dialog_->setWindowModality(Qt::WindowModal);
        dialog_->setMinimumDuration(0);
        dialog_->setAutoClose(false);
        dialog_->setAutoReset(false);
        QObject::connect(dialog_.get(), &QProgressDialog::canceled, [cancel = r.onCancel] {
            if (cancel) cancel();
        });
        bar_->setValue(0);
        dialog_->show();
    }
    ~DialogProgress() override
    {
        // The view is gone: a late Cancel must not reach the work any more.
        if (dialog_)
            QObject::disconnect(dialog_.get(), &QProgressDialog::canceled, nullptr, nullptr);
    }
    void setProgress(int done, const QString& label) override
    {
        if (!dialog_ || !bar_) return;
        dialog_->setLabelText(label);
        bar_->setValue(std::clamp(done, 0, bar_->maximum()));
    }

private:
    HeldDialog<QProgressDialog> dialog_;
    QPointer<QProgressBar> bar_;
};

}  // namespace

std::unique_ptr<ProgressView> QtHost::showProgress(const ProgressRequest& request)
{
    return std::make_unique<DialogProgress>(request, owner_);
}

}  // namespace orvello
