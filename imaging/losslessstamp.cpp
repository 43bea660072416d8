#include "imaging/losslessstamp.h"

#include <QCoreApplication>

#include "imaging/losslessjpeg.h"
#include "imaging/losslessrestore.h"

#include <turbojpeg.h>
#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

namespace orvello {

namespace {

using lossless::PlaneBlocks;
using Status = LosslessStampResult::Status;

int transformOp(PictureTurn turn)
{
    static constexpr int ops[2][4] = {
        {TJXOP_NONE, TJXOP_ROT90, TJXOP_ROT180, TJXOP_ROT270},
        {TJXOP_HFLIP, TJXOP_TRANSVERSE, TJXOP_VFLIP, TJXOP_TRANSPOSE}};
    return ops[turn.mirror ? 1 : 0][turn.quarters & 3];
}

// Whether the turn moves a partial MCU at the right or bottom edge to the left or top, where
// the format cannot hold it: the edge pixels would be lost.
bool losesEdge(PictureTurn turn, const lossless::SourceFacts& f)
{
    const bool wholeWide = f.width % f.mcuWidth == 0;
    const bool wholeHigh = f.height % f.mcuHeight == 0;
    switch (transformOp(turn)) {
    case TJXOP_HFLIP:
    case TJXOP_ROT270: return !wholeWide;
    case TJXOP_VFLIP:
    case TJXOP_ROT90: return !wholeHigh;
    case TJXOP_ROT180:
    case TJXOP_TRANSVERSE: return !wholeWide || !wholeHigh;
    default: return false;
    }
}

int alignDown(int v, int step)
{
    return v / step * step;
}

int alignUp(int v, int step)
{
    return (v + step - 1) / step * step;
}

QRect alignOut(const QRect& r, QSize step, const QRect& bounds)
{
    const QPoint topLeft(alignDown(r.left(), step.width()), alignDown(r.top(), step.height()));
    const QPoint end(alignUp(r.right() + 1, step.width()), alignUp(r.bottom() + 1, step.height()));
    return QRect(topLeft, end - QPoint(1, 1)) & bounds;
}

// The MCU-aligned pieces that hold the ink; overlapping pieces become one.
QList<QRect> inkPieces(const QList<QRect>& ink, QSize mcu, const QRect& bounds)
{
    QList<QRect> pieces;
    for (const QRect& r : ink) {
        const QRect piece = alignOut(r & bounds, mcu, bounds);
        if (!piece.isEmpty()) pieces << piece;
    }
    for (bool merged = true; merged;) {
        merged = false;
        for (qsizetype i = 0; i < pieces.size() && !merged; ++i)
            for (qsizetype j = i + 1; j < pieces.size() && !merged; ++j)
                if (pieces[i].intersects(pieces[j])) {
                    pieces[i] |= pieces[j];
                    pieces.removeAt(j);
                    merged = true;
                }
    }
    return pieces;
}

struct TjHandle {
    tjhandle h;
    explicit TjHandle(tjhandle handle) : h(handle) {}
    ~TjHandle()
    {
        if (h) tjDestroy(h);
    }
};

// What the coefficient filter works with while the transform runs.
struct Pass {
    const LosslessStampJob* job = nullptr;
    const lossless::SourceFacts* facts = nullptr;
    QSize size;                         // the turned picture
    QList<QRect> pieces;                // re-encoded, in the turned picture
    QList<QRect> crops;                 // decoded around each piece, with room for the upsampling
    unsigned char** outputs = nullptr;  // the crops' JPEGs, 0 being the frame's sample
    unsigned long* outputSizes = nullptr;
    lossless::CoefficientWriter writer;
    QByteArray copy;  // written once the last row came through, while the rows are still there
    std::vector<std::vector<PlaneBlocks>> blocks;  // per piece, per component
    bool ready = false;
    bool cancelled = false;
    QString error;
    int calls = 0;

    QByteArray output(int i) const
    {
        return QByteArray::fromRawData(reinterpret_cast<const char*>(outputs[i]),
                                       qsizetype(outputSizes[i]));
    }
    bool prepare();
    bool stampPiece(int index, tjhandle decoder);
    bool filterRow(short* coefficients, int component, int blockRow, int blocks);
};

bool Pass::stampPiece(int index, tjhandle decoder)
{
    const QByteArray crop = output(index + 1);
    const QRect& around = crops[index];
    QImage decoded(around.size(), QImage::Format_RGB32);
    if (decoded.isNull()) {
        error = QCoreApplication::translate("imaging", "内存不足");
        return false;
    }
    if (tjDecompress2(decoder, reinterpret_cast<const unsigned char*>(crop.constData()),
                      static_cast<unsigned long>(crop.size()), decoded.bits(), decoded.width(),
                      int(decoded.bytesPerLine()), decoded.height(), TJPF_BGRX, 0) != 0) {
        error = QString::fromLocal8Bit(tjGetErrorStr2(decoder));
        return false;
    }
    const QRect& piece = pieces[index];
    QImage region = decoded.copy(piece.translated(-around.topLeft()));
    decoded = QImage();
    if (job->draw) job->draw(region, piece.topLeft());
    blocks.push_back(lossless::encodePiece(region, piece.topLeft(), crop, &error));
    return !blocks.back().empty();
}

bool Pass::prepare()
{
    ready = true;
    // The crops are written before the whole picture's coefficients come through here.
    // The copy takes about what the photo takes, with the header segments it is given.
    qsizetype expected = job->source.size() + job->markers.iccProfile.size() + 65536;
    for (const JpegSegment& segment : job->markers.segments) expected += segment.payload.size();
    if (!writer.open(output(0), size, *facts, job->markers, expected)) {
        error = writer.error();
        return false;
    }
    TjHandle decoder(tjInitDecompress());
    if (!decoder.h) {
        error = QCoreApplication::translate("imaging", "JPEG 解码器无法启动");
        return false;
    }
    for (int i = 0; i < pieces.size(); ++i)
        if (!stampPiece(i, decoder.h)) return false;
    return true;
}

bool Pass::filterRow(short* coefficients, int component, int blockRow, int blocks)
{
    const QSize plane = writer.planeBlocks(component);
    if (plane.width() != blocks) {
        error = QCoreApplication::translate("imaging", "系数平面的大小不符");
        return false;
    }
    lossless::replaceBlocks(coefficients, component, blockRow, blocks, this->blocks);
    if (writer.putRow(component, blockRow, coefficients) &&
        (!writer.complete() || writer.finish(&copy)))
        return true;
    error = writer.error();
    return false;
}

// Called by the transform for each row of blocks of each component of the turned picture: the
// stamped pieces' blocks replace the photo's there, and the row goes to the copy.
int filterCoefficients(short* coefficients, tjregion arrayRegion, tjregion planeRegion,
                       int component, int, tjtransform* transform)
{
    auto* pass = static_cast<Pass*>(transform->data);
    try {
        if (!pass->ready && !pass->prepare()) return -1;
        const std::atomic<bool>* cancel = pass->job->cancel;
        if (cancel && ++pass->calls % 64 == 0 && cancel->load(std::memory_order_relaxed)) {
            pass->cancelled = true;
            return -1;
        }
        const int blocks = arrayRegion.w / 8;
        if (planeRegion.h / 8 != pass->writer.planeBlocks(component).height()) {
            pass->error = QCoreApplication::translate("imaging", "系数平面的大小不符");
            return -1;
        }
        for (int row = 0; row < arrayRegion.h / 8; ++row)
            if (!pass->filterRow(
                    coefficients + size_t(row) * size_t(blocks) * lossless::kBlockCoefficients,
                    component, arrayRegion.y / 8 + row, blocks))
                return -1;
        return 0;
    } catch (const std::bad_alloc&) {
        pass->error = QCoreApplication::translate("imaging", "内存不足");
    } catch (...) {
        pass->error = QCoreApplication::translate("imaging", "未知错误");
    }
    return -1;
}

// The transform takes the samplings TurboJPEG names (4:4:4, 4:2:2, 4:2:0, 4:4:0, 4:1:1); libjpeg
// decodes the rest, which the full re-encode then stamps.
bool transformable(const QByteArray& jpeg)
{
    TjHandle tj(tjInitDecompress());
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    return tj.h &&
           tjDecompressHeader3(tj.h, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                               static_cast<unsigned long>(jpeg.size()), &width, &height,
                               &subsampling, &colorspace) == 0;
}

LosslessStampResult notPossible(const QString& reason)
{
    return {Status::NotPossible, {}, reason, {}};
}

}  // namespace

bool turnLosesEdge(const JpegFrame& frame, PictureTurn turn)
{
    const lossless::SourceFacts facts = lossless::sourceFactsOf(frame);
    return facts.error.isEmpty() && losesEdge(turn, facts);
}

LosslessStampResult stampLosslessly(const LosslessStampJob& job)
{
    if (job.cancel && job.cancel->load()) return {Status::Cancelled, {}, {}, {}};
    const lossless::SourceFacts facts =
        job.frame ? lossless::sourceFactsOf(*job.frame) : lossless::readSourceFacts(job.source);
    if (!facts.error.isEmpty()) return {Status::Failed, {}, facts.error, {}};
    // A grey photo keeps its one component: the stamps go into it in grey. Four inks (CMYK,
    // YCCK) would need the stamps' colours turned into inks, which the full re-encode does.
    if (!facts.colour && facts.components != 1)
        return notPossible(QCoreApplication::translate(
            "imaging", "只有彩色（YCbCr 或 RGB）或灰度 JPEG 照片能无损加字"));
    if (!transformable(job.source))
        return notPossible(
            QCoreApplication::translate("imaging", "采样方式 %1 不能无损变换").arg(facts.sampling));
    if (losesEdge(job.turn, facts))
        return notPossible(
            QCoreApplication::translate(
                "imaging", "照片尺寸 %1 × %2 不是 %3 × %4 像素块的整数倍，无损旋转会丢掉边缘")
                .arg(facts.width)
                .arg(facts.height)
                .arg(facts.mcuWidth)
                .arg(facts.mcuHeight));

    Pass pass;
    pass.job = &job;
    pass.facts = &facts;
    pass.size = job.turn.turnedSize(QSize(facts.width, facts.height));
    const QRect bounds(QPoint(0, 0), pass.size);
    const QSize mcu = job.turn.turnedSize(QSize(facts.mcuWidth, facts.mcuHeight));
    // Crops must start on whole MCUs of both the photo and the turned picture.
    const int side = std::max(facts.mcuWidth, facts.mcuHeight);
    const QSize grid(side, side);
    pass.pieces = inkPieces(job.inkRects, mcu, bounds);
    for (const QRect& piece : pass.pieces)
        pass.crops << alignOut(
            piece.adjusted(-mcu.width(), -mcu.height(), mcu.width(), mcu.height()), grid, bounds);

    // One reading of the photo's coefficients serves every output: first a small sample of the
    // turned picture (its header gives the copy's frame), then the crops around the stamps,
    // then the pieces themselves as they were (the restore data), then the whole picture, which
    // goes through the filter instead of being written.
    const int kept = job.restoreData ? int(pass.pieces.size()) : 0;
    const int count = int(pass.crops.size()) + kept + 2;
    std::vector<tjtransform> transforms(static_cast<size_t>(count));
    std::vector<unsigned char*> outputs(size_t(count), nullptr);
    std::vector<unsigned long> outputSizes(size_t(count), 0);
    const int op = transformOp(job.turn);
    const auto crop = [&](int i, const QRect& r) {
        transforms[size_t(i)].op = op;
        transforms[size_t(i)].options = TJXOPT_CROP | TJXOPT_COPYNONE | TJXOPT_PERFECT;
        transforms[size_t(i)].r = {r.x(), r.y(), r.width(), r.height()};
    };
    crop(0, QRect(QPoint(0, 0), grid) & bounds);
    for (int i = 0; i < pass.crops.size(); ++i) crop(i + 1, pass.crops[i]);
    const int firstKept = int(pass.crops.size()) + 1;
    for (int i = 0; i < kept; ++i) crop(firstKept + i, pass.pieces[i]);
    tjtransform& whole = transforms.back();
    whole.op = op;
    whole.options = TJXOPT_NOOUTPUT | TJXOPT_COPYNONE | TJXOPT_PERFECT;
    whole.data = &pass;
    whole.customFilter = filterCoefficients;
    pass.outputs = outputs.data();
    pass.outputSizes = outputSizes.data();

    TjHandle transformer(tjInitTransform());
    if (!transformer.h)
        return {
            Status::Failed, {}, QCoreApplication::translate("imaging", "JPEG 变换器无法启动"), {}};
    const int rc = tjTransform(
        transformer.h, reinterpret_cast<const unsigned char*>(job.source.constData()),
        static_cast<unsigned long>(job.source.size()), count, outputs.data(), outputSizes.data(),
        transforms.data(), TJFLAG_LIMITSCANS | TJFLAG_STOPONWARNING);
    const QString failure = rc == 0 ? QString()
                            : !pass.error.isEmpty()
                                ? pass.error
                                : QString::fromLocal8Bit(tjGetErrorStr2(transformer.h));
    QList<RestorePiece> restore;
    for (int i = 0; rc == 0 && i < kept; ++i)
        restore.append({pass.pieces[i],
                        QByteArray(reinterpret_cast<const char*>(outputs[size_t(firstKept + i)]),
                                   qsizetype(outputSizes[size_t(firstKept + i)]))});
    for (unsigned char* out : outputs) tjFree(out);
    if (pass.cancelled) return {Status::Cancelled, {}, {}, {}};
    if (rc != 0) return {Status::Failed, {}, failure, {}};
    if (!pass.ready || !pass.writer.complete())
        return {Status::Failed, {}, QCoreApplication::translate("imaging", "没有读到图像系数"), {}};
    LosslessStampResult result{Status::Done, std::move(pass.copy), {}, pass.pieces};
    if (!restore.isEmpty())
        result.jpeg = withSegments(
            result.jpeg, restoreSegments(pass.size, restore, lossless::blocksDigest(pass.blocks)));
    return result;
}

}  // namespace orvello
