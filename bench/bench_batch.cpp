// Stamping a folder of 24-megapixel photos with the batch pipeline, beside its floor in the same
// run: the same workers only decoding each photo and encoding it again (no EXIF, no drawing).
#include "app/startup.h"
#include "batch/stampbatch.h"
#include "bench/photos.h"
#include "components/jpegwriter.h"
#include "imaging/photodecoder.h"
#include "tools/fixtures/photowriter.h"

#include <benchmark/benchmark.h>
#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QThreadPool>

using namespace orvello;

namespace {

constexpr int kPhotos = 4;

struct Folder {
    QTemporaryDir dir;
    QList<QByteArray> sources;
    QByteArray out;
    Folder()
    {
        for (int i = 0; i < kPhotos; ++i) {
            const QString path = dir.filePath(QStringLiteral("IMG_%1.jpg").arg(i));
            fixtures::writeFile(path,
                                bench::cameraJpeg(bench::noisyPhoto(6000, 4000, quint32(i + 1))));
            sources << QFile::encodeName(path);
        }
        QDir().mkpath(dir.filePath(QStringLiteral("out")));
        out = QFile::encodeName(dir.filePath(QStringLiteral("out")));
    }
};

Folder& folder()
{
    static Folder f;
    return f;
}

void BM_StampFolder(benchmark::State& state)
{
    Folder& f = folder();
    const int jobs = int(state.range(0));
    StampRecipe recipe;
    recipe.settings.addTXB = true;
    recipe.text1 = QStringLiteral("标题文字");
    for (auto _ : state) {
        const QList<StampItem> items = planStampBatch(f.sources, f.out, ExistingCopies::Overwrite);
        int failed = 0;
        runStampBatch(items, recipe, jobs, [&](int, const StampOutcome& o) {
            failed += o.status != StampOutcome::Status::Written;
        });
        if (failed) state.SkipWithError("a photo failed");
    }
    state.counters["photos/s"] =
        benchmark::Counter(double(kPhotos), benchmark::Counter::kIsIterationInvariantRate);
}

// The same folder stamped, on one worker, with both items in one style (plain, outline, shadow,
// plate), by the full re-encode and losslessly: each style's cost is its time over plain's.
void BM_StampFolderStyled(benchmark::State& state)
{
    Folder& f = folder();
    StampRecipe recipe;
    recipe.settings.addTXB = true;
    recipe.settings.dateStyle = recipe.settings.titleStyle = StampStyle(state.range(0));
    recipe.copy.lossless = state.range(1) != 0;
    recipe.text1 = QStringLiteral("标题文字");
    for (auto _ : state) {
        const QList<StampItem> items = planStampBatch(f.sources, f.out, ExistingCopies::Overwrite);
        int failed = 0;
        runStampBatch(items, recipe, 1, [&](int, const StampOutcome& o) {
            failed += o.status != StampOutcome::Status::Written || !o.notice.isEmpty();
        });
        if (failed) state.SkipWithError("a photo failed or was not copied losslessly");
    }
    state.SetLabel(encodeStampStyle(StampStyle(state.range(0))).toStdString() +
                   (recipe.copy.lossless ? ", lossless" : ", full re-encode"));
    state.counters["photos/s"] =
        benchmark::Counter(double(kPhotos), benchmark::Counter::kIsIterationInvariantRate);
}

// The floor: each worker decodes and re-encodes its photos, nothing else.
void BM_Floor_DecodeEncodeFolder(benchmark::State& state)
{
    Folder& f = folder();
    const int jobs = int(state.range(0));
    for (auto _ : state) {
        std::atomic<int> next{0};
        QThreadPool pool;
        pool.setMaxThreadCount(jobs);
        for (int w = 0; w < jobs; ++w)
            pool.start([&] {
                QImage buffer;  // reused, as the stamping workers do
                for (int i = next++; i < kPhotos; i = next++) {
                    const FileBytes file = readPhotoFile(f.sources[i]);
                    DecodedPhoto decoded = decodePhoto(file.bytes, std::move(buffer));
                    JpegWriter().save(decoded.image, QFile::decodeName(f.out) +
                                                         QStringLiteral("/floor%1.jpg").arg(i));
                    buffer = std::move(decoded.image);
                }
            });
        pool.waitForDone();
    }
    state.counters["photos/s"] =
        benchmark::Counter(double(kPhotos), benchmark::Counter::kIsIterationInvariantRate);
}

const int kCores = std::max(1, QThread::idealThreadCount());

}  // namespace

BENCHMARK(BM_StampFolder)
    ->Arg(1)
    ->Arg(kCores)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_StampFolderStyled)
    ->ArgsProduct({{0, 1, 2, 3}, {0, 1}})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_Floor_DecodeEncodeFolder)
    ->Arg(1)
    ->Arg(kCores)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
