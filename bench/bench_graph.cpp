// One repaint of the graph at 1920×1080 (curve, grid, labels, marks), as a full-screen window
// of the textbook view meets it on every zoom and pan step.
#include "textbook/graph/graphmodel.h"
#include "textbook/graph/graphpainter.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>

namespace {

void repaint(benchmark::State& state, velmora::graph::Curve::Kind kind, double a, double b,
             double c) {
    int argc = 1;
    char name[] = "bench_graph";
    char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const velmora::graph::Curve curve(kind, a, b, c);
    const velmora::graph::GraphModel model =
        velmora::graph::makeGraph(curve,
                                  {{velmora::ExactValue(mpq_class(2)), QStringLiteral("2")},
                                   {velmora::ExactValue(mpq_class(3)), QStringLiteral("3")}},
                                  QLatin1Char(','), 2, {});
    const velmora::graph::GraphColours colours =
        velmora::graph::coloursFrom(QApplication::palette());
    QImage image(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    const velmora::graph::Viewport view(model.firstView, QRectF(image.rect()));
    for (auto _ : state) {
        QPainter painter(&image);
        velmora::graph::paintGraph(painter, model, view, colours, QLatin1Char(','),
                                   QPointF(900, 500));
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

} // namespace

BENCHMARK_CAPTURE(repaint, parabola, velmora::graph::Curve::Quadratic, 1.0, -5.0, 6.0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(repaint, quartic, velmora::graph::Curve::Biquadratic, 1.0, -5.0, 4.0)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
