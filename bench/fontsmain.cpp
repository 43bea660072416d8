// The main of every benchmark that draws stamps: headless, with the date faces loaded as the
// program loads them.
#include "app/startup.h"

#include <benchmark/benchmark.h>
#include <QGuiApplication>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (!orvello::loadDateFonts(QStringLiteral(ORVELLO_BIN_DIR))) return 3;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
