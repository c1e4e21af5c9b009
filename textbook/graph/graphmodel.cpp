#include "textbook/graph/graphmodel.h"

#include "numbers/exactdecimal.h"

#include <algorithm>
#include <cmath>

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
    }
    return m_db * x + m_dc;
}

QString shortNumber(double value, QChar separator) {
    if (value == 0 || !std::isfinite(value))
        return QStringLiteral("0");
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

GraphModel makeGraph(const Curve& curve, const std::vector<RootInput>& roots, QChar separator,
                     const GraphTexts& texts) {
    GraphModel g;
    g.curve = curve;
    const auto number = [separator](double v) { return shortNumber(v, separator); };
    const auto coordinates = [&](QPointF p) {
        return texts.point.arg(number(p.x()), number(p.y()));
    };
    const auto point = [&](const QString& words, QPointF p) { return words.arg(coordinates(p)); };

    QStringList crossings;
    QStringList touchings;
    for (const RootInput& root : roots) {
        const QString decimal = number(root.x);
        QString label = decimal;
        if (!root.exact.isEmpty() && root.exact != decimal)
            label = root.exact + QStringLiteral(" ≈ ") + decimal;
        g.marks.push_back({Mark::Root, QPointF(root.x, 0), label});
        (root.touches ? touchings : crossings) << decimal;
    }

    QString shape;
    QStringList turns; // vertex or extrema, in words
    const QPointF intercept(0, nearestDouble(curve.c()));
    const bool upwards = sgn(curve.a()) > 0;
    switch (curve.kind()) {
    case Curve::Quadratic: {
        // (−b/2a; c − b²/4a), exactly, then to the nearest doubles.
        const mpq_class x = -curve.b() / (2 * curve.a());
        const mpq_class y = curve.c() - curve.b() * curve.b() / (4 * curve.a());
        const QPointF vertex(nearestDouble(x), nearestDouble(y));
        shape = upwards ? texts.parabolaUp : texts.parabolaDown;
        g.symmetryAxis = vertex.x();
        turns << point(texts.vertex, vertex);
        g.marks.push_back({Mark::Vertex, vertex, coordinates(vertex)});
        break;
    }
    case Curve::Biquadratic: {
        shape = upwards ? texts.quarticUp : texts.quarticDown;
        g.symmetryAxis = 0;
        // y' = 2x(2ax² + b): x = 0 always, and x = ±√(−b/2a) when that is positive.
        const mpq_class square = -curve.b() / (2 * curve.a());
        const bool three = sgn(square) > 0;
        const bool middleIsMaximum = three == upwards;
        turns << point(middleIsMaximum ? texts.maximum : texts.minimum, intercept);
        g.marks.push_back({Mark::Extremum, intercept, coordinates(intercept)});
        if (three) {
            const double x = std::sqrt(nearestDouble(square));
            const double y = nearestDouble(curve.c() - curve.b() * curve.b() / (4 * curve.a()));
            for (const double side : {-x, x}) {
                const QPointF p(side, y);
                turns << point(middleIsMaximum ? texts.minimum : texts.maximum, p);
                g.marks.push_back({Mark::Extremum, p, coordinates(p)});
            }
        }
        break;
    }
    case Curve::Linear:
        shape = texts.line;
        break;
    }
    g.marks.push_back({Mark::YIntercept, intercept, coordinates(intercept)});
    // One mark a point: a vertex on a root or an intercept on a vertex is said once, the first
    // (a root's label names its exact form).
    std::vector<Mark> distinct;
    for (const Mark& mark : g.marks) {
        if (std::none_of(distinct.begin(), distinct.end(),
                         [&mark](const Mark& kept) { return kept.at == mark.at; }))
            distinct.push_back(mark);
    }
    g.marks = std::move(distinct);

    // The first view: every mark and the x-axis, with a margin.
    bool drawable = true;
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    for (const Mark& mark : g.marks) {
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
    g.firstView = {xMin, xMax, yMin, yMax};
    if (!drawable)
        g.notes << texts.tooLarge;

    // Marks that the first view draws on top of each other.
    const Viewport judged(g.firstView, JudgedSize);
    for (std::size_t i = 0; i < g.marks.size(); ++i) {
        for (std::size_t j = i + 1; j < g.marks.size(); ++j) {
            const Mark& one = g.marks[i];
            const Mark& other = g.marks[j];
            if (one.at == other.at || !finite(one.at) || !finite(other.at))
                continue;
            const QPointF apart = judged.toPixels(one.at) - judged.toPixels(other.at);
            if (std::hypot(apart.x(), apart.y()) < MinimumDistance && g.notes.size() < 3)
                g.notes << texts.tooClose.arg(one.label, other.label);
        }
    }

    QStringList phrases{shape};
    phrases << turns;
    if (!crossings.isEmpty())
        phrases << texts.crossesX.arg(listed(crossings, texts.join));
    if (!touchings.isEmpty())
        phrases << texts.touchesX.arg(listed(touchings, texts.join));
    if (roots.empty())
        phrases << texts.noCrossing;
    phrases << texts.crossesY.arg(number(intercept.y()));
    phrases << g.notes;
    g.description = phrases.join(QStringLiteral("; "));
    return g;
}

QPointF Viewport::toPixels(QPointF world) const {
    const double x = m_pixels.left() +
                     (world.x() - m_range.xMin) / (m_range.xMax - m_range.xMin) * m_pixels.width();
    const double y = m_pixels.bottom() -
                     (world.y() - m_range.yMin) / (m_range.yMax - m_range.yMin) * m_pixels.height();
    return {x, y};
}

QPointF Viewport::toWorld(QPointF pixel) const {
    const double x = m_range.xMin + (pixel.x() - m_pixels.left()) / m_pixels.width() *
                                        (m_range.xMax - m_range.xMin);
    const double y = m_range.yMin + (m_pixels.bottom() - pixel.y()) / m_pixels.height() *
                                        (m_range.yMax - m_range.yMin);
    return {x, y};
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
