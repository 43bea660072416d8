#pragma once
// The picture an HEVC stream announces in its sequence parameter set, read before any decoder is
// given the stream: a decoder allocates what this says, whatever the container around it claims.
#include <QByteArrayView>
#include <optional>

namespace orvello {

struct HevcPictureFormat {
    quint32 width = 0;  // the coded size in luma samples, before the conformance window
    quint32 height = 0;
    int chromaFormat = 1;  // 0 monochrome, 1 4:2:0, 2 4:2:2, 3 4:4:4
    int bitDepth = 8;      // the larger of the luma and chroma depths
};

// True when the NAL unit (its two-byte header first) is a sequence parameter set.
bool isHevcSps(QByteArrayView nal);

// The format a sequence parameter set NAL unit announces; nullopt when it is cut short before
// the bit depths or holds a value no stream may hold.
std::optional<HevcPictureFormat> readHevcSps(QByteArrayView nal);

}  // namespace orvello
