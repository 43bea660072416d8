// frmMain's start with a photo named on the command line ("Open with" in a file manager), and the
// same for a photo handed over by a later start while the window is up.
#include "ui/frmmain.h"

#include "app/messages.h"
#include "photo/photoloader.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>

namespace orvello {

// The named photo takes the place of the open dialog's answer; when it cannot be shown, the
// reason is reported as for any photo and the open dialog follows, as at a start without it.
void frmMain::openInitialPhoto()
{
    openNamedPhoto(env_.initialPhoto);
}

void frmMain::openNamedPhoto(const QString& path)
{
    const QFileInfo given(path);
    if (!given.isFile()) {
        // Only an ordinary file can be the dialog's answer; the loader words the reason.
        showNotice(host_, cannotOpenMessage(path, loadPhoto(path).error), MsgIcon::Exclamation);
    } else {
        openChosenFile(given.absoluteFilePath(), given.fileName());
        if (photoLoaded()) return;
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
