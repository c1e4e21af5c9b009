#include "numbers/numberformat.h"
#include "solver/equation.h"

#include <benchmark/benchmark.h>

#include <QString>

#include <array>

namespace {

using velmora::EquationType;

// One solve as the window runs it: the typed texts read as exact numbers, the true values of
// the solve, then every text shown.
void solveAndDescribe(benchmark::State& state, EquationType type, const char* a, const char* b,
                      const char* c) {
    const QString letter = QStringLiteral("y");
    const QChar separator = QLatin1Char(',');
    const std::array<QString, 3> texts{QString::fromUtf8(a), QString::fromUtf8(b),
                                       QString::fromUtf8(c)};
    for (auto _ : state) {
        const velmora::CoefficientReading reading =
            velmora::readCoefficients(texts, {separator, separator, separator});
        const velmora::EquationNumbers numbers = velmora::solveEquation(reading.coefficients, type);
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

// Rational roots, irrational roots, a perfect square, and a root that cancels in -b + √D.
BENCHMARK_CAPTURE(solveAndDescribe, quadratic_5_lines, EquationType::Quadratic, "1", "-3", "2");
BENCHMARK_CAPTURE(solveAndDescribe, quadratic_irrational, EquationType::Quadratic, "3", "1", "-1");
BENCHMARK_CAPTURE(solveAndDescribe, quadratic_decimals, EquationType::Quadratic, "-0,3", "0,7",
                  "1,9");
BENCHMARK_CAPTURE(solveAndDescribe, quadratic_square, EquationType::Quadratic, "1", "1,4", "0,49");
BENCHMARK_CAPTURE(solveAndDescribe, quadratic_cancelling, EquationType::Quadratic, "0,0001",
                  "999999", "0,0001");
BENCHMARK_CAPTURE(solveAndDescribe, biquadratic_8_lines, EquationType::Biquadratic, "1", "-5", "4");
BENCHMARK_CAPTURE(solveAndDescribe, biquadratic_irrational, EquationType::Biquadratic, "1", "-5",
                  "3");
BENCHMARK(formatSpread);

BENCHMARK_MAIN();
