// Opening a photo (read, decode, EXIF listing, capture date) and saving the canvas, each beside
// its floor: TurboJPEG decoding the same bytes alone, and libjpeg-turbo encoding the same pixels
// alone.
#include "bench/photos.h"
#include "components/jpegwriter.h"
#include "photo/photoloader.h"
#include "tools/fixtures/photowriter.h"

#include <benchmark/benchmark.h>
#include <turbojpeg.h>
#include <QTemporaryDir>

using namespace orvello;

namespace {

struct Fixture {
    QTemporaryDir dir;
    QImage pixels = bench::noisyPhoto();
    QByteArray jpeg = bench::cameraJpeg(pixels);
    QString path = dir.filePath(QStringLiteral("photo24.jpg"));
    Fixture() { fixtures::writeFile(path, jpeg); }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void BM_OpenPhoto(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        LoadedPhoto loaded = loadPhoto(f.path);
        benchmark::DoNotOptimize(loaded.photo.constBits());
        if (loaded.exif.captureDateText.isEmpty()) state.SkipWithError("no capture date");
    }
    state.counters["bytes"] = double(f.jpeg.size());
}

void BM_Floor_TurboJpegDecode(benchmark::State& state)
{
    const Fixture& f = fixture();
    bench::turboJpegDecodeFloor(state, f.jpeg, f.pixels.size());
}

void saveWith(benchmark::State& state, bool optimise)
{
    Fixture& f = fixture();
    JpegOptions options;
    options.optimizeCoding = optimise;
    JpegWriter writer(options);
    const QString out = f.dir.filePath(QStringLiteral("saved.jpg"));
    for (auto _ : state)
        if (!writer.save(f.pixels, out)) state.SkipWithError("save failed");
    state.counters["bytes"] = double(QFileInfo(out).size());
}

void BM_SaveCanvas(benchmark::State& state)
{
    saveWith(state, false);
}
void BM_SaveCanvasOptimisedHuffman(benchmark::State& state)
{
    saveWith(state, true);
}

void BM_Floor_TurboJpegEncode(benchmark::State& state)
{
    Fixture& f = fixture();
    tjhandle tj = tjInitCompress();
    unsigned long size = 0;
    for (auto _ : state) {
        unsigned char* buffer = nullptr;
        tjCompress2(tj, f.pixels.constBits(), f.pixels.width(), int(f.pixels.bytesPerLine()),
                    f.pixels.height(), TJPF_BGRX, &buffer, &size, TJSAMP_444, 100, 0);
        benchmark::DoNotOptimize(buffer);
        tjFree(buffer);
    }
    tjDestroy(tj);
    state.counters["bytes"] = double(size);
}

}  // namespace

BENCHMARK(BM_OpenPhoto)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Floor_TurboJpegDecode)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SaveCanvas)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SaveCanvasOptimisedHuffman)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Floor_TurboJpegEncode)->Unit(benchmark::kMillisecond)->MinTime(2.0);
