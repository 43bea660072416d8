// Stamping a 24-megapixel JPEG without re-compressing it, beside the full re-encode of the same
// photo and beside its floor, measured in the same run: the library's lossless transform with no
// filter (reading and writing the coefficients alone). "copy/source" is the copy's size against
// the photo's.
#include "app/startup.h"
#include "batch/stampbatch.h"
#include "bench/photos.h"
#include "components/jpegwriter.h"
#include "imaging/rotation.h"
#include "tools/fixtures/photowriter.h"

#include <benchmark/benchmark.h>
#include <turbojpeg.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

using namespace orvello;

namespace {

// Photos as cameras write them (standard Huffman tables) and as editors do (optimised ones).
struct Photos {
    QTemporaryDir dir;
    QByteArray camera, optimised;
    QByteArray out;
    Photos()
    {
        const QImage pixels = bench::noisyPhoto(6000, 4000);
        camera = save(QStringLiteral("camera.jpg"), bench::cameraJpeg(pixels));
        JpegOptions optimising;
        optimising.quality = 92;
        optimising.fullChroma = false;
        optimising.optimizeCoding = true;
        optimised = save(QStringLiteral("optimised.jpg"), encodeJpeg(pixels, optimising));
        QDir().mkpath(dir.filePath(QStringLiteral("out")));
        out = QFile::encodeName(dir.filePath(QStringLiteral("out")));
    }
    QByteArray save(const QString& name, const QByteArray& bytes)
    {
        fixtures::writeFile(dir.filePath(name), bytes);
        return QFile::encodeName(dir.filePath(name));
    }
    const QByteArray& photo(int kind) const { return kind == 0 ? camera : optimised; }
};

Photos& photos()
{
    static Photos p;
    return p;
}

qint64 sizeOf(const QByteArray& path)
{
    return QFileInfo(QFile::decodeName(path)).size();
}

void stamp(benchmark::State& state, bool lossless)
{
    Photos& p = photos();
    const QByteArray& source = p.photo(int(state.range(0)));
    StampRecipe recipe;
    recipe.settings.addTXB = true;
    recipe.text1 = QStringLiteral("标题文字");
    recipe.copy.lossless = lossless;
    if (state.range(1)) recipe.turns << Rotate90;
    const StampItem item{source, p.out + "/copy.jpg", {}, false, ExistingCopies::Overwrite};
    for (auto _ : state) {
        StampWorker worker(recipe);
        const StampOutcome outcome = worker.run(item);
        if (outcome.status != StampOutcome::Status::Written || !outcome.notice.isEmpty())
            state.SkipWithError("not written as asked");
    }
    state.counters["copy/source"] = double(sizeOf(item.target)) / double(sizeOf(source));
}

void BM_StampLossless(benchmark::State& state)
{
    stamp(state, true);
}

void BM_StampFullReencode(benchmark::State& state)
{
    stamp(state, false);
}

// The floor: the same turn done by the library alone, reading and writing every coefficient.
void BM_Floor_TransformNoFilter(benchmark::State& state)
{
    QFile file(QFile::decodeName(photos().photo(int(state.range(0)))));
    file.open(QIODevice::ReadOnly);
    const QByteArray source = file.readAll();
    tjhandle tj = tjInitTransform();
    tjtransform t{};
    t.op = state.range(1) ? TJXOP_ROT270 : TJXOP_NONE;
    t.options = TJXOPT_PERFECT | TJXOPT_COPYNONE;
    unsigned long outSize = 0;
    for (auto _ : state) {
        unsigned char* out = nullptr;
        if (tjTransform(tj, reinterpret_cast<const unsigned char*>(source.constData()),
                        static_cast<unsigned long>(source.size()), 1, &out, &outSize, &t, 0) != 0)
            state.SkipWithError(tjGetErrorStr2(tj));
        tjFree(out);
    }
    tjDestroy(tj);
    state.counters["copy/source"] = double(outSize) / double(source.size());
}

// Arguments: the photo (0 camera, 1 optimised tables) and the turn (0 none, 1 left).
void photoArgs(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"optimised", "left"});
    for (int kind : {0, 1})
        for (int turn : {0, 1}) b->Args({kind, turn});
    b->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
}

}  // namespace

BENCHMARK(BM_StampLossless)->Apply(photoArgs);
BENCHMARK(BM_Floor_TransformNoFilter)->Apply(photoArgs);
BENCHMARK(BM_StampFullReencode)->Apply(photoArgs);
