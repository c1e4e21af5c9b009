#include "numbers/numberformat.h"
#include "solver/equation.h"

#include <benchmark/benchmark.h>

#include <QString>

#include <array>

namespace {

using velmora::EquationType;

// One solve as the window runs it after the checks: the numbers, then every text shown.
void solveAndDescribe(benchmark::State& state, EquationType type, double a, double b, double c) {
    const QString letter = QStringLiteral("y");
    const QChar separator = QLatin1Char(',');
    for (auto _ : state) {
        benchmark::DoNotOptimize(a);
        const velmora::EquationNumbers numbers = velmora::solveEquation(a, b, c, type);
        velmora::EquationText text = velmora::describeEquation(numbers, letter, separator);
        benchmark::DoNotOptimize(text);
    }
}

// A spread over the format's branches: integers, fractions, rounding carries, both ends of the
// fixed range, exponent form on either side, negatives and zero.
constexpr std::array<double, 16> spread{
    2.0,  -0.5,   1.0 / 3, 1.4142135623730951,  0.0001, 1e-5, 1e15,     3.6e-18,
    -0.0, 1234.5, 1e14,    0.99999999999999989, -7.25,  6e23, -1.6e-19, 123456789012345.0,
};

void formatSpread(benchmark::State& state) {
    const QChar separator = QLatin1Char(',');
    for (auto _ : state) {
        for (const double value : spread) {
            QString text = velmora::formatGeneral(value, separator);
            benchmark::DoNotOptimize(text);
        }
    }
    // Reported as time per formatted number.
    state.counters["per_number"] = benchmark::Counter(
        static_cast<double>(spread.size()),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK_CAPTURE(solveAndDescribe, biquadratic_8_lines, EquationType::Biquadratic, 1.0, -5.0, 4.0);
BENCHMARK_CAPTURE(solveAndDescribe, quadratic_5_lines, EquationType::Quadratic, 1.0, -3.0, 2.0);
BENCHMARK(formatSpread);

BENCHMARK_MAIN();
