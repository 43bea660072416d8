// frmMain's start with a photo named on the command line ("Open with" in a file manager).
#include "ui/frmmain.h"

#include "app/messages.h"
#include "photo/photoloader.h"

#include <QFileInfo>

namespace orvello {

// The named photo takes the place of the open dialog's answer; when it cannot be shown, the
// reason is reported as for any photo and the open dialog follows, as at a start without it.
void frmMain::openInitialPhoto()
{
    const QFileInfo given(env_.initialPhoto);
    if (!given.isFile()) {
        // Only an ordinary file can be the dialog's answer; the loader words the reason.
        showNotice(host_, cannotOpenMessage(env_.initialPhoto, loadPhoto(env_.initialPhoto).error),
                   MsgIcon::Exclamation);
    } else {
        openChosenFile(given.absoluteFilePath(), given.fileName());
        if (photoLoaded()) return;
    }
    openPhotoCommand();
}

}  // namespace orvello
