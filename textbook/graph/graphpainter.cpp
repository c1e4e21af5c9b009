#include "textbook/graph/graphpainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>

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
    const Range& range = viewport.range();
    painter.save();
    painter.setClipRect(area);
    painter.fillRect(area, colours.background);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QFontMetricsF metrics(painter.font());
    const double unit = metrics.height(); // sizes follow the font, and so the screen's scale

    // Grid and tick labels.
    const QPointF origin = viewport.toPixels({0, 0});
    const double axisY = std::clamp(origin.y(), area.top(), area.bottom() - unit);
    const double axisX = std::clamp(origin.x(), area.left(), area.right() - 3 * unit);
    const std::vector<double> xs =
        ticks(range.xMin, range.xMax, std::max(2, int(area.width() / (6 * unit))));
    const std::vector<double> ys =
        ticks(range.yMin, range.yMax, std::max(2, int(area.height() / (3 * unit))));
    painter.setPen(QPen(colours.grid, 1));
    for (const double x : xs) {
        const double px = viewport.toPixels({x, 0}).x();
        painter.drawLine(QPointF(px, area.top()), QPointF(px, area.bottom()));
    }
    for (const double y : ys) {
        const double py = viewport.toPixels({0, y}).y();
        painter.drawLine(QPointF(area.left(), py), QPointF(area.right(), py));
    }
    painter.setPen(colours.text);
    for (const double x : xs) {
        if (x == 0)
            continue;
        const double px = viewport.toPixels({x, 0}).x();
        painter.drawText(QPointF(px + 2, axisY + metrics.ascent() + 2), shortNumber(x, separator));
    }
    for (const double y : ys) {
        if (y == 0)
            continue;
        const double py = viewport.toPixels({0, y}).y();
        painter.drawText(QPointF(axisX + 3, py - 2), shortNumber(y, separator));
    }

    // Axes, and the axis of symmetry dashed.
    painter.setPen(QPen(colours.axes, 1.5));
    painter.drawLine(QPointF(area.left(), origin.y()), QPointF(area.right(), origin.y()));
    painter.drawLine(QPointF(origin.x(), area.top()), QPointF(origin.x(), area.bottom()));
    if (model.symmetryAxis) {
        const double px = viewport.toPixels({*model.symmetryAxis, 0}).x();
        QPen dashed(colours.axes, 1, Qt::DashLine);
        painter.setPen(dashed);
        painter.drawLine(QPointF(px, area.top()), QPointF(px, area.bottom()));
    }

    // The curve: a point every pixel column, enough at any zoom for a polynomial this low.
    QPainterPath curve;
    bool start = true;
    const int columns = std::max(2, int(std::ceil(area.width())));
    for (int i = 0; i <= columns; ++i) {
        const double px = area.left() + area.width() * i / columns;
        const double x = viewport.toWorld({px, 0}).x();
        const double py = viewport.toPixels({x, model.curve.valueAt(x)}).y();
        if (std::isnan(py)) {
            start = true;
            continue;
        }
        const QPointF p(px, held(py, area.height()));
        if (start)
            curve.moveTo(p);
        else
            curve.lineTo(p);
        start = false;
    }
    painter.setPen(
        QPen(colours.curve, std::max(2.0, unit / 6), Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.drawPath(curve);

    // The marks, each with its label on a patch of the background: a lowest point's below it,
    // any other above, and the roots' by turns.
    const double radius = std::max(3.0, unit / 4);
    const auto label = [&](const QString& text, QPointF anchor, bool below) {
        const QRectF box = metrics.boundingRect(text).adjusted(-2, 0, 2, 0);
        QPointF baseline(anchor.x() + radius + 2, below ? anchor.y() + radius + metrics.ascent()
                                                        : anchor.y() - radius - metrics.descent());
        // Kept inside the picture: to the left of the mark near the right edge, and so on.
        if (baseline.x() + box.right() > area.right())
            baseline.rx() = anchor.x() - radius - 2 - box.right();
        baseline.rx() = std::max(baseline.x(), area.left() - box.left());
        baseline.ry() =
            std::clamp(baseline.y(), area.top() - box.top(), area.bottom() - box.bottom());
        QColor patch = colours.background;
        patch.setAlphaF(0.85f);
        painter.fillRect(box.translated(baseline), patch);
        painter.drawText(baseline, text);
    };
    int rootsDrawn = 0;
    for (const Mark& mark : model.marks) {
        const QPointF p = viewport.toPixels(mark.at);
        if (!area.adjusted(-radius, -radius, radius, radius).contains(p))
            continue;
        painter.setPen(QPen(colours.background, 1));
        painter.setBrush(colours.marks);
        painter.drawEllipse(p, radius, radius);
        painter.setPen(colours.marks);
        const double before = model.curve.valueAt(mark.at.x() - 1e-3 * (range.xMax - range.xMin));
        const bool lowest = before > mark.at.y();
        // Neighbouring roots' labels take turns below and above the axis, so they do not meet.
        if (mark.kind == Mark::Root)
            label(mark.label, p, rootsDrawn++ % 2 == 0);
        else
            label(mark.label, p, mark.kind != Mark::YIntercept && lowest);
    }

    if (hoverPixel && area.contains(*hoverPixel)) {
        const QPointF w = viewport.toWorld(*hoverPixel);
        const QString text = QStringLiteral("x = %1, y = %2")
                                 .arg(shortNumber(w.x(), separator), shortNumber(w.y(), separator));
        const QRectF box = metrics.boundingRect(text).adjusted(-4, -2, 4, 2);
        const QPointF baseline(area.right() - box.right() - 4, area.top() - box.top() + 4);
        painter.setPen(colours.axes);
        painter.setBrush(colours.background);
        painter.drawRect(box.translated(baseline));
        painter.setPen(colours.text);
        painter.drawText(baseline, text);
    }
    painter.restore();
}

} // namespace velmora::graph
