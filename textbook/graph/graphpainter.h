#pragma once

#include "textbook/graph/graphmodel.h"

#include <QColor>

#include <optional>

class QPainter;
class QPalette;

namespace velmora::graph {

// The colours of the graph, made from the palette: the curve and the marks at least 3:1
// against the background, so they read on light and dark desktops alike.
struct GraphColours {
    QColor background, grid, axes, text, curve, marks;
};
GraphColours coloursFrom(const QPalette& palette);

// WCAG's contrast ratio of two colours, 1 to 21.
double contrastRatio(const QColor& one, const QColor& other);

// Draws the graph of the model as the viewport frames it: background, grid with labelled ticks
// in the locale's format, axes, the axis of symmetry dashed, the curve antialiased, the marks
// with their labels and, when given, the coordinates of the point under the pointer. The
// painter may be a widget's, an image's, an SVG file's or a printer's.
void paintGraph(QPainter& painter, const GraphModel& model, const Viewport& viewport,
                const GraphColours& colours, QChar separator,
                std::optional<QPointF> hoverPixel = std::nullopt);

} // namespace velmora::graph
