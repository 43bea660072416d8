#include "bench/photos.h"

#include <benchmark/benchmark.h>
#include <turbojpeg.h>

#include "tools/fixtures/photowriter.h"

namespace orvello::bench {

QImage noisyPhoto(int w, int h, quint32 seed)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int n = int((seed >> 24) & 15) - 8;  // about ±8 levels of noise
            const int r = 60 + 120 * x / w + n, g = 90 + 100 * y / h + n,
                      b = 140 + ((x / 97 + y / 89) & 31) + n;
            line[x] = qRgb(qBound(0, r, 255), qBound(0, g, 255), qBound(0, b, 255));
        }
    }
    return img;
}

QByteArray cameraJpeg(const QImage& pixels, int quality)
{
    using fixtures::Dir;
    using fixtures::ExifEntry;
    fixtures::ExifContent exif;
    exif.dateTimeOriginal = QStringLiteral("2007:12:10 14:30:00");
    exif.make = QStringLiteral("Orvello");
    exif.model = QStringLiteral("Bench Camera");
    exif.extra = {
        ExifEntry::rationals(Dir::Image, 0x011A, {{72, 1}}),
        ExifEntry::rationals(Dir::Image, 0x011B, {{72, 1}}),
        ExifEntry::ascii(Dir::Image, 0x0131, QStringLiteral("Firmware 1.02")),
        ExifEntry::ascii(Dir::Image, 0x0132, QStringLiteral("2007:12:10 14:30:00")),
        ExifEntry::rationals(Dir::Exif, 0x829A, {{1, 250}}),
        ExifEntry::rationals(Dir::Exif, 0x829D, {{56, 10}}),
        ExifEntry::shorts(Dir::Exif, 0x8827, {200}),
        ExifEntry::bytes(Dir::Exif, 0x9000, QByteArray("0230", 4)),
        ExifEntry::ascii(Dir::Exif, 0x9004, QStringLiteral("2007:12:10 14:30:00")),
        ExifEntry::rationals(Dir::Exif, 0x920A, {{35, 1}}),
        ExifEntry::bytes(Dir::Exif, 0x927C, QByteArray(4000, '\x5A')),  // a maker note
        ExifEntry::longs(Dir::Exif, 0xA002, {quint32(pixels.width())}),
        ExifEntry::longs(Dir::Exif, 0xA003, {quint32(pixels.height())}),
    };
    exif.thumbnailJpeg = fixtures::makeJpeg(pixels.scaled(160, 120), {}, 80);
    return fixtures::makeJpeg(pixels, exif, quality, fixtures::Chroma::Half420);
}

void turboJpegDecodeFloor(benchmark::State& state, const QByteArray& jpeg, QSize size)
{
    tjhandle tj = tjInitDecompress();
    QImage out(size, QImage::Format_RGB32);
    for (auto _ : state) {
        tjDecompress2(tj, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                      static_cast<unsigned long>(jpeg.size()), out.bits(), out.width(),
                      int(out.bytesPerLine()), out.height(), TJPF_BGRA, 0);
        benchmark::DoNotOptimize(out.constBits());
    }
    tjDestroy(tj);
}

}  // namespace orvello::bench
