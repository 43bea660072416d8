#include "batch/losslesscopy.h"

#include "imaging/decodebudget.h"
#include "imaging/jpegdecoder.h"
#include "imaging/losslessstamp.h"
#include "imaging/photodecoder.h"
#include "imaging/rotation.h"
#include "overlay/overlay.h"
#include "overlay/overlaytext.h"
#include "photo/exifstep.h"

#include <QPainter>

namespace orvello {

namespace {

constexpr quint16 kOrientationTag = 0x0112;

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
    const qint64 coefficients = layout.minimumBytes() * 8 * 128;
    if (pixels > kMaxPhotoPixels || 3 * coefficients + fileBytes > kMaxDecodeBytes)
        return QStringLiteral("照片太大");
    return {};
}

QString fallbackNotice(const StampItem& item, const QString& reason)
{
    return QStringLiteral("“%1”无法无损加字（%2），已完整重新编码。")
        .arg(shownPath(item.source), reason);
}

}  // namespace

int storedOrientation(const ImageFile* items)
{
    if (!items) return 1;
    try {
        for (int i = 1; i <= items->PropertyCount(); ++i) {
            const PropertyItem item = items->Item(i);
            if (item.tag() == kOrientationTag && item.ItemType() == exiftype::Short &&
                item.ValueCount() >= 1) {
                const int value = item.ParseShort(1);
                return value >= 1 && value <= 8 ? value : 1;
            }
        }
    } catch (...) {
    }
    return 1;
}

std::optional<StampOutcome> stampLosslessCopy(const StampItem& item, const StampRecipe& recipe,
                                              const std::atomic<bool>* cancel, QString* notice)
{
    notice->clear();
    const FileBytes file = readPhotoFile(item.source);
    if (!file.ok()) return std::nullopt;
    const JpegLayout layout = readJpegLayout(file.bytes);
    if (!file.bytes.startsWith("\xFF\xD8") || !layout.valid ||
        file.bytes.size() < layout.minimumBytes())
        return std::nullopt;
    const QString tooBig = overBudget(layout, file.bytes.size());
    if (!tooBig.isEmpty()) {
        *notice = fallbackNotice(item, tooBig);
        return std::nullopt;
    }
    const ExifInfo exif = readExifInfoFromData(file.bytes);
    const std::optional<PictureTurn> turn =
        copyTurn(storedOrientation(exif.image.get()), recipe.turns);
    if (!turn) {
        *notice = fallbackNotice(item, QStringLiteral("不支持的转动"));
        return std::nullopt;
    }

    // A canvas of the copy's size for laying out the text; only the pages the stamps touch are
    // ever written, so most of it is never backed by memory.
    QImage canvas(turn->turnedSize(QSize(layout.width, layout.height)), QImage::Format_RGB32);
    if (canvas.isNull()) {
        *notice = fallbackNotice(item, QStringLiteral("内存不足"));
        return std::nullopt;
    }
    const OverlayInput input = makeOverlayInput(recipe.settings, exif.captureDateText, recipe.text1,
                                                isPortraitCanvas(canvas.size()));
    const PreparedOverlay overlay = prepareOverlay(canvas, input);

    LosslessStampJob job;
    job.source = file.bytes;
    job.turn = *turn;
    job.inkRects = {overlay.date.inkRect, overlay.title.inkRect};
    job.cancel = cancel;
    job.draw = [&](QImage& region, QPoint offset) {
        // Painted where it lies on the canvas, so that every pixel is what the full canvas gets.
        const QRect where(offset, region.size());
        {
            QPainter put(&canvas);
            put.setCompositionMode(QPainter::CompositionMode_Source);
            put.drawImage(offset, region);
        }
        paintOverlay(canvas, overlay, QRegion(where));
        region = canvas.copy(where);
    };
    const LosslessStampResult result = stampLosslessly(job);
    using Status = LosslessStampResult::Status;
    switch (result.status) {
    case Status::Done: break;
    case Status::Cancelled: return StampOutcome{StampOutcome::Status::Cancelled, {}};
    case Status::NotPossible: *notice = fallbackNotice(item, result.reason); return std::nullopt;
    case Status::Failed: *notice = fallbackNotice(item, result.reason); return std::nullopt;
    }
    if (cancel && cancel->load()) return StampOutcome{StampOutcome::Status::Cancelled, {}};
    const QString failed = writeStampedBytes(result.jpeg, item.target, canvas.size());
    if (!failed.isEmpty()) return StampOutcome{StampOutcome::Status::Failed, failed};
    return StampOutcome{StampOutcome::Status::Written, {}};
}

}  // namespace orvello
