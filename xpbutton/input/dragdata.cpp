#include "xpbutton/input/dragdata.h"

#include "xpbutton/xpbutton.h"

namespace orvello {

int XbDragData::formatNumber(const QString& mimeType)
{
    if (mimeType == QLatin1String("text/plain")) return 1;
    if (mimeType.startsWith(QLatin1String("image/"))) return 2;
    if (mimeType == QLatin1String("text/uri-list")) return 15;
    return 0;
}

QVariant XbDragData::retrieveData(const QString& mimeType, QMetaType type) const
{
    if (!QMimeData::hasFormat(mimeType) && source_ && !asking_) {
        // The owner may fill the format in now; asking once at a time keeps a handler that
        // reads the data back from asking again.
        asking_ = true;
        int format = formatNumber(mimeType);
        emit source_->OLESetData(const_cast<XbDragData*>(this), format);
        asking_ = false;
    }
    return QMimeData::retrieveData(mimeType, type);
}

}  // namespace orvello
