#pragma once
// The libjpeg side of the lossless stamp: what a photo's headers say, the stamped pieces encoded
// into DCT blocks with the photo's own tables, and the copy written from coefficient rows.
#include "components/jpegframe.h"
#include "components/jpegwriter.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <memory>
#include <vector>

namespace orvello::lossless {

inline constexpr int kBlockCoefficients = 64;

// What the headers before the first scan say about the picture's coding, which the copy keeps.
struct SourceFacts {
    QString error;  // empty when the headers could be read
    int width = 0, height = 0;
    int components = 0;
    bool colour = false;  // three components in YCbCr or RGB: stamps can be drawn in colour
    int mcuWidth = 8, mcuHeight = 8;
    QString sampling;  // each component's factors, "2x2,1x1,1x1"
    bool progressive = false, arithmetic = false;
    bool optimized = false;  // Huffman tables other than the standard ones
    unsigned restartInterval = 0;
};
SourceFacts readSourceFacts(const QByteArray& jpeg);
// The same from headers read already.
SourceFacts sourceFactsOf(const JpegFrame& frame);

// The DCT blocks of one component of a piece of the picture: blocksWide × blocksHigh blocks,
// row by row, the first at block column blockX and block row blockY of the whole plane.
struct PlaneBlocks {
    int blockX = 0, blockY = 0, blocksWide = 0, blocksHigh = 0;
    std::vector<short> coefficients;
};

// Encodes piece (whose top-left lies on an MCU corner of the picture, at offset) with the
// sampling, colour space and quantization tables of tablesFrom, a JPEG of the same picture, and
// returns its blocks per component. Empty, with error set, on failure.
std::vector<PlaneBlocks> encodePiece(const QImage& piece, QPoint offset,
                                     const QByteArray& tablesFrom, QString* error);

// The blocks of every component of a JPEG of a piece whose top-left lies at offset (on an MCU
// corner) of a picture with the same sampling. Empty, with error set, on failure.
std::vector<PlaneBlocks> readBlocks(const QByteArray& jpeg, QPoint offset, QString* error);

// Puts the pieces' blocks of component into its row blockRow (blocks wide) of a whole plane; when
// displaced is given (one entry per piece, shaped as pieces), what was there is kept in it.
void replaceBlocks(short* row, int component, int blockRow, int blocks,
                   const std::vector<std::vector<PlaneBlocks>>& pieces,
                   std::vector<std::vector<PlaneBlocks>>* displaced = nullptr);

// A digest of the pieces' coefficients, to tell whether a picture still holds them.
QByteArray blocksDigest(const std::vector<std::vector<PlaneBlocks>>& pieces);

// The SHA-256 digest of bytes.
QByteArray sha256(QByteArrayView bytes);

// The copy, written from coefficients handed over row of blocks by row of blocks. Its frame
// (sampling, tables, colour space) is taken from tablesFrom, a JPEG of the same picture; its
// coding from the source's facts; its density, segments and colour profile from markers, as the
// full re-encode writes them (their other fields do not apply).
class CoefficientWriter {
public:
    CoefficientWriter();
    ~CoefficientWriter();
    CoefficientWriter(const CoefficientWriter&) = delete;
    CoefficientWriter& operator=(const CoefficientWriter&) = delete;

    // expectedBytes: about what the copy will take, when known (its buffer starts that large).
    bool open(const QByteArray& tablesFrom, QSize size, const SourceFacts& source,
              const JpegOptions& markers, qsizetype expectedBytes = 0);
    // The plane's size in blocks (valid once open).
    QSize planeBlocks(int component) const;
    // Row blockRow of component's plane, planeBlocks().width() blocks of 64 coefficients. The
    // row is read where it lies, by finish: it must stay there until then.
    bool putRow(int component, int blockRow, const short* coefficients);
    // Whether every row of every plane has been handed over.
    bool complete() const;
    bool finish(QByteArray* jpeg);
    const QString& error() const { return error_; }

private:
    struct State;
    std::unique_ptr<State> state_;
    QString error_;
};

}  // namespace orvello::lossless
