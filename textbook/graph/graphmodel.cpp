#include "textbook/graph/graphmodel.h"

#include "numbers/exacttext.h"
#include "numbers/rational.h"

#include <QTransform>

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmora::graph {
namespace {

constexpr QChar Minus = QChar(0x2212);

// The part of each side of the first view left free around the marks.
constexpr double Margin = 0.15;
// The size the first view is judged at: marks closer than MinimumDistance pixels there cannot
// be told apart.
const QRectF JudgedSize(0, 0, 600, 400);
constexpr double MinimumDistance = 4;

// [min, max] with a margin, and some width even when every point is the same.
void frame(double& min, double& max) {
    const double mid = (min + max) / 2;
    if (max - min <= 1e-9 * std::max({1.0, std::fabs(min), std::fabs(max)})) {
        const double half = std::max(1.0, std::fabs(mid) / 2);
        min = mid - half;
        max = mid + half;
    }
    const double margin = (max - min) * Margin;
    min -= margin;
    max += margin;
}

QString listed(const QStringList& items, const QString& join) {
    if (items.size() <= 1)
        return items.join(QString());
    return items.mid(0, items.size() - 1).join(QStringLiteral(", ")) + join + items.back();
}

bool finite(QPointF p) {
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

} // namespace

Curve::Curve(Kind kind, const mpq_class& a, const mpq_class& b, const mpq_class& c)
    : m_kind(kind), m_a(a), m_b(b), m_c(c), m_da(nearestDouble(a)), m_db(nearestDouble(b)),
      m_dc(nearestDouble(c)) {}

double Curve::valueAt(double x) const {
    switch (m_kind) {
    case Quadratic:
        return (m_da * x + m_db) * x + m_dc;
    case Biquadratic: {
        const double square = x * x;
        return (m_da * square + m_db) * square + m_dc;
    }
    case Linear:
        break;
    case None:
        return std::numeric_limits<double>::quiet_NaN();
    }
    return m_db * x + m_dc;
}

QString shortNumber(double value, QChar separator) {
    if (value == 0)
        return QStringLiteral("0");
    if (std::isnan(value))
        return {};
    if (std::isinf(value))
        return value < 0 ? QString(Minus) + u'∞' : QStringLiteral("∞");
    const double magnitude = std::fabs(value);
    QString text;
    if (magnitude >= 1e-4 && magnitude < 1e6) {
        const int decimals = std::max(0, 3 - static_cast<int>(std::floor(std::log10(magnitude))));
        text = QString::number(magnitude, 'f', decimals);
        if (text.contains(u'.')) {
            while (text.endsWith(u'0'))
                text.chop(1);
            if (text.endsWith(u'.'))
                text.chop(1);
        }
    } else {
        text = QString::number(magnitude, 'e', 3); // "1.235e-10"
        const qsizetype e = text.indexOf(u'e');
        QString mantissa = text.left(e);
        while (mantissa.endsWith(u'0'))
            mantissa.chop(1);
        if (mantissa.endsWith(u'.'))
            mantissa.chop(1);
        const int exponent = text.mid(e + 1).toInt();
        text = mantissa + u'E' + QString::number(exponent);
    }
    text.replace(u'.', separator);
    text.replace(u'-', Minus);
    return value < 0 ? Minus + text : text;
}

std::vector<std::vector<QPointF>> sampleCurve(const Curve& curve, const Range& range, int columns) {
    std::vector<std::vector<QPointF>> runs(1);
    columns = std::max(columns, 2);
    for (int i = 0; i <= columns; ++i) {
        const double x = range.xMin + (range.xMax - range.xMin) * i / columns;
        const double y = curve.valueAt(x);
        if (std::isnan(y)) {
            if (!runs.back().empty())
                runs.emplace_back();
            continue;
        }
        runs.back().emplace_back(x, y);
    }
    if (runs.back().empty())
        runs.pop_back();
    return runs;
}

namespace {

// Builds one graph model step by step: the marks of the roots and of the curve's turning
// points, one mark a point, the first view, what it cannot tell apart, and the words.
class GraphBuilder {
public:
    GraphBuilder(const Curve& curve, QChar separator, int decimals, const GraphTexts& texts)
        : m_separator(separator), m_decimals(decimals), m_texts(texts) {
        m_graph.curve = curve;
    }

    GraphModel build(const std::vector<RootInput>& roots);

private:
    QString number(const ExactValue& value) const {
        return labelText(value, m_decimals, m_separator);
    }
    QString coordinates(const ExactValue& x, const ExactValue& y) const {
        return m_texts.point.arg(number(x), number(y));
    }
    void addMark(Mark::Kind kind, const ExactValue& x, const ExactValue& y, QString label = {}) {
        if (label.isEmpty())
            label = coordinates(x, y);
        m_graph.marks.push_back({kind, x, y, QPointF(x.nearestDouble(), y.nearestDouble()), label});
    }

    void markRoots(const std::vector<RootInput>& roots);
    void markTurningPoints();
    void keepOneMarkAPoint();
    void frameFirstView();
    void noteMarksTooClose();
    void describe(const std::vector<RootInput>& roots);

    QChar m_separator;
    int m_decimals;
    const GraphTexts& m_texts;
    GraphModel m_graph;
    QStringList m_crossings, m_touchings;
    QString m_shape;
    QStringList m_turns; // the vertex or the extrema, in words
};

GraphModel GraphBuilder::build(const std::vector<RootInput>& roots) {
    markRoots(roots);
    markTurningPoints();
    addMark(Mark::YIntercept, ExactValue(), ExactValue(m_graph.curve.c()));
    keepOneMarkAPoint();
    frameFirstView();
    noteMarksTooClose();
    describe(roots);
    return std::move(m_graph);
}

void GraphBuilder::markRoots(const std::vector<RootInput>& roots) {
    for (const RootInput& root : roots) {
        const QString decimal = number(root.value);
        QString label = decimal;
        if (!root.exact.isEmpty() && decimal.startsWith(u'≈'))
            label = root.exact + u' ' + decimal;
        addMark(Mark::Root, root.value, ExactValue(), label);
        (root.touches ? m_touchings : m_crossings) << decimal;
    }
}

void GraphBuilder::markTurningPoints() {
    const Curve& curve = m_graph.curve;
    const bool upwards = sgn(curve.a()) > 0;
    switch (curve.kind()) {
    case Curve::Quadratic: {
        // (−b/2a; c − b²/4a), exactly.
        const ExactValue x(mpq_class(-curve.b() / (2 * curve.a())));
        const ExactValue y(mpq_class(curve.c() - curve.b() * curve.b() / (4 * curve.a())));
        m_shape = upwards ? m_texts.parabolaUp : m_texts.parabolaDown;
        m_graph.symmetryAxis = x.nearestDouble();
        m_turns << m_texts.vertex.arg(coordinates(x, y));
        addMark(Mark::Vertex, x, y);
        break;
    }
    case Curve::Biquadratic: {
        m_shape = upwards ? m_texts.quarticUp : m_texts.quarticDown;
        m_graph.symmetryAxis = 0;
        // y' = 2x(2ax² + b): x = 0 always, and x = ±√(−b/2a) when that is positive.
        const mpq_class square = -curve.b() / (2 * curve.a());
        const bool three = sgn(square) > 0;
        const bool middleIsMaximum = three == upwards;
        const ExactValue c(curve.c());
        m_turns << (middleIsMaximum ? m_texts.maximum : m_texts.minimum)
                       .arg(coordinates(ExactValue(), c));
        addMark(Mark::Extremum, ExactValue(), c);
        if (three) {
            const ExactValue x = ExactValue::squareRoot(ExactValue(square));
            const ExactValue y(mpq_class(curve.c() - curve.b() * curve.b() / (4 * curve.a())));
            for (const ExactValue& side : {x.negated(), x}) {
                m_turns << (middleIsMaximum ? m_texts.minimum : m_texts.maximum)
                               .arg(coordinates(side, y));
                addMark(Mark::Extremum, side, y);
            }
        }
        break;
    }
    case Curve::Linear:
        m_shape = m_texts.line;
        break;
    case Curve::None:
        break;
    }
}

void GraphBuilder::keepOneMarkAPoint() {
    // A vertex on a root or an intercept on a vertex is said once, the first (a root's label
    // names its exact form). Points are the same when their exact values are.
    std::vector<Mark> distinct;
    for (const Mark& mark : m_graph.marks) {
        if (std::none_of(distinct.begin(), distinct.end(), [&mark](const Mark& kept) {
                return kept.x == mark.x && kept.y == mark.y;
            }))
            distinct.push_back(mark);
    }
    m_graph.marks = std::move(distinct);
}

void GraphBuilder::frameFirstView() {
    // Every mark and the x-axis, with a margin.
    bool drawable = true;
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    for (const Mark& mark : m_graph.marks) {
        if (!finite(mark.at)) {
            drawable = false;
            continue;
        }
        xMin = std::min(xMin, mark.at.x());
        xMax = std::max(xMax, mark.at.x());
        yMin = std::min(yMin, mark.at.y());
        yMax = std::max(yMax, mark.at.y());
    }
    frame(xMin, xMax);
    frame(yMin, yMax);
    if (!std::isfinite(xMax - xMin) || !std::isfinite(yMax - yMin)) {
        drawable = false;
        xMin = yMin = -1;
        xMax = yMax = 1;
    }
    m_graph.firstView = {xMin, xMax, yMin, yMax};
    if (!drawable)
        m_graph.notes << m_texts.tooLarge;
}

void GraphBuilder::noteMarksTooClose() {
    // Marks that the first view draws on top of each other (distinct marks only remain).
    const Viewport judged(m_graph.firstView, JudgedSize);
    const std::vector<Mark>& marks = m_graph.marks;
    for (std::size_t i = 0; i < marks.size(); ++i) {
        for (std::size_t j = i + 1; j < marks.size(); ++j) {
            if (!finite(marks[i].at) || !finite(marks[j].at))
                continue;
            const QPointF apart = judged.toPixels(marks[i].at) - judged.toPixels(marks[j].at);
            if (std::hypot(apart.x(), apart.y()) < MinimumDistance && m_graph.notes.size() < 3)
                m_graph.notes << m_texts.tooClose.arg(marks[i].label, marks[j].label);
        }
    }
}

void GraphBuilder::describe(const std::vector<RootInput>& roots) {
    QStringList phrases{m_shape};
    phrases << m_turns;
    if (!m_crossings.isEmpty())
        phrases << m_texts.crossesX.arg(listed(m_crossings, m_texts.join));
    if (!m_touchings.isEmpty())
        phrases << m_texts.touchesX.arg(listed(m_touchings, m_texts.join));
    if (roots.empty())
        phrases << m_texts.noCrossing;
    phrases << m_texts.crossesY.arg(number(ExactValue(m_graph.curve.c())));
    phrases << m_graph.notes;
    m_graph.description = phrases.join(QStringLiteral("; "));
}

} // namespace

GraphModel makeGraph(const Curve& curve, const std::vector<RootInput>& roots, QChar separator,
                     int decimals, const GraphTexts& texts) {
    return GraphBuilder(curve, separator, decimals, texts).build(roots);
}

QTransform Viewport::transform() const {
    const double sx = m_pixels.width() / (m_range.xMax - m_range.xMin);
    const double sy = m_pixels.height() / (m_range.yMax - m_range.yMin);
    return {
        sx, 0, 0, -sy, m_pixels.left() - m_range.xMin * sx, m_pixels.bottom() + m_range.yMin * sy};
}

QPointF Viewport::toPixels(QPointF world) const {
    return transform().map(world);
}

QPointF Viewport::toWorld(QPointF pixel) const {
    // Built from the range, not as transform().inverted(): Qt takes a scale of 10⁻¹² or less for
    // singular and gives no inverse, and the view of huge roots (10¹⁵⁰ wide) has such a scale.
    const double sx = (m_range.xMax - m_range.xMin) / m_pixels.width();
    const double sy = (m_range.yMax - m_range.yMin) / m_pixels.height();
    const QTransform toWorld(sx, 0, 0, -sy, m_range.xMin - m_pixels.left() * sx,
                             m_range.yMin + m_pixels.bottom() * sy);
    return toWorld.map(pixel);
}

Viewport Viewport::zoomed(QPointF aboutPixel, double factor) const {
    const QPointF p = toWorld(aboutPixel);
    Range r = m_range;
    r.xMin = p.x() + (r.xMin - p.x()) * factor;
    r.xMax = p.x() + (r.xMax - p.x()) * factor;
    r.yMin = p.y() + (r.yMin - p.y()) * factor;
    r.yMax = p.y() + (r.yMax - p.y()) * factor;
    // Past the double's resolution or range a zoom would draw nothing sensible: stay.
    const double width = r.xMax - r.xMin;
    const double height = r.yMax - r.yMin;
    if (!std::isfinite(width) || !std::isfinite(height) ||
        width < 1e-12 * std::max(std::fabs(r.xMin), std::fabs(r.xMax)) ||
        height < 1e-12 * std::max(std::fabs(r.yMin), std::fabs(r.yMax)) || width <= 0 ||
        height <= 0)
        return *this;
    return {r, m_pixels};
}

Viewport Viewport::panned(QPointF byPixels) const {
    const double dx = byPixels.x() / m_pixels.width() * (m_range.xMax - m_range.xMin);
    const double dy = byPixels.y() / m_pixels.height() * (m_range.yMax - m_range.yMin);
    Range r = m_range;
    r.xMin -= dx;
    r.xMax -= dx;
    r.yMin += dy;
    r.yMax += dy;
    return {r, m_pixels};
}

std::vector<double> ticks(double min, double max, int maxCount) {
    std::vector<double> positions;
    const double span = max - min;
    if (!(span > 0) || !std::isfinite(span) || maxCount < 1)
        return positions;
    const double raw = span / maxCount;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = power;
    for (const double factor : {1.0, 2.0, 5.0, 10.0}) {
        step = factor * power;
        if (step >= raw)
            break;
    }
    for (double k = std::ceil(min / step); k * step <= max && positions.size() < 100; ++k)
        positions.push_back(std::fabs(k) < 0.5 ? 0.0 : k * step);
    return positions;
}

} // namespace velmora::graph
