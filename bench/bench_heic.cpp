// Opening a 12-megapixel phone photo as HEIC beside the same photo as JPEG (read, decode, EXIF
// listing, capture date), each beside its floor: libheif decoding the HEIC alone into RGBA, and
// TurboJPEG decoding the JPEG alone. A grid of tiles, as phones write it, shows libheif's own
// threads at work.
#include "bench/photos.h"
#include "photo/photoloader.h"
#include "tools/fixtures/heifwriter.h"
#include "tools/fixtures/photowriter.h"

#include <benchmark/benchmark.h>
#include <libheif/heif.h>
#include <QTemporaryDir>

using namespace orvello;

namespace {

struct Fixture {
    QTemporaryDir dir;
    QImage pixels = bench::noisyPhoto(4032, 3024);
    QByteArray jpeg = bench::cameraJpeg(pixels);
    QByteArray heic;
    QByteArray grid;  // as phones store it: 8 x 6 tiles of 512 x 512, decoded on several threads
    QString gridPath = dir.filePath(QStringLiteral("phone12-grid.heic"));
    QString jpegPath = dir.filePath(QStringLiteral("phone12.jpg"));
    QString heicPath = dir.filePath(QStringLiteral("phone12.heic"));
    Fixture()
    {
        fixtures::ExifContent exif;
        exif.make = QStringLiteral("Orvello");
        exif.model = QStringLiteral("Phone 12 MP");
        exif.dateTimeOriginal = QStringLiteral("2026:05:01 10:20:30");
        fixtures::HeicVariant v;
        v.quickEncode = true;
        heic = fixtures::makeHeic(pixels, fixtures::makeExifTiff(exif), v);
        fixtures::writeFile(jpegPath, jpeg);
        fixtures::writeFile(heicPath, heic);
        grid = fixtures::makeGridHeic(pixels.copy(0, 0, 512, 512), 8, 6);
        fixtures::writeFile(gridPath, grid);
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void open(benchmark::State& state, const QString& path, qint64 bytes)
{
    for (auto _ : state) {
        LoadedPhoto loaded = loadPhoto(path);
        benchmark::DoNotOptimize(loaded.photo.constBits());
        if (loaded.exif.captureDateText.isEmpty()) state.SkipWithError("no capture date");
    }
    state.counters["bytes"] = double(bytes);
}

void BM_OpenHeic12MP(benchmark::State& state)
{
    open(state, fixture().heicPath, fixture().heic.size());
}

void BM_OpenHeicGrid12MP(benchmark::State& state)
{
    for (auto _ : state) {
        LoadedPhoto loaded = loadPhoto(fixture().gridPath);
        benchmark::DoNotOptimize(loaded.photo.constBits());
        if (loaded.photo.isNull()) state.SkipWithError("not decoded");
    }
    state.counters["bytes"] = double(fixture().grid.size());
}

void BM_OpenJpeg12MP(benchmark::State& state)
{
    open(state, fixture().jpegPath, fixture().jpeg.size());
}

void BM_Floor_LibheifDecode12MP(benchmark::State& state)
{
    const QByteArray& heic = fixture().heic;
    for (auto _ : state) {
        heif_context* ctx = heif_context_alloc();
        heif_context_read_from_memory_without_copy(ctx, heic.constData(), size_t(heic.size()),
                                                   nullptr);
        heif_image_handle* handle = nullptr;
        heif_context_get_primary_image_handle(ctx, &handle);
        heif_image* image = nullptr;
        const heif_error err = heif_decode_image(handle, &image, heif_colorspace_RGB,
                                                 heif_chroma_interleaved_RGBA, nullptr);
        if (err.code != heif_error_Ok) state.SkipWithError(err.message);
        benchmark::DoNotOptimize(image);
        heif_image_release(image);
        heif_image_handle_release(handle);
        heif_context_free(ctx);
    }
}

void BM_Floor_TurboJpegDecode12MP(benchmark::State& state)
{
    const Fixture& f = fixture();
    bench::turboJpegDecodeFloor(state, f.jpeg, f.pixels.size());
}

}  // namespace

// Real time: libheif decodes on threads of its own.
BENCHMARK(BM_OpenHeic12MP)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_Floor_LibheifDecode12MP)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_OpenHeicGrid12MP)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_OpenJpeg12MP)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_Floor_TurboJpegDecode12MP)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
