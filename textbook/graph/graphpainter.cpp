#include "textbook/graph/graphpainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace velmora::graph {
namespace {

double luminance(const QColor& colour) {
    const auto channel = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

QColor blend(const QColor& from, const QColor& to, double share) {
    return QColor::fromRgbF(float(from.redF() + (to.redF() - from.redF()) * share),
                            float(from.greenF() + (to.greenF() - from.greenF()) * share),
                            float(from.blueF() + (to.blueF() - from.blueF()) * share));
}

// The colour, made lighter or darker (away from the background) until it reaches the ratio.
QColor readable(QColor colour, const QColor& background, double ratio) {
    const QColor towards = luminance(background) > 0.5 ? QColor(Qt::black) : QColor(Qt::white);
    for (int step = 0; step < 20 && contrastRatio(colour, background) < ratio; ++step)
        colour = blend(colour, towards, 0.15);
    return colour;
}

// Pixels far outside the picture are held there, so a steep curve's far end stays a line.
double held(double pixel, double size) {
    return std::clamp(pixel, -8 * size, 9 * size);
}

// The grid's lines: about every six text lines across and every three down.
struct Grid {
    std::vector<double> xs, ys;
};

Grid gridOf(const Viewport& viewport, double unit) {
    const Range& range = viewport.range();
    const QRectF area = viewport.pixels();
    return {ticks(range.xMin, range.xMax, std::max(2, int(area.width() / (6 * unit)))),
            ticks(range.yMin, range.yMax, std::max(2, int(area.height() / (3 * unit))))};
}

void drawGrid(QPainter& painter, const Viewport& viewport, const Grid& grid, const QColor& colour) {
    const QRectF area = viewport.pixels();
    painter.setPen(QPen(colour, 1));
    for (const double x : grid.xs) {
        const double px = viewport.toPixels({x, 0}).x();
        painter.drawLine(QPointF(px, area.top()), QPointF(px, area.bottom()));
    }
    for (const double y : grid.ys) {
        const double py = viewport.toPixels({0, y}).y();
        painter.drawLine(QPointF(area.left(), py), QPointF(area.right(), py));
    }
}

// The grid lines' numbers along the axes, or along the picture's edge where an axis is out of
// view; none at 0, where the axes cross.
void drawTickLabels(QPainter& painter, const Viewport& viewport, const Grid& grid,
                    const QFontMetricsF& metrics, const QColor& colour, QChar separator) {
    const QRectF area = viewport.pixels();
    const double unit = metrics.height();
    const QPointF origin = viewport.toPixels({0, 0});
    const double axisY = std::clamp(origin.y(), area.top(), area.bottom() - unit);
    const double axisX = std::clamp(origin.x(), area.left(), area.right() - 3 * unit);
    painter.setPen(colour);
    for (const double x : grid.xs) {
        if (x == 0)
            continue;
        const double px = viewport.toPixels({x, 0}).x();
        painter.drawText(QPointF(px + 2, axisY + metrics.ascent() + 2), shortNumber(x, separator));
    }
    for (const double y : grid.ys) {
        if (y == 0)
            continue;
        const double py = viewport.toPixels({0, y}).y();
        painter.drawText(QPointF(axisX + 3, py - 2), shortNumber(y, separator));
    }
}

void drawAxes(QPainter& painter, const Viewport& viewport, std::optional<double> symmetryAxis,
              const QColor& colour) {
    const QRectF area = viewport.pixels();
    const QPointF origin = viewport.toPixels({0, 0});
    painter.setPen(QPen(colour, 1.5));
    painter.drawLine(QPointF(area.left(), origin.y()), QPointF(area.right(), origin.y()));
    painter.drawLine(QPointF(origin.x(), area.top()), QPointF(origin.x(), area.bottom()));
    if (!symmetryAxis)
        return;
    const double px = viewport.toPixels({*symmetryAxis, 0}).x();
    painter.setPen(QPen(colour, 1, Qt::DashLine));
    painter.drawLine(QPointF(px, area.top()), QPointF(px, area.bottom()));
}

// The curve in pixels, from the model's points: one every pixel column, enough at any zoom for
// a polynomial this low.
QPainterPath curvePath(const Curve& curve, const Viewport& viewport) {
    const QRectF area = viewport.pixels();
    const QTransform toPixels = viewport.transform();
    const int columns = std::max(2, int(std::ceil(area.width())));
    QPainterPath path;
    for (const std::vector<QPointF>& run : sampleCurve(curve, viewport.range(), columns)) {
        for (std::size_t i = 0; i < run.size(); ++i) {
            const QPointF p = toPixels.map(run[i]);
            const QPointF kept(p.x(), held(p.y(), area.height()));
            if (i == 0)
                path.moveTo(kept);
            else
                path.lineTo(kept);
        }
    }
    return path;
}

void drawCurve(QPainter& painter, const Curve& curve, const Viewport& viewport,
               const QColor& colour, double unit) {
    painter.setPen(
        QPen(colour, std::max(2.0, unit / 6), Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.drawPath(curvePath(curve, viewport));
}

// Where a mark's label starts: beside the mark, below or above it, and kept inside the picture
// (to the left of the mark near the right edge, and so on).
QPointF labelBaseline(const QRectF& box, QPointF mark, bool below, double radius,
                      const QRectF& area, const QFontMetricsF& metrics) {
    QPointF baseline(mark.x() + radius + 2, below ? mark.y() + radius + metrics.ascent()
                                                  : mark.y() - radius - metrics.descent());
    if (baseline.x() + box.right() > area.right())
        baseline.rx() = mark.x() - radius - 2 - box.right();
    baseline.rx() = std::max(baseline.x(), area.left() - box.left());
    baseline.ry() = std::clamp(baseline.y(), area.top() - box.top(), area.bottom() - box.bottom());
    return baseline;
}

// Whether the curve comes down to the mark from the left: a lowest point's label goes below it.
bool comesDownTo(const Mark& mark, const Curve& curve, const Range& range) {
    return curve.valueAt(mark.at.x() - 1e-3 * (range.xMax - range.xMin)) > mark.at.y();
}

// The marks in view, each a dot with its label on a patch of the background: a lowest point's
// below it, any other above, and the roots' by turns.
void drawMarks(QPainter& painter, const GraphModel& model, const Viewport& viewport,
               const GraphColours& colours, const QFontMetricsF& metrics) {
    const QRectF area = viewport.pixels();
    const double radius = std::max(3.0, metrics.height() / 4);
    QColor patch = colours.background;
    patch.setAlphaF(0.85f);
    int rootsDrawn = 0;
    for (const Mark& mark : model.marks) {
        const QPointF p = viewport.toPixels(mark.at);
        if (!area.adjusted(-radius, -radius, radius, radius).contains(p))
            continue;
        painter.setPen(QPen(colours.background, 1));
        painter.setBrush(colours.marks);
        painter.drawEllipse(p, radius, radius);
        painter.setPen(colours.marks);
        // Neighbouring roots' labels take turns below and above the axis, so they do not meet.
        const bool below =
            mark.kind == Mark::Root
                ? rootsDrawn++ % 2 == 0
                : mark.kind != Mark::YIntercept && comesDownTo(mark, model.curve, viewport.range());
        const QRectF box = metrics.boundingRect(mark.label).adjusted(-2, 0, 2, 0);
        const QPointF baseline = labelBaseline(box, p, below, radius, area, metrics);
        painter.fillRect(box.translated(baseline), patch);
        painter.drawText(baseline, mark.label);
    }
}

// The coordinates of the point under the pointer, boxed in the top right corner.
void drawReadout(QPainter& painter, QPointF world, const QRectF& area, const GraphColours& colours,
                 const QFontMetricsF& metrics, QChar separator) {
    const QString text =
        QStringLiteral("x = %1, y = %2")
            .arg(shortNumber(world.x(), separator), shortNumber(world.y(), separator));
    const QRectF box = metrics.boundingRect(text).adjusted(-4, -2, 4, 2);
    const QPointF baseline(area.right() - box.right() - 4, area.top() - box.top() + 4);
    painter.setPen(colours.axes);
    painter.setBrush(colours.background);
    painter.drawRect(box.translated(baseline));
    painter.setPen(colours.text);
    painter.drawText(baseline, text);
}

} // namespace

double contrastRatio(const QColor& one, const QColor& other) {
    const double a = luminance(one) + 0.05;
    const double b = luminance(other) + 0.05;
    return a > b ? a / b : b / a;
}

GraphColours coloursFrom(const QPalette& palette) {
    GraphColours c;
    c.background = palette.color(QPalette::Active, QPalette::Base);
    c.text = palette.color(QPalette::Active, QPalette::Text);
    c.grid = blend(c.background, c.text, 0.12);
    c.axes = blend(c.background, c.text, 0.7);
    c.curve = readable(palette.color(QPalette::Active, QPalette::Highlight), c.background, 3);
    const bool dark = luminance(c.background) < 0.5;
    c.marks = readable(dark ? QColor(0xff, 0x8a, 0x3d) : QColor(0xc2, 0x41, 0x0c), c.background, 3);
    return c;
}

void paintGraph(QPainter& painter, const GraphModel& model, const Viewport& viewport,
                const GraphColours& colours, QChar separator, std::optional<QPointF> hoverPixel) {
    const QRectF area = viewport.pixels();
    painter.save();
    painter.setClipRect(area);
    painter.fillRect(area, colours.background);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QFontMetricsF metrics(painter.font());
    const double unit = metrics.height(); // sizes follow the font, and so the screen's scale
    const Grid grid = gridOf(viewport, unit);
    drawGrid(painter, viewport, grid, colours.grid);
    drawTickLabels(painter, viewport, grid, metrics, colours.text, separator);
    drawAxes(painter, viewport, model.symmetryAxis, colours.axes);
    drawCurve(painter, model.curve, viewport, colours.curve, unit);
    drawMarks(painter, model, viewport, colours, metrics);
    if (hoverPixel && area.contains(*hoverPixel))
        drawReadout(painter, viewport.toWorld(*hoverPixel), area, colours, metrics, separator);
    painter.restore();
}

} // namespace velmora::graph
