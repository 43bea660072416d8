#include "overlay/areascale.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace orvello {

namespace {

constexpr std::uint32_t kUnit = 1u << 16;  // weights of one destination pixel sum to this

// The source span of one destination pixel: first source index and its weights. Source pixel k
// covers [k·dstLen, (k+1)·dstLen) and destination pixel j covers [j·srcLen, (j+1)·srcLen) in the
// same units, so the overlaps are exact integers.
struct Span {
    int first = 0;
    int count = 0;
    int weightOffset = 0;
};

struct Spans {
    std::vector<Span> spans;
    std::vector<std::uint32_t> weights;
};

Spans makeSpans(int srcLen, int dstLen, int from, int to)
{
    Spans s;
    s.spans.reserve(static_cast<size_t>(to - from));
    const std::int64_t src = srcLen;
    const std::int64_t dst = dstLen;
    for (int j = from; j < to; ++j) {
        const std::int64_t a = j * src;
        const std::int64_t b = (j + 1) * src;
        const int first = static_cast<int>(a / dst);
        const int last = static_cast<int>(std::min<std::int64_t>((b - 1) / dst, srcLen - 1));
        Span span{first, last - first + 1, static_cast<int>(s.weights.size())};
        std::uint32_t sum = 0;
        for (int k = first; k <= last; ++k) {
            const std::int64_t lo = std::max<std::int64_t>(a, k * dst);
            const std::int64_t hi = std::min<std::int64_t>(b, (k + 1) * dst);
            const auto w = static_cast<std::uint32_t>(((hi - lo) * kUnit + src / 2) / src);
            s.weights.push_back(w);
            sum += w;
        }
        // Rounding may leave the sum a little off; the largest weight takes up the difference.
        auto begin = s.weights.begin() + span.weightOffset;
        auto biggest = std::max_element(begin, s.weights.end());
        *biggest += kUnit - sum;
        s.spans.push_back(span);
    }
    return s;
}

// One source row reduced horizontally: three channels per destination column, in 16.16 fixed
// point.
void reduceRow(const QRgb* row, const Spans& cols, std::uint32_t* out)
{
    const std::uint32_t* weights = cols.weights.data();
    for (const Span& span : cols.spans) {
        std::uint32_t r = 0, g = 0, b = 0;
        const QRgb* p = row + span.first;
        const std::uint32_t* w = weights + span.weightOffset;
        for (int i = 0; i < span.count; ++i) {
            const QRgb px = p[i];
            r += w[i] * ((px >> 16) & 0xFF);
            g += w[i] * ((px >> 8) & 0xFF);
            b += w[i] * (px & 0xFF);
        }
        out[0] = r;
        out[1] = g;
        out[2] = b;
        out += 3;
    }
}

}  // namespace

void areaScale(const QImage& srcIn, QImage& dst, const QRect& destRect)
{
    if (dst.format() != QImage::Format_RGB32) dst = dst.convertToFormat(QImage::Format_RGB32);
    const QRect visible = destRect & dst.rect();
    if (srcIn.isNull() || visible.isEmpty()) return;

    QImage src = srcIn;
    switch (src.format()) {
        case QImage::Format_RGB32:
        case QImage::Format_ARGB32:
        case QImage::Format_ARGB32_Premultiplied:
            break;
        default:
            src = src.convertToFormat(QImage::Format_RGB32);
            break;
    }

    // Spans are relative to destRect, computed only for its visible part.
    const Spans cols = makeSpans(src.width(), destRect.width(), visible.left() - destRect.left(),
                                 visible.right() + 1 - destRect.left());
    const Spans rows = makeSpans(src.height(), destRect.height(), visible.top() - destRect.top(),
                                 visible.bottom() + 1 - destRect.top());

    const size_t cells = cols.spans.size() * 3;
    // Two reduced rows are kept: in a reduction neighbouring output rows share one boundary row,
    // in an enlargement they share both.
    std::vector<std::uint32_t> cache[2] = {std::vector<std::uint32_t>(cells),
                                           std::vector<std::uint32_t>(cells)};
    int cachedRow[2] = {-1, -1};
    int nextSlot = 0;
    auto reduced = [&](int y) -> const std::uint32_t* {
        for (int s = 0; s < 2; ++s)
            if (cachedRow[s] == y) return cache[s].data();
        const int s = nextSlot;
        nextSlot ^= 1;
        reduceRow(reinterpret_cast<const QRgb*>(src.constScanLine(y)), cols, cache[s].data());
        cachedRow[s] = y;
        return cache[s].data();
    };

    std::vector<std::uint64_t> acc(cells);
    int outY = visible.top();
    for (const Span& span : rows.spans) {
        std::fill(acc.begin(), acc.end(), 0);
        const std::uint32_t* w = rows.weights.data() + span.weightOffset;
        for (int i = 0; i < span.count; ++i) {
            const std::uint32_t* h = reduced(span.first + i);
            const std::uint64_t wi = w[i];
            for (size_t c = 0; c < cells; ++c) acc[c] += wi * h[c];
        }
        QRgb* out = reinterpret_cast<QRgb*>(dst.scanLine(outY++)) + visible.left();
        constexpr std::uint64_t half = std::uint64_t{1} << 31;
        for (size_t c = 0; c < cells; c += 3) {
            const auto r = static_cast<std::uint32_t>((acc[c] + half) >> 32);
            const auto g = static_cast<std::uint32_t>((acc[c + 1] + half) >> 32);
            const auto b = static_cast<std::uint32_t>((acc[c + 2] + half) >> 32);
            *out++ = 0xFF000000u | (std::min(r, 255u) << 16) | (std::min(g, 255u) << 8) |
                     std::min(b, 255u);
        }
    }
}

}  // namespace orvello
