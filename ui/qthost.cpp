#include "ui/qthost.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>

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

}  // namespace

MsgAnswer QtHost::showMessage(const MessageRequest& r)
{
    QMessageBox box(toQt(r.icon), r.title, r.text, QMessageBox::NoButton, owner_);
    if (r.buttons == MsgButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(r.defaultButton == MsgAnswer::Yes ? QMessageBox::Yes
                                                               : QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MsgAnswer::Ok;
}

std::optional<FileDialogResult> QtHost::showFileDialog(const FileDialogRequest& r)
{
    QFileDialog dialog(owner_, r.title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(r.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(r.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !r.overwritePrompt);
    dialog.setNameFilters(r.nameFilters);
    if (r.filterIndex >= 1 && r.filterIndex <= r.nameFilters.size())
        dialog.selectNameFilter(r.nameFilters.at(r.filterIndex - 1));
    if (!r.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(r.defaultSuffix);
    const QFileInfo initial(r.fileName);
    // With no folder given, the dialog opens where the last one was confirmed.
    if (!r.initialFolder.isEmpty())
        dialog.setDirectory(r.initialFolder);
    else if (r.fileName.contains(u'/') && initial.absoluteDir().exists())
        dialog.setDirectory(initial.absolutePath());
    else if (!lastFolder_.isEmpty())
        dialog.setDirectory(lastFolder_);
    if (!r.fileName.isEmpty()) dialog.selectFile(initial.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    FileDialogResult result;
    result.path = dialog.selectedFiles().first();
    lastFolder_ = QFileInfo(result.path).absolutePath();
    result.filterIndex = int(r.nameFilters.indexOf(dialog.selectedNameFilter())) + 1;
    if (result.filterIndex < 1) result.filterIndex = 1;
    result.readOnly = r.readOnly;  // Qt's dialog has no read-only box: the request's state stands
    return result;
}

std::optional<QColor> QtHost::chooseColor(const QColor& initial)
{
    const QColor c = QColorDialog::getColor(initial, owner_);
    if (!c.isValid()) return std::nullopt;
    return c;
}

bool QtHost::printSetup(QPrinter& printer)
{
    QPageSetupDialog dialog(&printer, owner_);
    return dialog.exec() == QDialog::Accepted;
}

bool QtHost::hasPrinter()
{
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

void QtHost::openUrl(const QUrl& url)
{
    QDesktopServices::openUrl(url);
}

}  // namespace orvello
