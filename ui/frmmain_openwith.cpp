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
#include <algorithm>
#include <chrono>

namespace orvello {

namespace {
// How long a first look may stand when no frame is painted, in milliseconds.
constexpr int kFirstLookLongest = 300;
// How often a camera's preview on screen looks whether the reduced picture is ready.
constexpr int kReducedPollMs = 5;
}  // namespace

FirstLook startFirstLook(const QString& photo)
{
    FirstLook look;
    look.nativePath = QFile::encodeName(photo);
    auto embedded = std::make_shared<std::promise<ReducedPicture>>();
    look.embedded = std::make_shared<std::future<ReducedPicture>>(embedded->get_future());
    look.picture = std::make_shared<std::future<ReducedPicture>>(
        std::async(std::launch::async, [path = look.nativePath, embedded] {
            // The camera's preview is ready in a few milliseconds; the file read for it serves
            // the reduced decode too.
            ReducedPicture read = decodeEmbeddedPicture(path, previewPixelSize().width());
            embedded->set_value(read);
            return decodeReducedPicture(std::move(read), previewPixelSize().width());
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

bool frmMain::coversPreview(const ReducedPicture& embedded) const
{
    const QSize size = embedded.decoded.image.size();
    // The preview fits the photo's long side into its width, in device pixels on this screen.
    const qreal needed = previewPixelSize().width() * devicePixelRatioF();
    return !embedded.decoded.image.isNull() && std::max(size.width(), size.height()) >= needed;
}

LoadedPhoto frmMain::loadFirstLook(int row)
{
    const QByteArray path = nativePathOfRow(row);
    // Taken from the decode started before the window was built, when it is of this photo; it
    // is listed here, once the metadata library is set up.
    if (env_.firstLook.nativePath != path) env_.firstLook = {};
    FirstLook& early = env_.firstLook;
    LoadedPhoto look;
    reducedToCome_ = false;
    // The camera's preview only while the photo's own reduced picture is still being decoded.
    using namespace std::chrono_literals;
    if (early.picture && early.picture->wait_for(0s) == std::future_status::ready)
        early.embedded.reset();
    if (early.embedded) {
        ReducedPicture embedded = std::exchange(early.embedded, {})->get();
        if (coversPreview(embedded)) {
            look = finishReducedPicture(std::move(embedded), loadOptions_);
            reducedToCome_ = !look.photo.isNull() && early.picture;
        }
    }
    if (look.photo.isNull())
        look = early.picture
                   ? finishReducedPicture(std::exchange(early.picture, {})->get(), loadOptions_)
                   : loadReducedPhoto(path, previewPixelSize().width(), loadOptions_);
    if (look.photo.isNull()) return loadForSelection(row);  // no quicker way, or a fault
    pendingFull_ = path;
    pendingRow_ = row;
    ++firstLookStep_;
    prefetch_.prepare({path});
    // Should the window not be painted soon (minimised, say), the full picture comes all the same.
    completePendingPhotoLater(kFirstLookLongest);
    return look;
}

void frmMain::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    // Once this frame has reached the screen.
    if (!pendingFull_.isEmpty()) completePendingPhotoLater(0);
}

void frmMain::completePendingPhotoLater(int ms)
{
    QTimer::singleShot(ms, this, [this, step = firstLookStep_] {
        if (step == firstLookStep_) completePendingPhoto();
    });
}

// The camera's preview gives way to the reduced picture, and that to the full picture, through
// an ordinary selection of the entry. The full picture is taken from the background decode
// (waiting for the rest of it), and the selection reports what a selection reports.
void frmMain::completePendingPhoto()
{
    using namespace std::chrono_literals;
    if (pendingFull_.isEmpty()) return;
    const bool same = nativePathOfRow(pendingRow_) == pendingFull_;
    if (same && reducedToCome_) {
        if (env_.firstLook.picture->wait_for(0s) == std::future_status::timeout) {
            completePendingPhotoLater(kReducedPollMs);
            return;
        }
        firstLookReduced_ = true;
        selectEntry(pendingRow_);
        return;
    }
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
