// frmMain's photo commands: opening and selecting photos, turning, saving and printing them.
#include "ui/frmmain.h"

#include "app/messages.h"
#include "batch/stampoutput.h"
#include "components/jpegwriter.h"
#include "host/host.h"
#include "imaging/printlayout.h"
#include "imaging/rotation.h"
#include "imaging/saveoutput.h"
#include "overlay/overlay.h"
#include "photo/exiflisting.h"
#include "photo/folderlist.h"
#include "photo/photoloader.h"
#include "ui/label.h"
#include "ui/mcmndlg.h"
#include "xpbutton/xpbutton.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrinter>
#include <utility>

namespace orvello {

void frmMain::openPhotoCommand()
{
    // The dialog gets copies: a cancelled dialog keeps the current path and name.
    QString fileName = doc_.photoPath;
    QString fileTitle = doc_.photoName;
    const QString patterns = photoNamePatterns();
    QString filter =
        QCoreApplication::translate("ui", "照片文件 (%1)|%1|所有文件 (*)|*").arg(patterns);
    bool readOnly = false;
    qint32 filterIndex = 1;
    qint32 flags = 0;
    if (!mCmnDlg::ShowOpenDialog(fileName, fileTitle, true, false, readOnly, true, filter,
                                 filterIndex, QString(),
                                 QCoreApplication::translate("ui", "选择打开照片文件"),
                                 QStringLiteral("jpg"), host_, flags))
        return;
    openChosenFile(fileName, fileTitle);
}

// What follows a file chosen in the open dialog: the folder list, then the chosen entry.
void frmMain::openChosenFile(const QString& fileName, const QString& fileTitle)
{
    pendingFull_.clear();  // another folder: a full picture still to come is not wanted
    doc_.photoFolder = folderOfPath(fileName);
    prefetch_.clear();  // the folder is read again: nothing prepared before may stand
    auto* list = control<QListWidget>(QStringLiteral("List1"));
    const FolderList found = listPhotoFolder(doc_.photoFolder, fileTitle);
    {
        const QSignalBlocker quiet(list);
        list->clear();
        list->addItems(found.names);
        for (int i = 0; i < list->count(); ++i)
            list->item(i)->setData(Qt::UserRole, found.nativeNames[i]);
    }
    if (found.names.isEmpty()) {
        showNotice(host_,
                   QCoreApplication::translate("ui", "文件夹“%1”中没有照片文件（%2）。")
                       .arg(doc_.photoFolder, photoExtensionsText()),
                   MsgIcon::Information);
        return;
    }
    {
        const QSignalBlocker quiet(list);
        list->setCurrentRow(found.chosenIndex);
    }
    selectEntry(found.chosenIndex);
}

void frmMain::selectEntry(int row)
{
    auto* list = control<QListWidget>(QStringLiteral("List1"));
    if (row < 0 || row >= list->count()) return;
    pendingFull_.clear();  // this selection is loaded in full, unless a first look says otherwise
    doc_.photoName = list->item(row)->text();
    doc_.photoNativeName = list->item(row)->data(Qt::UserRole).toByteArray();
    doc_.photoPath = doc_.photoFolder + doc_.photoName;
    control<Label>(QStringLiteral("Label1"))
        ->setPathText(QCoreApplication::translate("ui", "当前文件："), doc_.photoPath);
    // A click makes the entry current before it selects it: highlight it now, so that a message
    // shown below stands beside the entry it is about.
    {
        const QSignalBlocker quiet(list);
        list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    }

    // Opened by the name's own bytes, which need not be UTF-8.
    LoadedPhoto loaded =
        std::exchange(firstLookReduced_, false) ? loadFirstLook(row) : loadForSelection(row);
    if (loaded.photo.isNull()) {
        showNoPhoto();
        showNotice(host_, cannotOpenMessage(doc_.photoPath, loaded.error), MsgIcon::Exclamation);
        return;
    }
    doc_.photo = std::move(loaded.photo);
    doc_.isPortrait = PhotoDocument::portrait(doc_.photo);
    doc_.sourceTraits = std::move(loaded.traits);
    const std::optional<QString> listingError = showExif(std::move(loaded.exif));
    showPhotoOnCanvas();
    // A first look: saving, printing and every edit wait for the full picture, and so do the
    // messages, which come with it.
    if (!pendingFull_.isEmpty()) return;
    setPhotoButtonsEnabled(true);
    // The messages come once the new photo, its listing so far and its date are on screen.
    if (listingError) showListingError(host_, *listingError);
    if (loaded.incomplete)
        showNotice(host_, incompleteMessage(doc_.photoPath), MsgIcon::Exclamation);
}

// Nothing valid is shown: the canvas goes back to its empty state, so the preview, Save and Print
// never use a photo other than the one named.
void frmMain::showNoPhoto()
{
    setPhotoButtonsEnabled(false);
    pendingFull_.clear();
    doc_.photo = QImage();
    doc_.isPortrait = false;
    doc_.sourceTraits = SourceTraits();
    doc_.captureDateText.clear();
    doc_.stamp = StampSource();
    doc_.releaseExifImage();
    listingText_.clear();
    control<QPlainTextEdit>(QStringLiteral("Text0"))->setPlainText(QString());
    clearCanvas(canvas_, doc_.photo);
    syncCanvasBox();
    ShowPreview();
}

QImage frmMain::canvas() const
{
    return canvas_;
}

void frmMain::rotateCommand(const QString& buttonName, QImage (*turn)(const QImage&))
{
    if (!photoLoaded()) return;
    auto* button = control<XPButton>(buttonName);
    button->setEnabled(false);
    setPhotoButtonsEnabled(false);
    control(QStringLiteral("PicFocus"))->setFocus();
    // Only the photo turns: the overlay is drawn afresh, upright, on the new shape.
    QImage turned = turn(doc_.photo);
    if (!turned.isNull()) {
        doc_.photo = std::move(turned);
        doc_.isPortrait = PhotoDocument::portrait(doc_.photo);
        doc_.sourceTraits.density = doc_.sourceTraits.density.swapped();
    }
    showPhotoOnCanvas();
    button->setEnabled(true);
    setPhotoButtonsEnabled(true);
    button->setFocus();
}

void frmMain::saveCommand()
{
    if (!photoLoaded()) return;
    const QString proposed = stampedFileName(doc_.photoName);
    QString fileName = proposed;
    QString fileTitle;
    QString filter = QStringLiteral("JPEG Files (*.jpg)|*.jpg");
    qint32 filterIndex = 1;
    qint32 flags = 0;
    if (!mCmnDlg::ShowSaveDialog(
            fileName, fileTitle, true, filter, filterIndex, QString(),
            QCoreApplication::translate("ui", "照片文件另存为…(注:保存后的文件不包含相关EXIF信息)"),
            QString(), host_, flags))
        return;
    JpegWriter writer(copyJpegOptions(doc_.sourceTraits, false));
    const QByteArray target = nativeSavePath(
        fileName, proposed,
        doc_.photoNativeName.isEmpty() ? QByteArray() : stampedNativeName(doc_.photoNativeName));
    if (!(target == QFile::encodeName(fileName) ? writer.save(canvas_, fileName)
                                                : writer.saveNative(canvas_, target)))
        showNotice(host_, saveFailedMessage(fileName, writer.error(), canvas_.size()),
                   MsgIcon::None);
}

void frmMain::printCommand()
{
    if (!photoLoaded()) return;
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!host_.hasPrinter()) {
        // No printer at all: the print dialog itself offers a PDF file, named after the photo,
        // in the folder of the last one (at first, the photo's); it asks before replacing one.
        const QString last = printer_->outputFileName();
        const QString folder = QFileInfo(last.isEmpty() ? doc_.photoPath : last).absolutePath();
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setOutputFileName(folder + QStringLiteral("/PM_") +
                                    QFileInfo(doc_.photoName).completeBaseName() +
                                    QStringLiteral(".pdf"));
    }
    printer_->setDocName(doc_.photoName);  // the job's title in the print queue
    printer_->setPageOrientation(doc_.isPortrait ? QPageLayout::Portrait : QPageLayout::Landscape);
    if (settings_.DPaperSize != 0) {
        const QPageSize paper(QPageSize::id(settings_.DPaperSize));
        if (paper.isValid()) printer_->setPageSize(paper);
    }
    // One dialog for printer, paper, source and orientation; the printer chosen stays current
    // for the rest of the run.
    if (!host_.printSetup(*printer_, PrintSetupRequest{})) return;
    settings_.DPaperSize = qint16(printer_->pageLayout().pageSize().windowsId());
    printCanvas(*printer_, canvas_);
}

std::optional<QString> frmMain::showExif(ExifInfo info)
{
    // The box shows each CR LF as one line break.
    listingText_ = info.text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    doc_.captureDateText = info.captureDateText;
    doc_.stamp = std::move(info.stamp);
    showListing();
    doc_.exifImage = std::move(info.image);
    return std::move(info.errorDescription);
}

void frmMain::setPhotoButtonsEnabled(bool on)
{
    control<XPButton>(QStringLiteral("XPButton2"))->setEnabled(on);
    control<XPButton>(QStringLiteral("XPButton23"))->setEnabled(on);
}

}  // namespace orvello
