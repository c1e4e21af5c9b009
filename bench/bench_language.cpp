// Loading a language as the program does it: find the shipped file, read it once and fill the
// eight text tables, 104 entries.
#include "state/global.h"
#include "state/language.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

static void BM_LoadLanguage(benchmark::State& state, const char* name) {
    const QString language = QString::fromLatin1(name);
    for (auto _ : state) {
        velmora::loadLanguage(language);
        benchmark::DoNotOptimize(velmora::Global::text(velmora::TextTable::Messages, 13));
    }
    if (velmora::Global::text(velmora::TextTable::Messages, 13).isEmpty())
        state.SkipWithError("the language file was not found");
}
BENCHMARK_CAPTURE(BM_LoadLanguage, Russian, "Russian")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_LoadLanguage, English, "English")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_LoadLanguage, Ukrainian, "Ukrainian")->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    // The shipped files, whatever folder the benchmark runs from.
    qputenv("VELMORA_DATA_DIR", QByteArray(VELMORA_SOURCE_DIR));
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
