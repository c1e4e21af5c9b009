#pragma once

#include "numbers/exactvalue.h"

#include <QChar>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <gmpxx.h>

#include <optional>
#include <vector>

class QTransform;

namespace velmora::graph {

// The curve of the equation last solved: y = a·x² + b·x + c, y = a·x⁴ + b·x² + c, or the
// line y = b·x + c of a linear equation (a = 0). The coefficients are exact, so the vertex and
// the extrema are placed and named by their true values; the curve is drawn in doubles. A curve
// made without a kind is none: nothing is drawn, for no equation or one with no curve of its own
// (an identity, a contradiction, a degree not solved).
class Curve {
public:
    enum Kind { Quadratic, Biquadratic, Linear, None };

    Curve() = default;
    Curve(Kind kind, const mpq_class& a, const mpq_class& b, const mpq_class& c);

    Kind kind() const { return m_kind; }
    const mpq_class& a() const { return m_a; }
    const mpq_class& b() const { return m_b; }
    const mpq_class& c() const { return m_c; }
    double valueAt(double x) const;

private:
    Kind m_kind = None;
    mpq_class m_a, m_b, m_c;
    double m_da = 0, m_db = 0, m_dc = 0;
};

// A real root as the solution names it: its exact value, and its exact form ("(−3 + √65)/4"),
// empty when the decimal is the whole story.
struct RootInput {
    ExactValue value;
    QString exact;
    bool touches = false; // a root of even multiplicity: the curve touches the axis there
};

// The words of the graph, from the language file. Templates take %1 (and %2) for numbers.
struct GraphTexts {
    QString name;         // the graph's accessible name
    QString parabolaUp;   // "Parabola opening upwards"
    QString parabolaDown; // "Parabola opening downwards"
    QString quarticUp;    // the biquadratic's curve, opening upwards
    QString quarticDown;  // and downwards
    QString line;         // "Straight line"
    QString point;        // a point's coordinates: "(%1; %2)"
    QString vertex;       // "vertex %1", %1 the point
    QString minimum;      // "minimum at %1"
    QString maximum;      // "maximum at %1"
    QString crossesX;     // "crosses the x-axis at %1"
    QString touchesX;     // "touches the x-axis at %1"
    QString noCrossing;   // "does not reach the x-axis"
    QString crossesY;     // "crosses the y-axis at %1"
    QString join;         // between the last two of a list: " and "
    QString tooClose;     // "%1 and %2 are too close together to tell apart here"
    QString tooLarge;     // "the numbers are too large to draw"
};

// A labelled point of the graph: where it is exactly, where it is drawn (the nearest doubles)
// and its label.
struct Mark {
    enum Kind { Root, Vertex, Extremum, YIntercept };
    Kind kind = Root;
    ExactValue x, y;
    QPointF at;
    QString label;
};

// A part of the plane, x and y each from min to max.
struct Range {
    double xMin = -1, xMax = 1, yMin = -1, yMax = 1;

    bool operator==(const Range&) const = default;
};

// What the graph shows for one equation: the curve, its marked points, the axis of symmetry,
// the first view (framing every mark with a margin) and what that view cannot show.
struct GraphModel {
    Curve curve;
    std::vector<Mark> marks;
    std::optional<double> symmetryAxis;
    Range firstView;
    QStringList notes;
    QString description; // in words and numbers, for screen readers
};

// The graph of a curve with its roots. Every number its labels and description write comes
// from an exact value: as it is when the decimals given write it exactly, else "≈" and its
// rounding to those decimals (or its scientific form where they would show no digit).
GraphModel makeGraph(const Curve& curve, const std::vector<RootInput>& roots, QChar separator,
                     int decimals, const GraphTexts& texts);

// A tick or a pointer position as the graph writes it: at most four significant digits, the
// locale's separator, the minus sign U+2212, exponent form ("1,2E-10") outside 0.0001 to 10⁶.
QString shortNumber(double value, QChar separator);

// The curve's points in the range, one for each of `columns` + 1 evenly spaced x (a y that is
// not a number leaves a gap: the points are then split in runs).
std::vector<std::vector<QPointF>> sampleCurve(const Curve& curve, const Range& range, int columns);

// The mapping of a range onto a rectangle of pixels (y grows downwards on screen).
class Viewport {
public:
    Viewport(const Range& range, const QRectF& pixels) : m_range(range), m_pixels(pixels) {}

    // World to pixels: the range's corners to the rectangle's, y flipped.
    QTransform transform() const;
    QPointF toPixels(QPointF world) const;
    QPointF toWorld(QPointF pixel) const;
    const Range& range() const { return m_range; }
    const QRectF& pixels() const { return m_pixels; }

    // Zoomed by the factor (below 1 zooms in) about a pixel, which keeps its point.
    Viewport zoomed(QPointF aboutPixel, double factor) const;
    // Moved by a distance in pixels: the picture follows the pointer.
    Viewport panned(QPointF byPixels) const;

private:
    Range m_range;
    QRectF m_pixels;
};

// Tick positions at 1, 2 or 5 times a power of ten, at most about maxCount of them.
std::vector<double> ticks(double min, double max, int maxCount);

} // namespace velmora::graph
