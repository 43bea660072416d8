#include "tests/support/jpegprobe.h"

#include <turbojpeg.h>
#include <algorithm>
#include <cstdlib>

namespace orvello::probe {

QImage grainyPhoto(QSize size, quint32 seed)
{
    QImage img(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int grain = int(seed >> 27) - 16;
            line[x] =
                qRgb(qBound(0, x * 200 / size.width() + grain + 30, 255),
                     qBound(0, y * 180 / size.height() + grain + 40, 255),
                     qBound(0, (x + y) * 120 / (size.width() + size.height()) + grain + 60, 255));
        }
    }
    return img;
}

QImage decode(const QByteArray& jpeg, int flags)
{
    tjhandle tj = tjInitDecompress();
    int w = 0, h = 0, sub = 0, cs = 0;
    QImage img;
    const auto* data = reinterpret_cast<const unsigned char*>(jpeg.constData());
    const auto size = static_cast<unsigned long>(jpeg.size());
    if (tjDecompressHeader3(tj, data, size, &w, &h, &sub, &cs) == 0) {
        img = QImage(w, h, QImage::Format_RGB32);
        if (tjDecompress2(tj, data, size, img.bits(), w, int(img.bytesPerLine()), h, TJPF_BGRX,
                          flags) != 0)
            img = QImage();
    }
    tjDestroy(tj);
    return img;
}

QByteArray plainTurn(const QByteArray& jpeg, PictureTurn turn)
{
    static constexpr int ops[2][4] = {
        {TJXOP_NONE, TJXOP_ROT90, TJXOP_ROT180, TJXOP_ROT270},
        {TJXOP_HFLIP, TJXOP_TRANSVERSE, TJXOP_VFLIP, TJXOP_TRANSPOSE}};
    tjhandle tj = tjInitTransform();
    tjtransform t{};
    t.op = ops[turn.mirror ? 1 : 0][turn.quarters & 3];
    t.options = TJXOPT_PERFECT;
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    QByteArray turned;
    if (tjTransform(tj, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                    static_cast<unsigned long>(jpeg.size()), 1, &out, &outSize, &t, 0) == 0)
        turned = QByteArray(reinterpret_cast<char*>(out), qsizetype(outSize));
    tjFree(out);
    tjDestroy(tj);
    return turned;
}

int changedOutside(const QImage& a, const QImage& b, const QList<QRect>& allowed)
{
    if (a.size() != b.size()) return -1;
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* pa = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* pb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            if (pa[x] != pb[x] && std::none_of(allowed.begin(), allowed.end(),
                                               [&](const QRect& r) { return r.contains(x, y); }))
                ++count;
    }
    return count;
}

double meanDifference(const QImage& a, const QImage& b, const QRect& r)
{
    double sum = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * r.width() * r.height());
}

}  // namespace orvello::probe
