// DrawOverlay + ShowPreview on a 24-megapixel canvas, beside its floor: copying the photo into
// the canvas and reducing it to the preview with no text at all. And a nudge on that canvas,
// redrawn in part and in full, beside the floor of the part: restoring the rectangles the text
// covers and reducing the preview pixels they reach, with no text drawn.
#include "app/startup.h"
#include "overlay/areascale.h"
#include "overlay/overlay.h"
#include "overlay/overlaycommands.h"
#include "overlay/overlayredraw.h"
#include "overlay/overlaytext.h"

#include <benchmark/benchmark.h>
#include <QGuiApplication>
#include <QRegion>

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

// The date goes right and back left, so every iteration is one nudge from the same places.
OverlayCommand nudge(int iteration)
{
    return iteration % 2 ? OverlayCommand::DateLeft : OverlayCommand::DateRight;
}

void BM_Nudge_Incremental(benchmark::State& state)
{
    const QImage& photo = photo24();
    OverlayInput input = bothItems();
    QImage canvas, preview;
    OverlayRedraw redraw;
    redraw.drawOverlay(canvas, photo, input);
    redraw.showPreview(preview, canvas, input.isPortrait);
    int i = 0;
    for (auto _ : state) {
        runOverlayCommand(nudge(i++), input.settings, true);
        redraw.redraw(canvas, preview, photo, input);
        if (!redraw.lastWasIncremental()) state.SkipWithError("the nudge was redrawn in full");
        benchmark::DoNotOptimize(preview.constBits());
    }
}

void BM_Nudge_Full(benchmark::State& state)
{
    const QImage& photo = photo24();
    OverlayInput input = bothItems();
    QImage canvas, preview;
    DrawOverlay(canvas, photo, input);
    int i = 0;
    for (auto _ : state) {
        runOverlayCommand(nudge(i++), input.settings, true);
        DrawOverlay(canvas, photo, input);
        ShowPreview(preview, canvas, input.isPortrait);
        benchmark::DoNotOptimize(preview.constBits());
    }
}

// The floor of the incremental nudge: the date's old and new rectangles copied back from the
// photo and the preview pixels they reach reduced again, without laying out or painting text.
void BM_Floor_NudgeRestoreAndReduce(benchmark::State& state)
{
    const QImage& photo = photo24();
    OverlayInput input = bothItems();
    QImage canvas, preview;
    DrawOverlay(canvas, photo, input);
    ShowPreview(preview, canvas, input.isPortrait);
    QRegion changed;
    for (OverlayCommand command : {OverlayCommand::DateRight, OverlayCommand::DateLeft}) {
        const PreparedOverlay before = prepareOverlay(canvas, input);
        runOverlayCommand(command, input.settings, true);
        changed += before.date.inkRect;
    }
    const QRect destRect = previewRectPixels(canvas.size(), false, preview.size());
    for (auto _ : state) {
        restoreFromPhoto(canvas, photo, changed);
        for (const QRect& r : changed)
            areaScale(canvas, preview, destRect, areaScaleFootprint(canvas.size(), destRect, r));
        benchmark::DoNotOptimize(preview.constBits());
    }
    state.counters["changedPixels"] = [&] {
        double n = 0;
        for (const QRect& r : changed) n += double(r.width()) * r.height();
        return n;
    }();
}

// Where the rest of the incremental nudge goes: laying out both items and painting the date
// inside the rectangles it changes (text drawn over text; only the time counts).
void BM_Part_NudgeTextOnly(benchmark::State& state)
{
    const QImage& photo = photo24();
    OverlayInput input = bothItems();
    QImage canvas;
    DrawOverlay(canvas, photo, input);
    const QRegion changed = QRegion(prepareOverlay(canvas, input).date.inkRect);
    for (auto _ : state) {
        const PreparedOverlay overlay = prepareOverlay(canvas, input);
        paintOverlay(canvas, overlay, changed);
        benchmark::DoNotOptimize(canvas.constBits());
    }
}

// Both items laid out in one style on the 24-megapixel canvas and painted onto it, clipped to
// their ink as a lossless copy paints them, as for the photos of a folder: the date differs from
// photo to photo, the title stays. Each style's cost over plain's is what it adds to a photo.
void BM_PrepareAndPaintStyled(benchmark::State& state)
{
    QImage canvas = photo24().copy();
    OverlayInput input = bothItems();
    input.dateStyle = input.titleStyle = StampStyle(state.range(0));
    int second = 0;
    for (auto _ : state) {
        input.captureDateText =
            QStringLiteral("2007-12-10 14:30:%1").arg(second++ % 60, 2, 10, QLatin1Char('0'));
        const PreparedOverlay overlay = prepareOverlay(canvas, input);
        for (const PreparedText* item : {&overlay.date, &overlay.title})
            paintOverlay(canvas, overlay, QRegion(item->inkRect));
        benchmark::DoNotOptimize(canvas.constBits());
    }
    state.SetLabel(encodeStampStyle(StampStyle(state.range(0))).toStdString());
}

}  // namespace

BENCHMARK(BM_PrepareAndPaintStyled)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Nudge_Incremental)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Floor_NudgeRestoreAndReduce)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Part_NudgeTextOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Nudge_Full)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawOverlayAndShowPreview)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Floor_CopyCanvasAndShowPreview)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Floor_ShowPreviewOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Compare_QtSmoothScaled)->Unit(benchmark::kMillisecond);
