#include "batch/losslesscopy.h"

#include "components/keptmetadata.h"
#include "components/nativefile.h"
#include "components/photometadata.h"
#include "imaging/colourprofile.h"
#include "imaging/decodebudget.h"
#include "imaging/jpegdecoder.h"
#include "imaging/losslessstamp.h"
#include "imaging/photodecoder.h"
#include "imaging/rotation.h"
#include "overlay/overlay.h"
#include "overlay/overlaytext.h"
#include "photo/exifstep.h"
#include "photo/sourcetraits.h"

#include <QCoreApplication>
#include <QPainter>

namespace orvello {

namespace {

// The picture as the stamps see it: upright by its orientation, then the run's quarter turns.
std::optional<PictureTurn> copyTurn(int orientation, const QList<QuarterTurn>& turns)
{
    PictureTurn turn = PictureTurn::fromOrientation(orientation);
    for (const QuarterTurn t : turns) {
        if (t == &Rotate90)
            turn = turn.then(PictureTurn::left());
        else if (t == &Rotate90R)
            turn = turn.then(PictureTurn::right());
        else
            return std::nullopt;
    }
    return turn;
}

// What the lossless path holds at most at once: the photo's coefficients as read, a turned set
// of them and the copy's, besides the file.
QString overBudget(const JpegLayout& layout, qint64 fileBytes)
{
    const qint64 pixels = qint64(layout.width) * layout.height;
    const qint64 coefficients = layout.allCoefficientBytes();
    if (pixels > kMaxPhotoPixels || 3 * coefficients + fileBytes > kMaxDecodeBytes)
        return QCoreApplication::translate("batch", "照片太大");
    return {};
}

QString fallbackNotice(const StampItem& item, const QString& reason)
{
    return QCoreApplication::translate("batch", "“%1”无法无损加字（%2），已完整重新编码。")
        .arg(shownPath(item.source), reason);
}

}  // namespace

std::optional<StampOutcome> stampLosslessCopy(const StampItem& item, const StampRecipe& recipe,
                                              const std::atomic<bool>* cancel, QString* notice)
{
    notice->clear();
    const FileBytes file = readPhotoFile(item.source);
    if (!file.ok()) return std::nullopt;
    const PhotoKind kind = sniffPhotoKind(file.bytes);
    if (kind != PhotoKind::Jpeg) return std::nullopt;
    const JpegLayout layout = readJpegLayout(file.bytes);
    if (!layout.valid || file.bytes.size() < layout.minimumBytes()) return std::nullopt;
    const QString tooBig = overBudget(layout, file.bytes.size());
    if (!tooBig.isEmpty()) {
        *notice = fallbackNotice(item, tooBig);
        return std::nullopt;
    }
    const CopyOptions& copy = recipe.copy;
    // Read once for the listing, the stamps' texts, the copy's traits, header and kept metadata.
    const std::shared_ptr<const PhotoMetadata> metadata = PhotoMetadata::read(
        file.bytes,
        copy.keepMetadata ? PhotoMetadata::ExifParse::Kept : PhotoMetadata::ExifParse::ListOnly,
        kind);
    ExifInfo exif = readExifInfo(metadata);
    setStampFile(exif.stamp, item.source);
    const SourceTraits traits = readSourceTraits(*metadata);
    const std::optional<PictureTurn> turn =
        copyTurn(copy.autoOrient ? traits.orientation : 1, recipe.turns);
    if (!turn) {
        *notice = fallbackNotice(item, QCoreApplication::translate("batch", "不支持的转动"));
        return std::nullopt;
    }

    // A canvas of the copy's size for laying out the text; only the pages the stamps touch are
    // ever written, so most of it is never backed by memory.
    QImage canvas(turn->turnedSize(QSize(layout.width, layout.height)), QImage::Format_RGB32);
    if (canvas.isNull()) {
        *notice = fallbackNotice(item, QCoreApplication::translate("batch", "内存不足"));
        return std::nullopt;
    }
    const OverlayInput input = stampOverlayInput(exif.stamp, recipe.settings, recipe.text1,
                                                 isPortraitCanvas(canvas.size()));
    const PreparedOverlay overlay = prepareOverlay(canvas, input);

    // Where a turn would move a partial edge block to the top or left, the copy keeps the stored
    // orientation and carries the turn in its orientation tag instead: the stamps are still laid
    // out on the upright canvas, and each stored piece is turned up to be painted there.
    const bool tagged = *turn != PictureTurn{} && turnLosesEdge(metadata->jpegFrame(), *turn);
    const PictureTurn blocksTurn = tagged ? PictureTurn{} : *turn;
    const QSize stored(layout.width, layout.height);

    // The header as the full re-encode writes it; the density is the stored picture's.
    QString warning;
    const std::shared_ptr<const KeptMetadata> kept =
        copy.keepMetadata ? KeptMetadata::read(*metadata) : nullptr;
    const JpegOptions markers =
        copyJpegOptions(traits, blocksTurn.swapsSides(), copy.quality, kept.get(),
                        blocksTurn.turnedSize(stored), shownPath(item.source), &warning,
                        tagged ? turn->orientation() : 1);

    LosslessStampJob job;
    job.source = file.bytes;
    job.frame = &metadata->jpegFrame();
    job.turn = blocksTurn;
    job.inkRects = {overlay.date.inkRect, overlay.title.inkRect};
    if (tagged)
        for (QRect& r : job.inkRects)
            if (!r.isEmpty()) r = turn->inverse().turnedRect(r, canvas.size());
    job.cancel = cancel;
    job.markers = markers;
    job.restoreData = copy.restoreData;
    job.draw = [&](QImage& region, QPoint offset) {
        // Painted where it lies on the canvas, so that every pixel is what the full canvas gets.
        const QRect where = tagged ? turn->turnedRect(QRect(offset, region.size()), stored)
                                   : QRect(offset, region.size());
        {
            QPainter put(&canvas);
            put.setCompositionMode(QPainter::CompositionMode_Source);
            put.drawImage(where.topLeft(), tagged ? turn->applied(region) : region);
        }
        paintOverlay(canvas, overlay, QRegion(where));
        region = tagged ? turn->inverse().applied(canvas.copy(where)) : canvas.copy(where);
    };
    const LosslessStampResult result = stampLosslessly(job);
    using Status = LosslessStampResult::Status;
    switch (result.status) {
    case Status::Done: break;
    case Status::Cancelled: return StampOutcome{StampOutcome::Status::Cancelled, {}, {}, {}};
    case Status::NotPossible: *notice = fallbackNotice(item, result.reason); return std::nullopt;
    case Status::Failed: *notice = fallbackNotice(item, result.reason); return std::nullopt;
    }
    bool cancelled = cancel && cancel->load();
    bool existed = false;
    const QString failed =
        cancelled ? QString()
                  : writeStampedBytes(result.jpeg, item, item.existing == ExistingCopies::Overwrite,
                                      &existed, canvas.size());
    // A stop that began while the copy was being written refuses its placing: the copy was
    // stopped, not failed, as on the full encode's path.
    cancelled = cancelled || (!failed.isEmpty() && savesStopped());
    return writtenOutcome(item, failed, cancelled, existed, warning);
}

}  // namespace orvello
