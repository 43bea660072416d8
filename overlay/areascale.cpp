#include "overlay/areascale.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace orvello {

namespace {

constexpr std::uint32_t kUnit = 1u << 16;  // weights of one destination pixel sum to this

// The source span of one destination pixel. Source pixel k covers [k·dstLen, (k+1)·dstLen) and
// destination pixel j covers [j·srcLen, (j+1)·srcLen) in the same units, so the overlaps are
// exact integers. Every pixel strictly inside the span is covered fully and has the same weight;
// only the two end pixels are covered in part.
struct Span {
    int first = 0;
    int count = 0;
    std::uint32_t firstWeight = 0;
    std::uint32_t innerWeight = 0;
    std::uint32_t lastWeight = 0;
};

std::vector<Span> makeSpans(int srcLen, int dstLen, int from, int to)
{
    std::vector<Span> spans;
    spans.reserve(static_cast<size_t>(to - from));
    const std::int64_t src = srcLen;
    const std::int64_t dst = dstLen;
    const auto weight = [&](std::int64_t overlap) {
        return static_cast<std::uint32_t>(overlap * kUnit / src);  // rounded down
    };
    for (int j = from; j < to; ++j) {
        const std::int64_t a = j * src;
        const std::int64_t b = (j + 1) * src;
        Span span;
        span.first = static_cast<int>(a / dst);
        const int last = static_cast<int>(std::min<std::int64_t>((b - 1) / dst, srcLen - 1));
        span.count = last - span.first + 1;
        if (span.count == 1) {
            span.firstWeight = kUnit;
        } else {
            span.firstWeight = weight((span.first + 1) * dst - a);
            span.innerWeight = weight(dst);
            // The last pixel takes what rounding left, so the weights sum to exactly one.
            span.lastWeight = kUnit - span.firstWeight -
                              span.innerWeight * static_cast<std::uint32_t>(span.count - 2);
        }
        spans.push_back(span);
    }
    return spans;
}

// Inner pixels of a span share one weight, so they are summed first. Red and blue add up side by
// side in the 16-bit lanes of one word, which hold up to 257 pixels; longer runs go in pieces.
constexpr int kLaneCapacity = 257;

// A source row added into the column totals with one weight: three channels per source column,
// in 16.16 fixed point.
void addWeightedRow(const QRgb* row, int n, std::uint32_t weight, std::uint32_t* red,
                    std::uint32_t* green, std::uint32_t* blue)
{
    for (int x = 0; x < n; ++x) {
        const QRgb px = row[x];
        red[x] += weight * ((px >> 16) & 0xFF);
        green[x] += weight * ((px >> 8) & 0xFF);
        blue[x] += weight * (px & 0xFF);
    }
}

}  // namespace

void areaScale(const QImage& srcIn, QImage& dst, const QRect& destRect, const QRect& only)
{
    if (dst.format() != QImage::Format_RGB32) dst = dst.convertToFormat(QImage::Format_RGB32);
    const QRect visible = only.isNull() ? destRect & dst.rect() : destRect & dst.rect() & only;
    if (srcIn.isNull() || visible.isEmpty()) return;

    QImage src = srcIn;
    switch (src.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied: break;
    default: src = src.convertToFormat(QImage::Format_RGB32); break;
    }

    // Spans are relative to destRect, computed only for its visible part.
    const std::vector<Span> cols =
        makeSpans(src.width(), destRect.width(), visible.left() - destRect.left(),
                  visible.right() + 1 - destRect.left());
    const std::vector<Span> rows =
        makeSpans(src.height(), destRect.height(), visible.top() - destRect.top(),
                  visible.bottom() + 1 - destRect.top());

    // Source columns that reach a visible output column.
    const int x0 = cols.front().first;
    const int n = cols.back().first + cols.back().count - x0;
    std::vector<std::uint32_t> red(n), green(n), blue(n), redBlueSum(n), greenSum(n);

    // Rows first: the source rows of one output row are added into column totals (the inner
    // rows unweighted, in lanes), then the totals are reduced along the row.
    int outY = visible.top();
    for (const Span& span : rows) {
        std::fill(red.begin(), red.end(), 0);
        std::fill(green.begin(), green.end(), 0);
        std::fill(blue.begin(), blue.end(), 0);
        auto line = [&](int y) { return reinterpret_cast<const QRgb*>(src.constScanLine(y)) + x0; };
        addWeightedRow(line(span.first), n, span.firstWeight, red.data(), green.data(),
                       blue.data());
        for (int i = 1; i < span.count - 1;) {
            const int end = std::min(span.count - 1, i + kLaneCapacity);
            std::fill(redBlueSum.begin(), redBlueSum.end(), 0);
            std::fill(greenSum.begin(), greenSum.end(), 0);
            for (; i < end; ++i) {
                const QRgb* p = line(span.first + i);
                for (int x = 0; x < n; ++x) {
                    redBlueSum[x] += p[x] & 0x00FF00FF;
                    greenSum[x] += (p[x] >> 8) & 0xFF;
                }
            }
            const std::uint32_t w = span.innerWeight;
            for (int x = 0; x < n; ++x) {
                red[x] += w * (redBlueSum[x] >> 16);
                green[x] += w * greenSum[x];
                blue[x] += w * (redBlueSum[x] & 0xFFFF);
            }
        }
        if (span.count > 1)
            addWeightedRow(line(span.first + span.count - 1), n, span.lastWeight, red.data(),
                           green.data(), blue.data());

        QRgb* out = reinterpret_cast<QRgb*>(dst.scanLine(outY++)) + visible.left();
        for (const Span& col : cols) {
            const int c = col.first - x0;
            std::uint64_t r = std::uint64_t{col.firstWeight} * red[c];
            std::uint64_t g = std::uint64_t{col.firstWeight} * green[c];
            std::uint64_t b = std::uint64_t{col.firstWeight} * blue[c];
            if (col.count > 1) {
                std::uint64_t ri = 0, gi = 0, bi = 0;
                for (int k = c + 1; k < c + col.count - 1; ++k) {
                    ri += red[k];
                    gi += green[k];
                    bi += blue[k];
                }
                const int last = c + col.count - 1;
                r += col.innerWeight * ri + std::uint64_t{col.lastWeight} * red[last];
                g += col.innerWeight * gi + std::uint64_t{col.lastWeight} * green[last];
                b += col.innerWeight * bi + std::uint64_t{col.lastWeight} * blue[last];
            }
            constexpr std::uint64_t half = std::uint64_t{1} << 31;
            const auto cr =
                static_cast<std::uint32_t>(std::min<std::uint64_t>((r + half) >> 32, 255));
            const auto cg =
                static_cast<std::uint32_t>(std::min<std::uint64_t>((g + half) >> 32, 255));
            const auto cb =
                static_cast<std::uint32_t>(std::min<std::uint64_t>((b + half) >> 32, 255));
            *out++ = 0xFF000000u | (cr << 16) | (cg << 8) | cb;
        }
    }
}

QRect areaScaleFootprint(QSize srcSize, const QRect& destRect, const QRect& srcRect)
{
    const QRect changed = srcRect & QRect(QPoint(0, 0), srcSize);
    if (changed.isEmpty() || destRect.isEmpty()) return {};
    // Destination pixel j covers source [j·src/dst, (j+1)·src/dst): the pixels from just before
    // the first changed one up to just after the last one, one more each side for rounding.
    const auto range = [](int srcLen, int dstLen, int first, int last) {
        const std::int64_t from = std::int64_t{first} * dstLen / srcLen - 1;
        const std::int64_t to = (std::int64_t{last} + 1) * dstLen / srcLen + 1;
        return std::pair<int, int>(static_cast<int>(std::max<std::int64_t>(from, 0)),
                                   static_cast<int>(std::min<std::int64_t>(to, dstLen - 1)));
    };
    const auto [x0, x1] = range(srcSize.width(), destRect.width(), changed.left(), changed.right());
    const auto [y0, y1] =
        range(srcSize.height(), destRect.height(), changed.top(), changed.bottom());
    return QRect(QPoint(x0, y0), QPoint(x1, y1)).translated(destRect.topLeft());
}

}  // namespace orvello
