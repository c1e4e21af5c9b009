// Start-up work before the main window shows: creating the four windows and showing the main
// one (its show handler included), offscreen.
#include "app/entry.h"
#include "app/mainwindow.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

static void BM_CreateAndShowWindows(benchmark::State& state) {
    for (auto _ : state) {
        velmora::createWindows();
        velmora::Form1->show();
        benchmark::DoNotOptimize(velmora::Form1);
        state.PauseTiming();
        velmora::destroyWindows();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CreateAndShowWindows)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir store;
    qputenv("VELMORA_REGISTRY", store.filePath(QStringLiteral("registry.json")).toLocal8Bit());
    // The start-up check meets a closed local port instead of the network.
    qputenv("VELMORA_UPDATE_SERVER", "http://127.0.0.1:9");
    QApplication application(argc, argv);
    velmora::initApplication();
    // The first window of a process pays for loading fonts and styles once; a user's start
    // pays that too, so it is reported separately.
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
