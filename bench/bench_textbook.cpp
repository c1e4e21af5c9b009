// The textbook view's work for one solve: the solution in simplest exact form, the layout of its
// lines with the solve (what the user waits for after Calculate), and the painting of the lines
// into an image the size of the window's view.
#include "textbook/formulapainter.h"
#include "textbook/solution.h"
#include "textbook/typedsolution.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

namespace {

namespace textbook = velmora::textbook;

textbook::Problem problem(const char* a, const char* b, const char* c, velmora::EquationType type) {
    const velmora::CoefficientReading reading = textbook::readProblemCoefficients(
        {QString::fromLatin1(a), QString::fromLatin1(b), QString::fromLatin1(c)},
        {u',', u',', u','});
    textbook::Problem problem;
    problem.coefficients = reading.coefficients;
    problem.type = type;
    problem.letter = QStringLiteral("t");
    return problem;
}

void solveQuadratic(benchmark::State& state) {
    const textbook::Problem p = problem("2", "3", "-7", velmora::EquationType::Quadratic);
    for (auto _ : state)
        benchmark::DoNotOptimize(textbook::solve(p, textbook::Words(), u',', 2));
}
BENCHMARK(solveQuadratic);

void solveBiquadraticDenested(benchmark::State& state) {
    const textbook::Problem p = problem("1", "-4", "1", velmora::EquationType::Biquadratic);
    for (auto _ : state)
        benchmark::DoNotOptimize(textbook::solve(p, textbook::Words(), u',', 2));
}
BENCHMARK(solveBiquadraticDenested);

void layOut(const textbook::Solution& solution, QImage& image, const QFont& font) {
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const textbook::FormulaPainter formulas(font);
    qreal y = 0;
    for (const textbook::Formula& line : solution.lines) {
        const textbook::FormulaBox box = formulas.measure(line);
        formulas.paint(painter, QPointF(4, y + box.ascent), line);
        y += box.height() + 4;
    }
}

void layoutAndPaint(benchmark::State& state) {
    const textbook::Solution solution = textbook::solve(
        problem("1", "-5", "3", velmora::EquationType::Biquadratic), textbook::Words(), u',', 2);
    QImage image(900, 900, QImage::Format_ARGB32_Premultiplied);
    QFont font;
    font.setPixelSize(20);
    for (auto _ : state)
        layOut(solution, image, font);
}
BENCHMARK(layoutAndPaint);

// What follows Calculate before anything is drawn: the solution, and the layout of its lines
// (every part measured and placed).
void solveAndLayOut(benchmark::State& state, const char* a, const char* b, const char* c,
                    velmora::EquationType type) {
    const textbook::Problem p = problem(a, b, c, type);
    QFont font;
    font.setPixelSize(20);
    const textbook::FormulaPainter formulas(font);
    for (auto _ : state) {
        const textbook::Solution solution = textbook::solve(p, textbook::Words(), u',', 2);
        qreal height = 0;
        for (const textbook::Formula& line : solution.lines)
            height += formulas.measure(line).height();
        benchmark::DoNotOptimize(height);
    }
}
BENCHMARK_CAPTURE(solveAndLayOut, quadratic, "2", "3", "-7", velmora::EquationType::Quadratic);
BENCHMARK_CAPTURE(solveAndLayOut, biquadratic_nested, "1", "-5", "3",
                  velmora::EquationType::Biquadratic);
BENCHMARK_CAPTURE(solveAndLayOut, cancelling, "0,0001", "999999", "0,0001",
                  velmora::EquationType::Quadratic);

// A line typed as the book prints it: read, brought to the standard form, solved, laid out.
void typedAndLaidOut(benchmark::State& state, const char* line) {
    const QString text = QString::fromUtf8(line);
    QFont font;
    font.setPixelSize(20);
    const textbook::FormulaPainter formulas(font);
    for (auto _ : state) {
        const textbook::TypedOutcome outcome =
            textbook::solveTyped(text, textbook::Words(), u',', 2);
        qreal height = 0;
        for (const textbook::Formula& f : std::get<textbook::TypedSolution>(outcome).solution.lines)
            height += formulas.measure(f).height();
        benchmark::DoNotOptimize(height);
    }
}
BENCHMARK_CAPTURE(typedAndLaidOut, square_of_a_binomial, "(2x − 1)² = 9");
BENCHMARK_CAPTURE(typedAndLaidOut, fractions, "x²/3 − x + 1/2 = 0");
BENCHMARK_CAPTURE(typedAndLaidOut, common_factor, "x³ − 5x² + 6x = 0");

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
