#pragma once
// Stamping a JPEG photo without compressing it again: the picture's DCT blocks are carried over
// as they are, turned or mirrored losslessly where asked, and only the MCUs under the stamps are
// decoded, drawn on and encoded again with the photo's own quantization tables and sampling.
#include "components/jpegframe.h"
#include "components/jpegwriter.h"
#include "imaging/orientation.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <atomic>
#include <functional>

namespace orvello {

struct LosslessStampJob {
    QByteArray source;  // the JPEG file's bytes
    PictureTurn turn;   // applied to the picture before it is stamped
    // Where the stamps' ink can lie, in the turned picture's pixels.
    QList<QRect> inkRects;
    // Draws the stamps onto region, a piece of the turned picture whose top-left pixel is at
    // offset in it. Called only for pieces that hold some ink rectangle.
    std::function<void(QImage& region, QPoint offset)> draw;
    const std::atomic<bool>* cancel = nullptr;
    // The copy's density, metadata segments and colour profile (its quality and sampling are the
    // photo's, not these options').
    JpegOptions markers;
    // The photo's own blocks for every re-encoded piece go into the copy too, so that the stamps
    // can be taken off again (see losslessrestore.h).
    bool restoreData = false;
    // The source's headers as already read; read from it when not given.
    const JpegFrame* frame = nullptr;
};

struct LosslessStampResult {
    enum class Status {
        Done,
        NotPossible,  // this photo cannot be copied losslessly; reason says why
        Failed,       // the data could not be read or written; reason has the library's detail
        Cancelled
    };
    Status status = Status::Failed;
    QByteArray jpeg;  // the stamped copy, when done
    QString reason;   // in the interface's language
    // The MCU-aligned rectangles, in the turned picture, whose blocks were encoded again.
    QList<QRect> reencoded;
};

// Whether turning the blocks of the JPEG whose headers are frame by turn would move a partial MCU at
// its right or bottom edge to the left or top, where the format cannot hold it (stampLosslessly
// then refuses the turn).
bool turnLosesEdge(const JpegFrame& frame, PictureTurn turn);

// The turned, stamped copy of job.source; on a grey photo the stamps are grey. The copy keeps the
// photo's sampling, quantization tables, progressive or baseline coding, optimised or standard
// Huffman tables and restart interval; its header carries job.markers and nothing else of the
// photo's.
LosslessStampResult stampLosslessly(const LosslessStampJob& job);

}  // namespace orvello
