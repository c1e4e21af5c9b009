#include "trig/trigcore.h"

#include <benchmark/benchmark.h>

#include <QString>

namespace {

using velmora::TrigFunction;

// One evaluation as the page runs it: read the input, then answer (with formatting).
void evaluate(benchmark::State& state, TrigFunction f, const QString& input) {
    const QChar separator = QLatin1Char(',');
    for (auto _ : state) {
        const double x = velmora::readTrigInput(input, separator);
        QString answer = velmora::trigAnswer(f, input, x, separator);
        benchmark::DoNotOptimize(answer);
    }
}

void formatOnly(benchmark::State& state, long double value) {
    const QChar separator = QLatin1Char(',');
    for (auto _ : state) {
        benchmark::DoNotOptimize(value);
        QString answer = velmora::formatTrigResult(value, separator);
        benchmark::DoNotOptimize(answer);
    }
}

} // namespace

BENCHMARK_CAPTURE(evaluate, sin_90_exact, TrigFunction::Sin, QStringLiteral("90"));
BENCHMARK_CAPTURE(evaluate, sin_30, TrigFunction::Sin, QStringLiteral("30"));
BENCHMARK_CAPTURE(evaluate, tg_89_9999, TrigFunction::Tg, QStringLiteral("89,9999"));
BENCHMARK_CAPTURE(evaluate, arcsin_0_5, TrigFunction::Arcsin, QStringLiteral("0,5"));
BENCHMARK_CAPTURE(formatOnly, fixed, 1.7320508075688772L);
BENCHMARK_CAPTURE(formatOnly, scientific, 572957.79510434426L);

BENCHMARK_MAIN();
