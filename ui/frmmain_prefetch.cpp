// frmMain's use of the prefetch: the photo of a selected entry comes from the neighbours prepared
// in the background when it is there, and a held arrow key is coalesced.
#include "ui/frmmain.h"
#include "ui/keyrepeat.h"

#include <QFile>
#include <QListWidget>
#include <QTimer>

namespace orvello {

void frmMain::wirePrefetch()
{
    if (auto* list = control<QListWidget>(QStringLiteral("List1")))
        new KeyRepeatCoalescer(list, [this, list](int row) {
            // The key may have come to rest on the photo already shown.
            if (row < 0 || (photoLoaded() && list->item(row)->text() == doc_.photoName)) return;
            selectEntry(row);
        });
}

QByteArray frmMain::nativePathOfRow(int row) const
{
    const auto* list = control<QListWidget>(QStringLiteral("List1"));
    if (!list || row < 0 || row >= list->count()) return {};
    const QByteArray native = list->item(row)->data(Qt::UserRole).toByteArray();
    return QFile::encodeName(doc_.photoFolder) +
           (native.isEmpty() ? QFile::encodeName(list->item(row)->text()) : native);
}

LoadedPhoto frmMain::loadForSelection(int row)
{
    std::optional<LoadedPhoto> ready = prefetch_.take(nativePathOfRow(row));
    LoadedPhoto loaded = ready ? std::move(*ready) : loadPhoto(nativePathOfRow(row), loadOptions_);
    // The next entry first, since stepping forward is the usual way through a folder. Started
    // once this photo is on the screen, so that decoding them does not hold up its first frame.
    QTimer::singleShot(
        0, this, [this, next = nativePathOfRow(row + 1), previous = nativePathOfRow(row - 1)] {
            prefetch_.prepare({next, previous});
        });
    return loaded;
}

}  // namespace orvello
