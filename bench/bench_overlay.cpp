// DrawOverlay + ShowPreview on a 24-megapixel canvas, beside its floor: copying the photo into
// the canvas and reducing it to the preview with no text at all.
#include "app/startup.h"
#include "overlay/areascale.h"
#include "overlay/overlay.h"

#include <benchmark/benchmark.h>
#include <QGuiApplication>

using namespace orvello;

namespace {

const QImage& photo24()
{
    static const QImage image = [] {
        QImage p(6000, 4000, QImage::Format_RGB32);
        // A gradient, so the reduction works on varied pixels.
        for (int y = 0; y < p.height(); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(p.scanLine(y));
            for (int x = 0; x < p.width(); ++x)
                line[x] = qRgb(x * 255 / p.width(), y * 255 / p.height(), (x + y) & 0xFF);
        }
        return p;
    }();
    return image;
}

OverlayInput bothItems()
{
    AppSettings s;
    s.addDTB = true;
    s.addTXB = true;
    return makeOverlayInput(s, QStringLiteral("2007-12-10 14:30:00"), QStringLiteral("标题文字"),
                            false);
}

void BM_DrawOverlayAndShowPreview(benchmark::State& state)
{
    const QImage& photo = photo24();
    const OverlayInput input = bothItems();
    QImage canvas;
    QImage preview(previewPixelSize(), QImage::Format_RGB32);
    for (auto _ : state) {
        DrawOverlay(canvas, photo, input);
        ShowPreview(preview, canvas, input.isPortrait);
        benchmark::DoNotOptimize(preview.constBits());
    }
}

// The floor: the canvas takes its own copy of the photo (as drawing on it does) and is reduced.
void BM_Floor_CopyCanvasAndShowPreview(benchmark::State& state)
{
    const QImage& photo = photo24();
    QImage canvas;
    QImage preview(previewPixelSize(), QImage::Format_RGB32);
    for (auto _ : state) {
        clearCanvas(canvas, photo);
        benchmark::DoNotOptimize(canvas.bits());  // detaches: a full copy
        ShowPreview(preview, canvas, false);
        benchmark::DoNotOptimize(preview.constBits());
    }
}

void BM_Floor_ShowPreviewOnly(benchmark::State& state)
{
    const QImage& photo = photo24();
    QImage preview(previewPixelSize(), QImage::Format_RGB32);
    for (auto _ : state) {
        ShowPreview(preview, photo, false);
        benchmark::DoNotOptimize(preview.constBits());
    }
}

// For comparison: Qt's own smooth reduction to the same size (not area-averaging).
void BM_Compare_QtSmoothScaled(benchmark::State& state)
{
    const QImage& photo = photo24();
    for (auto _ : state) {
        QImage small = photo.scaled(482, 321, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        benchmark::DoNotOptimize(small.constBits());
    }
}

}  // namespace

BENCHMARK(BM_DrawOverlayAndShowPreview)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Floor_CopyCanvasAndShowPreview)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Floor_ShowPreviewOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Compare_QtSmoothScaled)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (!loadDateFonts(QStringLiteral(ORVELLO_BIN_DIR))) return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
