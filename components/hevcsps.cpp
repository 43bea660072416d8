#include "components/hevcsps.h"

#include <QByteArray>

namespace orvello {

namespace {

// The payload with the emulation-prevention bytes taken out: an encoder puts 0x03 after two zero
// bytes wherever the next byte could otherwise read as a start code.
QByteArray rbspOf(QByteArrayView payload)
{
    QByteArray out;
    out.reserve(payload.size());
    int zeros = 0;
    for (const char c : payload) {
        if (zeros >= 2 && c == 3) {
            zeros = 0;
            continue;
        }
        zeros = c == 0 ? zeros + 1 : 0;
        out += c;
    }
    return out;
}

// Reads bits most significant first; reading past the end sets failed and yields zeros.
class BitReader {
public:
    explicit BitReader(QByteArray bytes) : data(std::move(bytes)) {}

    bool failed = false;

    quint32 bits(int n)
    {
        quint32 v = 0;
        for (int i = 0; i < n; ++i) v = (v << 1) | bit();
        return v;
    }

    void skip(qint64 n)
    {
        if (n > qint64(data.size()) * 8 - at) failed = true;
        at += n;
    }

    // Unsigned Exp-Golomb: n leading zeros, a one, then n bits; values beyond 32 bits fail.
    quint32 ue()
    {
        int zeros = 0;
        while (!failed && bit() == 0)
            if (++zeros > 31) failed = true;
        if (failed) return 0;
        return quint32((quint64(1) << zeros) - 1 + bits(zeros));
    }

private:
    quint32 bit()
    {
        if (failed || at >= qint64(data.size()) * 8) {
            failed = true;
            return 0;
        }
        const quint32 b = (uchar(data[qsizetype(at >> 3)]) >> (7 - (at & 7))) & 1;
        ++at;
        return b;
    }

    QByteArray data;
    qint64 at = 0;
};

// A profile's fields: space, tier, idc, 32 compatibility flags, four source flags and 44 bits of
// constraint flags.
constexpr int kProfileBits = 2 + 1 + 5 + 32 + 4 + 44;
constexpr int kLevelBits = 8;

}  // namespace

bool isHevcSps(QByteArrayView nal)
{
    return nal.size() >= 2 && ((uchar(nal[0]) >> 1) & 0x3F) == 33;
}

std::optional<HevcPictureFormat> readHevcSps(QByteArrayView nal)
{
    if (!isHevcSps(nal)) return std::nullopt;
    BitReader r(rbspOf(nal.sliced(2)));
    r.skip(4);  // video parameter set id
    const int subLayers = int(r.bits(3));
    r.skip(1);  // temporal id nesting
    if (subLayers > 6) return std::nullopt;
    // profile_tier_level: the general profile and level, then each sub-layer's when present.
    r.skip(kProfileBits + kLevelBits);
    bool profilePresent[6] = {}, levelPresent[6] = {};
    for (int i = 0; i < subLayers; ++i) {
        profilePresent[i] = r.bits(1);
        levelPresent[i] = r.bits(1);
    }
    if (subLayers > 0) r.skip(2 * (8 - subLayers));
    for (int i = 0; i < subLayers; ++i)
        r.skip((profilePresent[i] ? kProfileBits : 0) + (levelPresent[i] ? kLevelBits : 0));

    HevcPictureFormat f;
    if (r.ue() > 15) return std::nullopt;  // sequence parameter set id
    const quint32 chroma = r.ue();
    if (chroma > 3) return std::nullopt;
    f.chromaFormat = int(chroma);
    if (chroma == 3) r.skip(1);  // separate colour planes
    f.width = r.ue();
    f.height = r.ue();
    if (r.bits(1))  // conformance window: left, right, top, bottom
        for (int i = 0; i < 4; ++i) r.ue();
    const quint32 luma = r.ue(), chromaDepth = r.ue();
    if (r.failed || luma > 8 || chromaDepth > 8) return std::nullopt;
    f.bitDepth = 8 + int(std::max(luma, chroma == 0 ? 0 : chromaDepth));
    return f;
}

}  // namespace orvello
