// The time from selecting the next list entry to its 24-megapixel photo being on the canvas,
// stamped, and in the preview: prepared in the background beforehand, and cold. The floor beside
// them: the same photo read and decoded alone.
#include "bench/photos.h"
#include "imaging/photodecoder.h"
#include "tests/support/scriptedhost.h"
#include "tools/fixtures/photowriter.h"
#include "ui/frmmain.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QListWidget>
#include <QTemporaryDir>

using namespace orvello;

namespace {

struct Window {
    QTemporaryDir dir;
    test::ScriptedHost host;
    std::unique_ptr<frmMain> window;
    QListWidget* list = nullptr;
    Window()
    {
        for (int i = 0; i < 2; ++i)
            fixtures::writeFile(dir.filePath(QStringLiteral("IMG_%1.jpg").arg(i)),
                                bench::cameraJpeg(bench::noisyPhoto(6000, 4000, quint32(i + 1))));
        FrmMainEnvironment env;
        env.host = &host;
        env.appDirectory = QStringLiteral(ORVELLO_BIN_DIR);
        env.store = SettingsStore(dir.filePath(QStringLiteral("s.ini")));
        FileDialogResult first;
        first.path = dir.filePath(QStringLiteral("IMG_0.jpg"));
        host.fileAnswers << first;
        window = std::make_unique<frmMain>(std::move(env));
        window->load();
        list = window->control<QListWidget>(QStringLiteral("List1"));
    }
};

Window& window()
{
    static Window w;
    return w;
}

// Steps between the two photos; before each timed step, the other one is shown and, when
// prepared, its neighbour has been read in the background.
void nextPhoto(benchmark::State& state, bool prepared)
{
    Window& w = window();
    for (auto _ : state) {
        state.PauseTiming();
        const int next = 1 - w.list->currentRow();
        QCoreApplication::sendPostedEvents();  // the neighbours start once the photo is shown
        w.window->prefetcher().waitForIdle();
        if (!prepared) w.window->prefetcher().clear();
        state.ResumeTiming();
        w.list->setCurrentRow(next);
    }
    QCoreApplication::sendPostedEvents();
    w.window->prefetcher().waitForIdle();
}

void BM_NextPhoto_Prefetched(benchmark::State& state)
{
    nextPhoto(state, true);
}

void BM_NextPhoto_Cold(benchmark::State& state)
{
    nextPhoto(state, false);
}

void BM_Floor_ReadAndDecode(benchmark::State& state)
{
    Window& w = window();
    const QByteArray path = QFile::encodeName(w.dir.filePath(QStringLiteral("IMG_1.jpg")));
    for (auto _ : state) {
        const FileBytes file = readPhotoFile(path);
        benchmark::DoNotOptimize(decodePhoto(file.bytes).image.constBits());
    }
}

}  // namespace

BENCHMARK(BM_NextPhoto_Prefetched)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(6);
BENCHMARK(BM_NextPhoto_Cold)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(6);
BENCHMARK(BM_Floor_ReadAndDecode)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(6);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
