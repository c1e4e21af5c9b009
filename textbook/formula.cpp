#include "textbook/formula.h"

namespace velmora::textbook {
namespace {

constexpr QStringView Digits = u"0123456789+−=(),n";
constexpr QStringView Superscripts = u"⁰¹²³⁴⁵⁶⁷⁸⁹⁺⁻⁼⁽⁾,ⁿ";
constexpr QStringView Subscripts = u"₀₁₂₃₄₅₆₇₈₉₊₋₌₍₎,ₙ";

// "x²" when every character has a raised (or lowered) form, else "x^(…)" / "x_(…)".
QString scripted(const QString& base, const QString& script, QStringView forms, QChar marker) {
    QString out = base;
    for (const QChar c : script) {
        const qsizetype at = Digits.indexOf(c);
        if (at < 0)
            return base + marker + u'(' + script + u')';
        out += forms[at];
    }
    return out;
}

bool isPlainNumberOrLetter(const QString& text) {
    if (text.size() == 1)
        return text[0].isLetterOrNumber();
    for (const QChar c : text) {
        if (!c.isDigit() && c != u',' && c != u'.')
            return false;
    }
    return !text.isEmpty();
}

// A root, or a whole number times a root ("3√(2 + √3)"): one factor, whatever its radicand holds.
bool isSingleRoot(const Formula& f) {
    if (f.kind == Formula::Kind::Root)
        return true;
    if (f.kind != Formula::Kind::Row || f.parts.empty() ||
        f.parts.back().kind != Formula::Kind::Root)
        return false;
    for (std::size_t i = 0; i + 1 < f.parts.size(); ++i) {
        const Formula& part = f.parts[i];
        if (part.kind != Formula::Kind::Math || !isPlainNumberOrLetter(part.text))
            return false;
    }
    return true;
}

bool needsBrackets(const QString& text, QStringView operators) {
    for (const QChar c : operators) {
        if (text.contains(c))
            return true;
    }
    return false;
}

QString latexMath(const QString& text) {
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        switch (c.unicode()) {
        case 0x2212:
            out += u'-';
            break;
        case 0x00B7:
            out += QStringLiteral("\\cdot ");
            break;
        case 0x00B1:
            out += QStringLiteral("\\pm ");
            break;
        case 0x2248:
            out += QStringLiteral("\\approx ");
            break;
        case 0x2265:
            out += QStringLiteral("\\geq ");
            break;
        case 0x2264:
            out += QStringLiteral("\\leq ");
            break;
        case 0x2260:
            out += QStringLiteral("\\neq ");
            break;
        case 0x21D2:
            out += QStringLiteral("\\Rightarrow ");
            break;
        case u',':
            // A decimal comma between digits; a list comma otherwise.
            if (i > 0 && i + 1 < text.size() && text[i - 1].isDigit() && text[i + 1].isDigit())
                out += QStringLiteral("{,}");
            else
                out += u',';
            break;
        case u';':
            out += QStringLiteral(";\\;");
            break;
        case u'%':
            out += QStringLiteral("\\%");
            break;
        case u'{':
            out += QStringLiteral("\\{");
            break;
        case u'}':
            out += QStringLiteral("\\}");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString latexWords(const QString& text) {
    QString out;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\\':
            out += QStringLiteral("\\textbackslash{}");
            break;
        case u'{':
        case u'}':
        case u'$':
        case u'&':
        case u'#':
        case u'_':
        case u'%':
            out += u'\\';
            out += c;
            break;
        case u'^':
            out += QStringLiteral("\\^{}");
            break;
        case u'~':
            out += QStringLiteral("\\~{}");
            break;
        case 0x2212:
            out += QStringLiteral("$-$");
            break;
        default:
            out += c;
        }
    }
    return QStringLiteral("\\text{%1}").arg(out);
}

} // namespace

Formula row(std::vector<Formula> parts) {
    return {Formula::Kind::Row, {}, std::move(parts)};
}
Formula math(const QString& text) {
    return {Formula::Kind::Math, text, {}};
}
Formula words(const QString& text) {
    return {Formula::Kind::Words, text, {}};
}
Formula fraction(Formula numerator, Formula denominator) {
    return {Formula::Kind::Fraction, {}, {std::move(numerator), std::move(denominator)}};
}
Formula root(Formula radicand) {
    return {Formula::Kind::Root, {}, {std::move(radicand)}};
}
Formula sup(Formula base, Formula script) {
    return {Formula::Kind::Sup, {}, {std::move(base), std::move(script)}};
}
Formula sub(Formula base, Formula script) {
    return {Formula::Kind::Sub, {}, {std::move(base), std::move(script)}};
}

void append(Formula& target, Formula part) {
    if (target.kind != Formula::Kind::Row)
        target = row({std::move(target)});
    target.parts.push_back(std::move(part));
}

QString plainText(const Formula& f) {
    switch (f.kind) {
    case Formula::Kind::Math:
    case Formula::Kind::Words:
        return f.text;
    case Formula::Kind::Row: {
        QString out;
        for (const Formula& part : f.parts)
            out += plainText(part);
        return out;
    }
    case Formula::Kind::Fraction: {
        QString top = plainText(f.parts[0]);
        QString bottom = plainText(f.parts[1]);
        if (!isSingleRoot(f.parts[0]) && needsBrackets(top, u" ·±/"))
            top = u'(' + top + u')';
        if (!isPlainNumberOrLetter(bottom))
            bottom = u'(' + bottom + u')';
        return top + u'/' + bottom;
    }
    case Formula::Kind::Root: {
        const QString radicand = plainText(f.parts[0]);
        if (needsBrackets(radicand, u" /·+−±(√"))
            return QStringLiteral("√(%1)").arg(radicand);
        return u'√' + radicand;
    }
    case Formula::Kind::Sup:
        return scripted(plainText(f.parts[0]), plainText(f.parts[1]), Superscripts, u'^');
    case Formula::Kind::Sub:
        return scripted(plainText(f.parts[0]), plainText(f.parts[1]), Subscripts, u'_');
    }
    return {};
}

QString latex(const Formula& f) {
    switch (f.kind) {
    case Formula::Kind::Math:
        return latexMath(f.text);
    case Formula::Kind::Words:
        return latexWords(f.text);
    case Formula::Kind::Row: {
        QString out;
        for (const Formula& part : f.parts)
            out += latex(part);
        return out;
    }
    case Formula::Kind::Fraction:
        return QStringLiteral("\\frac{%1}{%2}").arg(latex(f.parts[0]), latex(f.parts[1]));
    case Formula::Kind::Root:
        return QStringLiteral("\\sqrt{%1}").arg(latex(f.parts[0]));
    case Formula::Kind::Sup:
        return QStringLiteral("{%1}^{%2}").arg(latex(f.parts[0]), latex(f.parts[1]));
    case Formula::Kind::Sub:
        return QStringLiteral("{%1}_{%2}").arg(latex(f.parts[0]), latex(f.parts[1]));
    }
    return {};
}

} // namespace velmora::textbook
