#include "solver/equation.h"

#include "numbers/exactdecimal.h"
#include "numbers/numberformat.h"
#include "numbers/rational.h"
#include "platform/base/failure.h"

#include <algorithm>

namespace velmora {
namespace {

// −value, written.
struct Negated {
    const ExactValue& value;
};

// Builds the lines with the separator fixed, so each template below reads as one expression.
// Each number's digits are worked out once however often the lines write it.
class Writer {
public:
    explicit Writer(QChar separator) : m_separator(separator) {
        m_line.reserve(128);
        m_digits.reserve(16);
    }

    Writer& operator<<(QStringView text) {
        m_line += text;
        return *this;
    }
    Writer& operator<<(const SignificantDigits& value) {
        appendGeneral(m_line, value, m_separator);
        return *this;
    }
    Writer& operator<<(const ExactValue& value) { return *this << digitsOf(value); }
    Writer& operator<<(Negated negated) { return *this << digitsOf(negated.value).negated(); }
    // The root sign's bar: a combining overline after every character of the number.
    Writer& overlined(const ExactValue& value) {
        QString number;
        number.reserve(24);
        appendGeneral(number, digitsOf(value), m_separator);
        for (const QChar c : std::as_const(number)) {
            m_line += c;
            m_line += QChar(0x0305);
        }
        return *this;
    }
    QString take() {
        QString done = std::move(m_line);
        m_line = QString();
        m_line.reserve(128);
        return done;
    }

    const SignificantDigits& digitsOf(const ExactValue& value) {
        for (const auto& [known, digits] : m_digits) {
            if (known == &value)
                return digits;
        }
        return m_digits.emplace_back(&value, value.digits()).second;
    }

private:
    QChar m_separator;
    QString m_line;
    std::vector<std::pair<const ExactValue*, SignificantDigits>> m_digits;
};

Negated minus(const ExactValue& value) {
    return {value};
}

bool is(const ExactValue& value, int n) {
    return value.isRational() && value.p() == n;
}

// "a·p + b·q + c = 0" with the coefficients' signs folded into the joins.
QString equationLine(Writer& w, const EquationNumbers& n, QStringView p, QStringView q) {
    if (is(n.a, -1))
        w << u"-" << p;
    else if (is(n.a, 1))
        w << p;
    else
        w << n.a << p;

    if (is(n.b, -1))
        w << u" - " << q;
    else if (is(n.b, 1))
        w << u" + " << q;
    else if (n.b.sign() < 0)
        w << u" - " << minus(n.b) << q;
    else if (n.b.sign() > 0)
        w << u" + " << n.b << q;

    if (n.c.sign() < 0)
        w << u" - " << minus(n.c) << u" = 0";
    else if (n.c.sign() == 0)
        w << u" = 0";
    else
        w << u" + " << n.c << u" = 0";
    return w.take();
}

QString discriminantLine(Writer& w, const EquationNumbers& n) {
    w << u"D = " << n.b << u"² - 4 •";
    if (n.a.sign() < 0)
        w << u" (" << n.a << u") •";
    else
        w << u" " << n.a << u" •";
    if (n.c.sign() < 0)
        w << u" (" << n.c << u") =";
    else
        w << u" " << n.c << u" =";
    if (n.fourAC.sign() < 0)
        w << u" " << n.bSquared << u" - (" << n.fourAC << u") = " << n.d;
    else
        w << u" " << n.bSquared << u" - " << n.fourAC << u" = " << n.d;
    return w.take();
}

// "v₁ = - (b) + √D̅ / 2 • a = −b + √D / 2a = x₁", and the same with "₂", "-" and x₂.
QString rootLine(Writer& w, const EquationNumbers& n, QStringView v, QStringView index,
                 QStringView sign, const ExactValue& root) {
    w << v << index;
    if (n.b.sign() < 0)
        w << u" = - (" << n.b << u") " << sign << u" √";
    else
        w << u" = " << minus(n.b) << u" " << sign << u" √";
    w.overlined(n.d);
    if (n.a.sign() < 0)
        w << u" / 2 • (" << n.a << u") =";
    else
        w << u" / 2 • " << n.a << u" =";
    w << u" " << minus(n.b) << u" " << sign << u" " << n.rootOfD << u" / " << n.twoA << u" = "
      << root;
    return w.take();
}

QString singleRootLine(Writer& w, const EquationNumbers& n, QStringView v) {
    w << v;
    if (n.b.sign() < 0)
        w << u" = - (" << n.b << u") ± 0 / 2 •";
    else
        w << u" = " << minus(n.b) << u" ± 0 / 2 •";
    if (n.a.sign() < 0)
        w << u" (" << n.a << u")";
    else
        w << u" " << n.a;
    w << u" = " << minus(n.b) << u" / " << n.twoA << u" = " << n.x1;
    return w.take();
}

void requireDoubleRange(std::initializer_list<const ExactValue*> written) {
    for (const ExactValue* value : written) {
        if (value->exceedsDoubleRange())
            throw Failure(FailureKind::Overflow);
    }
}

} // namespace

CoefficientReading readCoefficients(const std::array<QString, 3>& texts,
                                    const std::array<QChar, 3>& separators, ZeroAIs zeroA) {
    CoefficientReading reading;
    if (texts[0].isEmpty()) {
        reading.outcome = CoefficientReading::MissingA;
        return reading;
    }
    mpq_class* const values[] = {&reading.coefficients.a, &reading.coefficients.b,
                                 &reading.coefficients.c};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i > 0 && texts[i].isEmpty())
            continue; // an empty b or c is 0
        const std::optional<mpq_class> value = parseExactDecimal(texts[i], separators[i]);
        if (!value) {
            // A zero a is refused before b and c are looked at.
            if (reading.outcome != CoefficientReading::ZeroA) {
                reading.outcome = CoefficientReading::NotANumber;
                reading.refusedLetter = static_cast<char>('a' + i);
            }
            return reading;
        }
        *values[i] = *value;
        if (i == 0 && sgn(*value) == 0 && zeroA == ZeroAIs::Refused)
            reading.outcome = CoefficientReading::ZeroA;
    }
    reading.complete = true;
    return reading;
}

QuadraticRoots quadraticRoots(const Coefficients& k) {
    return quadraticRoots(k, k.b * k.b - 4 * k.a * k.c);
}

QuadraticRoots quadraticRoots(const Coefficients& k, const mpq_class& d) {
    QuadraticRoots found;
    found.d = d;
    const int sign = sgn(found.d);
    if (sign < 0)
        return found;
    const mpq_class twoA = 2 * k.a;
    const mpq_class vertex = -k.b / twoA;
    if (sign == 0) {
        found.roots.emplace_back(vertex);
    } else if (isSquare(found.d)) {
        const mpq_class half = squareRootOfSquare(found.d) / twoA;
        found.roots.emplace_back(vertex + half);
        found.roots.emplace_back(vertex - half);
    } else {
        const std::shared_ptr<const Radical> rootOfD = Radical::of(found.d);
        const mpq_class half = 1 / twoA;
        found.roots.push_back(ExactValue::surd(vertex, half, rootOfD));
        found.roots.push_back(ExactValue::surd(vertex, -half, rootOfD));
    }
    return found;
}

std::vector<ExactValue> backSubstituted(const std::vector<ExactValue>& ys) {
    std::vector<ExactValue> roots;
    // Both zero cannot be: y₁ − y₂ = √D / a.
    const bool zero =
        std::any_of(ys.begin(), ys.end(), [](const ExactValue& y) { return y.sign() == 0; });
    if (zero)
        roots.emplace_back();
    for (const ExactValue& y : ys) {
        if (y.sign() > 0) {
            roots.push_back(ExactValue::squareRoot(y));
            roots.push_back(roots.back().negated());
        }
    }
    return roots;
}

EquationNumbers solveEquation(const Coefficients& k, EquationType type) {
    EquationNumbers n;
    n.type = type;
    n.a = ExactValue(k.a);
    n.b = ExactValue(k.b);
    n.c = ExactValue(k.c);
    n.bSquared = ExactValue(mpq_class(k.b * k.b));
    n.fourAC = ExactValue(mpq_class(4 * k.a * k.c));
    QuadraticRoots found = quadraticRoots(k, n.bSquared.p() - n.fourAC.p());
    n.d = ExactValue(found.d);
    requireDoubleRange({&n.a, &n.b, &n.c, &n.bSquared, &n.fourAC, &n.d});
    if (found.roots.empty())
        return n;

    n.twoA = ExactValue(mpq_class(2 * k.a));
    n.x1 = found.roots[0];
    if (found.roots.size() == 1) {
        requireDoubleRange({&n.twoA, &n.x1});
    } else {
        n.x2 = found.roots[1];
        n.rootOfD = n.x1.isRational() ? ExactValue(squareRootOfSquare(found.d))
                                      : ExactValue::surd(0, 1, n.x1.radical());
        requireDoubleRange({&n.twoA, &n.rootOfD, &n.x1, &n.x2});
    }
    n.roots =
        type == EquationType::Quadratic ? std::move(found.roots) : backSubstituted(found.roots);
    return n;
}

EquationText describeEquation(const EquationNumbers& n, const QString& letter, QChar separator,
                              const AnswerWords& words) {
    static constexpr std::array<QStringView, 4> subscripts{u"₁", u"₂", u"₃", u"₄"};
    const bool biquadratic = n.type == EquationType::Biquadratic;
    const QStringView v = biquadratic ? QStringView(letter) : QStringView(u"x");

    Writer w(separator);
    EquationText text;
    text.discriminant = formatGeneral(w.digitsOf(n.d), separator);
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

    if (n.d.sign() > 0) {
        text.lines.push_back(rootLine(w, n, v, subscripts[0], u"+", n.x1));
        text.lines.push_back(rootLine(w, n, v, subscripts[1], u"-", n.x2));
        if (biquadratic)
            text.lines.push_back((w << u"x² = " << n.x1 << u"; x² = " << n.x2).take());
    } else if (n.d.sign() == 0) {
        text.lines.push_back(singleRootLine(w, n, v));
    }

    // The answer names the same values, in the same order, as the root fields.
    for (std::size_t i = 0; i < n.roots.size(); ++i)
        text.rootFields[i] = formatGeneral(w.digitsOf(n.roots[i]), separator);
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
    text.noRealRoots = n.d.sign() < 0;
    return text;
}

} // namespace velmora
