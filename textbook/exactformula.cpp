#include "numbers/exacttext.h"
#include "numbers/rational.h"
#include "textbook/solutionwriter.h"

#include <algorithm>

// How exact values are written as formulas: a rational as a decimal or a fraction, a form's
// terms over its denominator, a nested root.

namespace velmora::textbook {
namespace {

// A whole number of more than 15 digits that ends in zeros is written as its other digits times
// a power of ten, exactly ("1·10¹⁵⁰", "25·10²⁰"), not as a row of zeros no one reads.
QString wholeText(const mpz_class& magnitude) {
    QString digits = QString::fromStdString(magnitude.get_str());
    if (digits.size() <= 15)
        return digits;
    qsizetype zeros = 0;
    while (zeros + 1 < digits.size() && digits[digits.size() - 1 - zeros] == u'0')
        ++zeros;
    if (zeros == 0 || digits.size() - zeros > 15)
        return digits;
    const QString power = QStringLiteral("10") + superscriptNumber(zeros);
    const QString mantissa = digits.left(digits.size() - zeros);
    return mantissa == u"1" ? power : mantissa + u'·' + power;
}

QString integerText(const mpz_class& value) {
    QString text = wholeText(abs(value));
    return sgn(value) < 0 ? minusSign() + text : text;
}

// "−" and the terms of a sum, each "c√k", with ± for the last when asked.
Formula sumFormula(const std::vector<RootTerm>& terms, bool plusMinus) {
    Formula out = row({});
    if (terms.empty()) {
        append(out, math(QStringLiteral("0")));
        return out;
    }
    for (std::size_t i = 0; i < terms.size(); ++i) {
        const RootTerm& term = terms[i];
        const bool negative = sgn(term.coefficient) < 0;
        const bool last = i + 1 == terms.size();
        if (plusMinus && last)
            append(out, math(i == 0 ? QStringLiteral("±") : QStringLiteral(" ± ")));
        else if (i == 0)
            append(out, math(negative ? minusSign() : QString()));
        else
            append(out, math(negative ? QStringLiteral(" − ") : QStringLiteral(" + ")));
        const mpz_class magnitude = abs(term.coefficient);
        if (term.radicand == 1) {
            append(out, math(wholeText(magnitude)));
            continue;
        }
        if (magnitude != 1)
            append(out, math(wholeText(magnitude)));
        append(out, root(math(wholeText(term.radicand))));
    }
    return out;
}

Formula overDenominator(const std::vector<RootTerm>& terms, const mpz_class& denominator,
                        bool plusMinus) {
    if (denominator == 1)
        return sumFormula(terms, plusMinus);
    const mpz_class denominatorCopy = denominator;
    const Formula bottom = math(wholeText(denominatorCopy));
    // A single negative term is written −√6/3, its sign before the bar, and so is ±√6/3.
    if (terms.size() == 1 && (sgn(terms[0].coefficient) < 0 || plusMinus)) {
        std::vector<RootTerm> positive = terms;
        positive[0].coefficient = abs(positive[0].coefficient);
        return row({math(plusMinus ? QStringLiteral("±") : minusSign()),
                    fraction(sumFormula(positive, false), bottom)});
    }
    return fraction(sumFormula(terms, plusMinus), bottom);
}

QString decimalText(const mpq_class& value, QChar separator, bool& finite) {
    // A finite decimal's digits are value·10^k for its k decimals.
    const std::optional<unsigned long> decimals = decimalPlaces(value);
    finite = decimals.has_value();
    if (!finite)
        return {};
    const unsigned long places = *decimals;
    const mpz_class power = powerOfTen(places);
    const mpz_class scaled = abs(value.get_num()) * (power / value.get_den());
    QString digits = QString::fromStdString(scaled.get_str());
    // More than 15 whole digits, or below 0,0001: every significant digit times a power of
    // ten, exactly, rather than a row of zeros ("1·10³⁰⁰", "2,5·10⁻⁸⁰").
    const long exponent = static_cast<long>(digits.size()) - static_cast<long>(places);
    if (sgn(value) != 0 && (exponent > 15 || exponent < -3)) {
        while (digits.size() > 1 && digits.endsWith(u'0'))
            digits.chop(1);
        QString text = QStringLiteral("10") + superscriptNumber(exponent - 1);
        if (digits != u"1")
            text = digits.left(1) + (digits.size() > 1 ? separator + digits.mid(1) : QString()) +
                   u'·' + text;
        return sgn(value) < 0 ? minusSign() + text : text;
    }
    if (places > 0) {
        if (digits.size() <= qsizetype(places))
            digits = QString(qsizetype(places) + 1 - digits.size(), u'0') + digits;
        digits.insert(digits.size() - qsizetype(places), separator);
    }
    return sgn(value) < 0 ? minusSign() + digits : digits;
}

} // namespace

const QString& minusSign() {
    static const QString minus(QChar(0x2212));
    return minus;
}

ExactForm negated(ExactForm form) {
    form.value = form.value.negated();
    if (form.nested) {
        form.factor = -form.factor;
        return form;
    }
    for (RootTerm& term : form.terms)
        term.coefficient = -term.coefficient;
    putPositiveFirst(form);
    return form;
}

void sortAscending(std::vector<ExactForm>& forms) {
    std::sort(forms.begin(), forms.end(), [](const ExactForm& one, const ExactForm& other) {
        return one.value.compare(other.value) < 0;
    });
}

QString numberText(const mpq_class& value, QChar separator) {
    bool finite = false;
    const QString decimal = decimalText(value, separator, finite);
    if (finite)
        return decimal;
    return integerText(value.get_num()) + u'/' + wholeText(value.get_den());
}

Formula formulaOf(const ExactForm& form, bool plusMinus) {
    if (writtenAsDecimal(form))
        return math((plusMinus ? QStringLiteral("±") : QString()) +
                    numberText(plusMinus ? mpq_class(abs(form.rational())) : form.rational(),
                               *form.decimalSeparator));
    if (!form.nested) {
        // −(√6 + √2)/2 rather than (−√6 − √2)/2.
        if (!plusMinus && allRootsNegative(form)) {
            const ExactForm positive = negated(form);
            if (positive.denominator != 1)
                return row({math(minusSign()), formulaOf(positive)});
            return row({math(minusSign() + u'('), formulaOf(positive), math(QStringLiteral(")"))});
        }
        return overDenominator(form.terms, form.denominator, plusMinus);
    }
    Formula out = row({});
    const mpz_class& top = form.factor.get_num();
    Formula inner = root(overDenominator(form.terms, form.denominator, false));
    // √(c√k) is the fourth root ⁴√(c²k), as the class writes it.
    if (form.terms.size() == 1 && form.denominator == 1 && form.terms[0].radicand != 1) {
        const RootTerm& term = form.terms[0];
        const mpz_class under = term.coefficient * term.coefficient * term.radicand;
        inner =
            row({sup(math(QString()), math(QStringLiteral("4"))), root(math(wholeText(under)))});
    }
    Formula factorAndRoot = row({});
    if (abs(top) != 1)
        append(factorAndRoot, math(wholeText(mpz_class(abs(top)))));
    append(factorAndRoot, inner);
    if (sgn(top) < 0)
        append(out, math(plusMinus ? QStringLiteral("±") : minusSign()));
    else if (plusMinus)
        append(out, math(QStringLiteral("±")));
    if (form.factor.get_den() != 1)
        append(out, fraction(factorAndRoot, math(wholeText(form.factor.get_den()))));
    else
        append(out, factorAndRoot);
    return out;
}

} // namespace velmora::textbook
