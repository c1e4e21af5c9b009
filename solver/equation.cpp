#include "solver/equation.h"

#include "numbers/numberformat.h"
#include "platform/base/failure.h"

#include <cmath>

namespace velmora {
namespace {

void requireFinite(std::initializer_list<double> values) {
    for (const double value : values) {
        if (!std::isfinite(value))
            throw Failure(QStringLiteral("Floating point overflow"));
    }
}

// Builds the lines with the separator fixed, so each template below reads as one expression.
class Writer {
public:
    explicit Writer(QChar separator) : m_separator(separator) {}

    QString& line() { return m_line; }
    Writer& operator<<(QStringView text) {
        m_line += text;
        return *this;
    }
    Writer& operator<<(double value) {
        appendGeneral(m_line, value, m_separator);
        return *this;
    }
    // The root sign's bar: a combining overline after every character of the number.
    Writer& overlined(double value) {
        QString number;
        appendGeneral(number, value, m_separator);
        for (const QChar c : number) {
            m_line += c;
            m_line += QChar(0x0305);
        }
        return *this;
    }
    QString take() {
        QString done = std::move(m_line);
        m_line = QString();
        m_line.reserve(64);
        return done;
    }

private:
    QChar m_separator;
    QString m_line;
};

// "a·p + b·q + c = 0" with the coefficients' signs folded into the joins.
QString equationLine(Writer& w, const EquationNumbers& n, QStringView p, QStringView q) {
    if (n.a == -1)
        w << u"-" << p;
    else if (n.a == 1)
        w << p;
    else
        w << n.a << p;

    if (n.b == -1)
        w << u" - " << q;
    else if (n.b == 1)
        w << u" + " << q;
    else if (n.b < 0)
        w << u" - " << -n.b << q;
    else if (n.b > 0)
        w << u" + " << n.b << q;

    if (n.c < 0)
        w << u" - " << -n.c << u" = 0";
    else if (n.c == 0)
        w << u" = 0";
    else
        w << u" + " << n.c << u" = 0";
    return w.take();
}

QString discriminantLine(Writer& w, const EquationNumbers& n) {
    w << u"D = " << n.b << u"² - 4 •";
    if (n.a < 0)
        w << u" (" << n.a << u") •";
    else
        w << u" " << n.a << u" •";
    if (n.c < 0)
        w << u" (" << n.c << u") =";
    else
        w << u" " << n.c << u" =";
    if (n.fourAC < 0)
        w << u" " << n.bSquared << u" - (" << n.fourAC << u") = " << n.d;
    else
        w << u" " << n.bSquared << u" - " << n.fourAC << u" = " << n.d;
    return w.take();
}

// "v₁ = - (b) + √D̅ / 2 • a = −b + √D / 2a = x₁", and the same with "₂", "-" and x₂.
QString rootLine(Writer& w, const EquationNumbers& n, QStringView v, QStringView index,
                 QStringView sign, double root) {
    w << v << index;
    if (n.b < 0)
        w << u" = - (" << n.b << u") " << sign << u" √";
    else
        w << u" = " << -n.b << u" " << sign << u" √";
    w.overlined(n.d);
    if (n.a < 0)
        w << u" / 2 • (" << n.a << u") =";
    else
        w << u" / 2 • " << n.a << u" =";
    w << u" " << -n.b << u" " << sign << u" " << n.rootOfD << u" / " << n.twoA << u" = " << root;
    return w.take();
}

QString singleRootLine(Writer& w, const EquationNumbers& n, QStringView v) {
    w << v;
    if (n.b < 0)
        w << u" = - (" << n.b << u") ± 0 / 2 •";
    else
        w << u" = " << -n.b << u" ± 0 / 2 •";
    if (n.a < 0)
        w << u" (" << n.a << u")";
    else
        w << u" " << n.a;
    w << u" = " << -n.b << u" / " << n.twoA << u" = " << n.x1;
    return w.take();
}

} // namespace

EquationNumbers solveEquation(double a, double b, double c, EquationType type) {
    EquationNumbers n;
    n.type = type;
    n.a = a;
    n.b = b;
    n.c = c;
    n.bSquared = b * b;
    n.fourAC = (4 * a) * c;
    n.d = n.bSquared - n.fourAC;
    n.twoA = 2 * a;
    requireFinite({n.bSquared, n.fourAC, n.d, n.twoA});
    if (n.d < 0)
        return n;

    n.rootOfD = std::sqrt(n.d);
    n.x1 = (n.rootOfD + (-b)) / n.twoA;
    n.x2 = n.d > 0 ? ((-b) - n.rootOfD) / n.twoA : 0.0;
    requireFinite({n.x1, n.x2});

    if (type == EquationType::Quadratic) {
        n.roots = n.d > 0 ? std::vector{n.x1, n.x2} : std::vector{n.x1};
        return n;
    }

    // Back-substitution x² = y: each positive y gives ±√y, y = 0 gives x = 0.
    if (n.d == 0) {
        const double y = n.x1;
        if (y > 0)
            n.roots = {std::sqrt(y), -std::sqrt(y)};
        else if (y == 0)
            n.roots = {0.0};
        return n;
    }
    const double y1 = n.x1;
    const double y2 = n.x2;
    // y₂ can underflow to zero beside y₁ = 0 (a huge a with a tiny b, c = 0); x = 0 still
    // solves the equation then, as for y₂ < 0.
    if (y1 == 0 && y2 <= 0)
        n.roots = {0.0};
    else if (y1 == 0 && y2 > 0)
        n.roots = {0.0, std::sqrt(y2), -std::sqrt(y2)};
    else if (y1 > 0 && y2 == 0)
        n.roots = {0.0, std::sqrt(y1), -std::sqrt(y1)};
    else if (y1 > 0 && y2 < 0)
        n.roots = {std::sqrt(y1), -std::sqrt(y1)};
    else if (y1 < 0 && y2 > 0)
        n.roots = {std::sqrt(y2), -std::sqrt(y2)};
    else if (y1 > 0 && y2 > 0)
        n.roots = {std::sqrt(y1), -std::sqrt(y1), std::sqrt(y2), -std::sqrt(y2)};
    else if (y1 < 0 && y2 == 0)
        n.roots = {0.0};
    // Both negative: no roots.
    return n;
}

EquationText describeEquation(const EquationNumbers& n, const QString& letter, QChar separator,
                              const AnswerWords& words) {
    static constexpr std::array<QStringView, 4> subscripts{u"₁", u"₂", u"₃", u"₄"};
    const bool biquadratic = n.type == EquationType::Biquadratic;
    const QStringView v = biquadratic ? QStringView(letter) : QStringView(u"x");

    Writer w(separator);
    w.line().reserve(64);
    EquationText text;
    text.lines.reserve(8);

    if (biquadratic) {
        text.lines.push_back(equationLine(w, n, u"x⁴", u"x²"));
        text.lines.push_back((w << u"x² = " << v).take());
        QString squared = v.toString();
        squared += u"²";
        text.lines.push_back(equationLine(w, n, squared, v));
    } else {
        text.lines.push_back(equationLine(w, n, u"x²", u"x"));
    }
    text.lines.push_back(discriminantLine(w, n));

    if (n.d > 0) {
        text.lines.push_back(rootLine(w, n, v, subscripts[0], u"+", n.x1));
        text.lines.push_back(rootLine(w, n, v, subscripts[1], u"-", n.x2));
        if (biquadratic)
            text.lines.push_back((w << u"x² = " << n.x1 << u"; x² = " << n.x2).take());
    } else if (n.d == 0) {
        text.lines.push_back(singleRootLine(w, n, v));
    }

    // The answer names the same values, in the same order, as the root fields.
    for (std::size_t i = 0; i < n.roots.size(); ++i)
        text.rootFields[i] = formatGeneral(n.roots[i], separator);
    w << words.answer << u" ";
    if (n.roots.empty()) {
        w << words.noRoots;
    } else if (n.roots.size() == 1) {
        w << u"x = " << text.rootFields[0];
    } else {
        for (std::size_t i = 0; i < n.roots.size(); ++i)
            w << (i == 0 ? u"x" : u"; x") << subscripts[i] << u" = " << text.rootFields[i];
    }
    text.lines.push_back(w.take());
    text.noRealRoots = n.d < 0;
    return text;
}

} // namespace velmora
