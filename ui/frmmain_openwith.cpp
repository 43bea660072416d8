// frmMain's start with a photo named on the command line ("Open with" in a file manager), and the
// same for a photo handed over by a later start while the window is up.
#include "ui/frmmain.h"

#include "app/messages.h"
#include "overlay/overlay.h"
#include "photo/photoloader.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

namespace orvello {

namespace {
// How long a first look may stand when no frame is painted, in milliseconds.
constexpr int kFirstLookLongest = 300;
}  // namespace

FirstLook startFirstLook(const QString& photo)
{
    FirstLook look;
    look.nativePath = QFile::encodeName(photo);
    look.picture = std::make_shared<std::future<ReducedPicture>>(
        std::async(std::launch::async, [path = look.nativePath] {
            return decodeReducedPicture(path, previewPixelSize().width());
        }));
    return look;
}

// The named photo takes the place of the open dialog's answer; when it cannot be shown, the
// reason is reported as for any photo and the open dialog follows, as at a start without it.
void frmMain::openInitialPhoto()
{
    // What holds up the first frame most is decoding the whole photo: a reduced picture, large
    // enough for the preview, shows first.
    firstLookReduced_ = true;
    openNamedPhoto(env_.initialPhoto);
    firstLookReduced_ = false;
}

LoadedPhoto frmMain::loadFirstLook(int row)
{
    const QByteArray path = nativePathOfRow(row);
    // Taken from the decode started before the window was built, when it is of this photo; it
    // is listed here, once the metadata library is set up.
    FirstLook early = std::exchange(env_.firstLook, {});
    LoadedPhoto reduced = early.picture && early.nativePath == path
                              ? finishReducedPicture(early.picture->get(), loadOptions_)
                              : loadReducedPhoto(path, previewPixelSize().width(), loadOptions_);
    if (reduced.photo.isNull()) return loadForSelection(row);  // no quicker way, or a fault
    pendingFull_ = path;
    pendingRow_ = row;
    prefetch_.prepare({path});
    // Should the window not be painted soon (minimised, say), the full picture comes all the same.
    QTimer::singleShot(kFirstLookLongest, this, &frmMain::completePendingPhoto);
    return reduced;
}

void frmMain::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    // Once this frame has reached the screen.
    if (!pendingFull_.isEmpty()) QTimer::singleShot(0, this, &frmMain::completePendingPhoto);
}

// The full picture takes the reduced one's place through an ordinary selection of the entry,
// which takes it from the background decode (waiting for the rest of it) and reports what a
// selection reports.
void frmMain::completePendingPhoto()
{
    if (pendingFull_.isEmpty()) return;
    const bool same = nativePathOfRow(pendingRow_) == pendingFull_;
    pendingFull_.clear();
    if (same) selectEntry(pendingRow_);
}

void frmMain::openNamedPhoto(const QString& path)
{
    const QFileInfo given(path);
    if (!given.isFile()) {
        // Only an ordinary file can be the dialog's answer; the loader words the reason.
        showNotice(host_, cannotOpenMessage(path, loadPhoto(path).error), MsgIcon::Exclamation);
    } else {
        openChosenFile(given.absoluteFilePath(), given.fileName());
        if (photoLoaded() || !pendingFull_.isEmpty()) return;
    }
    openPhotoCommand();
}

void frmMain::openHandedPhoto(const QString& path)
{
    handedPhotos_ << path;
    openHandedPhotosWhenFree();
}

// A dialog of the window may be up (the open dialog at start, a message): the photo waits until
// the user is done with it rather than changing the window under it.
void frmMain::openHandedPhotosWhenFree()
{
    if (handedPhotos_.isEmpty()) return;
    if (!shown_ || QApplication::activeModalWidget()) {
        QTimer::singleShot(200, this, &frmMain::openHandedPhotosWhenFree);
        return;
    }
    const QString path = handedPhotos_.takeLast();  // the latest wins
    handedPhotos_.clear();
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
    openNamedPhoto(path);
}

}  // namespace orvello
