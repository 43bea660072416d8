#include "imaging/losslessrestore.h"

#include "components/keptmetadata.h"
#include "imaging/decodebudget.h"
#include "imaging/jpegdecoder.h"
#include "imaging/losslessjpeg.h"

#include <turbojpeg.h>
#include <QCoreApplication>
#include <QDataStream>
#include <QIODevice>
#include <algorithm>
#include <cstring>
#include <map>
#include <new>
#include <optional>

namespace orvello {

namespace {

using lossless::PlaneBlocks;
using Pieces = std::vector<std::vector<PlaneBlocks>>;

constexpr quint8 kApp11 = 0xEB;
// Identifies our segments among other APP11 users (JPEG XT boxes start "JP").
const QByteArray kIdentifier("ORVELLO-RESTORE\0", 16);
constexpr quint8 kVersion = 1;
constexpr qsizetype kChunk = 65533 - 16 - 4;  // a segment's payload less identifier and numbering
constexpr int kDigestBytes = 32;              // SHA-256

QByteArray sha256(const QByteArray& bytes)
{
    return lossless::sha256(bytes);
}

// The header segments before the first scan (APPn and comments), in file order.
QList<JpegSegment> headerSegments(const QByteArray& jpeg)
{
    QList<JpegSegment> segments = segmentsBeforeScan(jpeg);
    segments.removeIf([](const JpegSegment& s) {
        return !((s.marker >= 0xE0 && s.marker <= 0xEF) || s.marker == 0xFE);
    });
    return segments;
}

bool ours(const JpegSegment& s)
{
    return s.marker == kApp11 && s.payload.startsWith(kIdentifier);
}

struct Data {
    QSize picture;
    QList<RestorePiece> pieces;
    QByteArray digest;
};

// The restore data the copy carries: its segments in order, whole, and matching their checksum.
std::optional<Data> readData(const QList<JpegSegment>& segments, QString* why)
{
    std::map<int, QByteArray> chunks;
    int count = -1;
    for (const JpegSegment& s : segments) {
        if (!ours(s) || s.payload.size() < 20) continue;
        const auto* p = reinterpret_cast<const uchar*>(s.payload.constData()) + 16;
        const int index = (p[0] << 8) | p[1], total = (p[2] << 8) | p[3];
        if ((count >= 0 && total != count) || chunks.count(index)) return std::nullopt;
        count = total;
        chunks[index] = s.payload.mid(20);
    }
    if (count < 0) {
        *why = QCoreApplication::translate("imaging", "没有恢复数据（不是带恢复数据的无损副本）");
        return std::nullopt;
    }
    QByteArray blob;
    for (int i = 0; i < count; ++i) {
        if (!chunks.count(i)) return std::nullopt;
        blob += chunks[i];
    }
    if (blob.size() < kDigestBytes ||
        sha256(blob.chopped(kDigestBytes)) != blob.right(kDigestBytes))
        return std::nullopt;
    Data d;
    QDataStream in(blob.chopped(kDigestBytes));
    quint8 version = 0;
    quint32 width = 0, height = 0, pieces = 0;
    in >> version >> width >> height >> pieces;
    if (version != kVersion || width > 65535 || height > 65535 || pieces > 4096)
        return std::nullopt;
    d.picture = QSize(int(width), int(height));
    for (quint32 i = 0; i < pieces && in.status() == QDataStream::Ok; ++i) {
        qint32 x = 0, y = 0, w = 0, h = 0;
        RestorePiece piece;
        in >> x >> y >> w >> h >> piece.jpeg;
        piece.rect = QRect(x, y, w, h);
        d.pieces << piece;
    }
    in >> d.digest;
    if (in.status() != QDataStream::Ok || !in.atEnd()) return std::nullopt;
    return d;
}

struct TjHandle {
    tjhandle h = tjInitTransform();
    ~TjHandle()
    {
        if (h) tjDestroy(h);
    }
};

// What the coefficient filter works with while the copy goes through the transform.
struct Restore {
    const QByteArray* copy = nullptr;
    const lossless::SourceFacts* facts = nullptr;
    JpegOptions markers;
    Pieces pieces, displaced;
    lossless::CoefficientWriter writer;
    QByteArray jpeg;  // written once the last row came through, while the rows are still there
    bool opened = false;
    QString error;
};

int restoreRow(short* coefficients, tjregion arrayRegion, tjregion planeRegion, int component, int,
               tjtransform* transform)
{
    auto* r = static_cast<Restore*>(transform->data);
    try {
        if (!r->opened) {
            r->opened = true;
            if (!r->writer.open(*r->copy, QSize(r->facts->width, r->facts->height), *r->facts,
                                r->markers)) {
                r->error = r->writer.error();
                return -1;
            }
        }
        const int blocks = arrayRegion.w / 8;
        const QSize plane = r->writer.planeBlocks(component);
        if (plane.width() != blocks || planeRegion.h / 8 != plane.height()) {
            r->error = QCoreApplication::translate("imaging", "系数平面的大小不符");
            return -1;
        }
        for (int row = 0; row < arrayRegion.h / 8; ++row) {
            short* at = coefficients + size_t(row) * size_t(blocks) * lossless::kBlockCoefficients;
            lossless::replaceBlocks(at, component, arrayRegion.y / 8 + row, blocks, r->pieces,
                                    &r->displaced);
            if (!r->writer.putRow(component, arrayRegion.y / 8 + row, at) ||
                (r->writer.complete() && !r->writer.finish(&r->jpeg))) {
                r->error = r->writer.error();
                return -1;
            }
        }
        return 0;
    } catch (const std::bad_alloc&) {
        r->error = QCoreApplication::translate("imaging", "内存不足");
    }
    return -1;
}

// The copy's own header, less our segments and those libjpeg writes itself (JFIF, Adobe).
JpegOptions keptMarkers(const QList<JpegSegment>& segments)
{
    JpegOptions o;
    for (const JpegSegment& s : segments) {
        if (s.marker == 0xE0 && s.payload.startsWith(QByteArray("JFIF\0", 5))) {
            const auto* p = reinterpret_cast<const uchar*>(s.payload.constData());
            if (s.payload.size() >= 12)
                o.density = {p[7], (p[8] << 8) | p[9], (p[10] << 8) | p[11]};
        } else if (!ours(s) && !(s.marker == 0xEE && s.payload.startsWith("Adobe"))) {
            o.segments << s;
        }
    }
    return o;
}

RestoreResult failed(RestoreResult::Status status, const QString& reason)
{
    return {status, {}, reason};
}

}  // namespace

QList<JpegSegment> restoreSegments(QSize picture, const QList<RestorePiece>& pieces,
                                   const QByteArray& digest)
{
    if (pieces.isEmpty()) return {};
    QByteArray blob;
    {
        QDataStream out(&blob, QIODevice::WriteOnly);
        out << kVersion << quint32(picture.width()) << quint32(picture.height())
            << quint32(pieces.size());
        for (const RestorePiece& p : pieces)
            out << qint32(p.rect.x()) << qint32(p.rect.y()) << qint32(p.rect.width())
                << qint32(p.rect.height()) << p.jpeg;
        out << digest;
    }
    blob += sha256(blob);
    const qsizetype count = (blob.size() + kChunk - 1) / kChunk;
    if (count > 0xFFFF) return {};
    QList<JpegSegment> segments;
    for (qsizetype i = 0; i < count; ++i) {
        QByteArray payload = kIdentifier;
        const char numbering[4] = {char(i >> 8), char(i & 0xFF), char(count >> 8),
                                   char(count & 0xFF)};
        payload.append(numbering, 4);
        payload += blob.mid(i * kChunk, kChunk);
        segments.append({kApp11, payload});
    }
    return segments;
}

QByteArray withSegments(const QByteArray& jpeg, const QList<JpegSegment>& segments)
{
    // After SOI and the header segments libjpeg wrote first, before the tables and the frame.
    qsizetype pos = 2;
    while (pos + 4 <= jpeg.size() && uchar(jpeg[pos]) == 0xFF) {
        const uchar marker = uchar(jpeg[pos + 1]);
        if (!((marker >= 0xE0 && marker <= 0xEF) || marker == 0xFE)) break;
        pos += 2 + ((uchar(jpeg[pos + 2]) << 8) | uchar(jpeg[pos + 3]));
    }
    QByteArray inserted;
    for (const JpegSegment& s : segments) {
        const qsizetype length = s.payload.size() + 2;
        inserted += char(0xFF);
        inserted += char(s.marker);
        inserted += char(length >> 8);
        inserted += char(length & 0xFF);
        inserted += s.payload;
    }
    return jpeg.left(pos) + inserted + jpeg.mid(pos);
}

RestoreResult restoreStamp(const QByteArray& copy)
{
    using Status = RestoreResult::Status;
    const QList<JpegSegment> segments = headerSegments(copy);
    QString why = QCoreApplication::translate("imaging", "恢复数据已损坏");
    const std::optional<Data> data = readData(segments, &why);
    if (!data) return failed(Status::NoData, why);
    const lossless::SourceFacts facts = lossless::readSourceFacts(copy);
    if (!facts.error.isEmpty()) return failed(Status::Failed, facts.error);
    // The transform holds the copy's coefficients twice: refuse before a claimed size costs that.
    const JpegLayout layout = readJpegLayout(copy);
    if (!layout.valid || layout.codedBytes < layout.minimumBytes())
        return failed(Status::Failed,
                      QCoreApplication::translate("imaging", "JPEG 图像数据不完整"));
    if (qint64(facts.width) * facts.height > kMaxPhotoPixels ||
        3 * layout.allCoefficientBytes() + copy.size() > kMaxDecodeBytes)
        return failed(Status::Failed, QCoreApplication::translate("imaging", "照片太大"));
    const QSize size(facts.width, facts.height);
    const QString mismatch =
        QCoreApplication::translate("imaging", "恢复数据与照片不符（照片已被裁切或重新编码）");
    if (data->picture != size) return failed(Status::NoData, mismatch);

    Restore r;
    r.copy = &copy;
    r.facts = &facts;
    r.markers = keptMarkers(segments);
    for (const RestorePiece& piece : data->pieces) {
        // Each piece must be a piece of this picture, in its frame, on its MCU grid, and coded in
        // one scan as the copy wrote it.
        const lossless::SourceFacts p = lossless::readSourceFacts(piece.jpeg);
        if (!p.error.isEmpty() || p.progressive || QSize(p.width, p.height) != piece.rect.size() ||
            p.sampling != facts.sampling || !QRect(QPoint(), size).contains(piece.rect) ||
            piece.rect.x() % facts.mcuWidth != 0 || piece.rect.y() % facts.mcuHeight != 0)
            return failed(Status::NoData, mismatch);
        QString error;
        std::vector<PlaneBlocks> blocks =
            lossless::readBlocks(piece.jpeg, piece.rect.topLeft(), &error);
        if (blocks.empty()) return failed(Status::NoData, error);
        std::vector<PlaneBlocks> empty = blocks;
        for (PlaneBlocks& b : empty) std::fill(b.coefficients.begin(), b.coefficients.end(), 0);
        r.pieces.push_back(std::move(blocks));
        r.displaced.push_back(std::move(empty));
    }

    tjtransform whole{};
    whole.op = TJXOP_NONE;
    whole.options = TJXOPT_NOOUTPUT | TJXOPT_COPYNONE | TJXOPT_PERFECT;
    whole.data = &r;
    whole.customFilter = restoreRow;
    unsigned char* output = nullptr;
    unsigned long outputSize = 0;
    TjHandle transformer;
    if (!transformer.h)
        return failed(Status::Failed,
                      QCoreApplication::translate("imaging", "JPEG 变换器无法启动"));
    const int rc =
        tjTransform(transformer.h, reinterpret_cast<const unsigned char*>(copy.constData()),
                    static_cast<unsigned long>(copy.size()), 1, &output, &outputSize, &whole,
                    TJFLAG_LIMITSCANS | TJFLAG_STOPONWARNING);
    tjFree(output);
    if (rc != 0)
        return failed(
            Status::Failed,
            QCoreApplication::translate("imaging", "JPEG 图像数据无法读取（%1）")
                .arg(!r.error.isEmpty() ? r.error
                                        : QString::fromLocal8Bit(tjGetErrorStr2(transformer.h))));
    if (!r.opened || !r.writer.complete())
        return failed(Status::Failed, QCoreApplication::translate("imaging", "没有读到图像系数"));
    if (lossless::blocksDigest(r.displaced) != data->digest)
        return failed(Status::Changed,
                      QCoreApplication::translate("imaging", "加字处的像素块已被改动，无法恢复"));
    return RestoreResult{Status::Done, std::move(r.jpeg), {}};
}

}  // namespace orvello
