#pragma once
// What a lossless copy keeps so that its stamps can be taken off again: the photo's own blocks
// for every piece the stamps replaced, each piece a small JPEG in the photo's frame and tables,
// carried in APP11 segments of their own beside a digest of the stamped blocks. Other programs
// skip the segments; restoring puts the blocks back, so that the result decodes exactly as the
// photo (turned as the copy was) does.
#include "components/jpegwriter.h"

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

namespace orvello {

// One replaced piece of the turned picture and the photo's own blocks for it.
struct RestorePiece {
    QRect rect;       // MCU-aligned, in the copy's pixels
    QByteArray jpeg;  // a JPEG of rect's size holding the photo's coefficients there
};

// The segments that carry pieces for a copy of picture pixels whose stamped blocks have the
// given digest (lossless::blocksDigest); empty when there is nothing to carry.
QList<JpegSegment> restoreSegments(QSize picture, const QList<RestorePiece>& pieces,
                                   const QByteArray& digest);

// jpeg with segments put in right after its other header segments.
QByteArray withSegments(const QByteArray& jpeg, const QList<JpegSegment>& segments);

struct RestoreResult {
    enum class Status {
        Done,
        NoData,   // the file carries no restore data, or data that does not fit it
        Changed,  // the stamped blocks are not those the data was made for
        Failed,   // the file could not be read or written
    };
    Status status = Status::Failed;
    QByteArray jpeg;  // the photo with its blocks put back, when done
    QString reason;   // in the interface's language
};

// The photo as it was before copy was stamped; its header segments are the copy's, less the
// restore data.
RestoreResult restoreStamp(const QByteArray& copy);

}  // namespace orvello
