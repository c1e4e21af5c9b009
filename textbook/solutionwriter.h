#pragma once

#include "textbook/solution.h"

namespace velmora::textbook {

const QString& minusSign();

// The form of −value.
ExactForm negated(ExactForm form);
void sortAscending(std::vector<ExactForm>& forms);

Formula variable(const QString& name, int power = 1);
Formula indexed(const QString& name, const QString& index);
// A number in brackets when negative, as a factor or a base is written: (−5)², 4·1·(−7).
Formula bracketed(const mpq_class& value, QChar separator);

// Writes one solution line by line: the equation, its kind's steps (solution.cpp for the
// linear equation and the answer, quadraticsteps.cpp for D, the roots, the substitution's way
// back, the factored form and the check).
class Writer {
public:
    Writer(const Problem& problem, const Words& words, QChar separator, int decimals)
        : m_problem(problem), m_words(words), m_separator(separator), m_decimals(decimals) {}

    Solution write();

private:
    const mpq_class& a() const { return m_problem.coefficients.a; }
    const mpq_class& b() const { return m_problem.coefficients.b; }
    const mpq_class& c() const { return m_problem.coefficients.c; }
    QString number(const mpq_class& value) const { return numberText(value, m_separator); }
    bool biquadratic() const { return m_problem.type == EquationType::Biquadratic; }

    Formula equationLine(const Formula& square, const Formula& single) const;
    ExactForm formOf(const ExactValue& value) {
        ExactForm form = simplest(value);
        if (m_problem.decimalForms)
            form.decimalSeparator = m_separator;
        if (!form.simplified)
            m_solution.simplified = false;
        return form;
    }
    // " ≈ 1,27", or " = 1,5" for a rational with no more decimals than asked; nothing for an
    // integer.
    Formula approximately(const ExactForm& form, const QString& sign = {}) const;
    void writeQuadratic(const QString& v);
    void writeOneRoot(const QString& v);
    void writeFactorUnknown(const QString& v);
    // False when v² = −c/a has no real root.
    bool writeSquareRootOf(const QString& v);
    void writeTwoRoots(const QString& v, const mpq_class& d);
    void writeBackSubstitution(const QString& v);
    void writeLinear();
    // x² = y for a y ≥ 0, written as one line, its roots kept.
    void writeSquareEquals(const ExactValue& y, const Formula& yFormula);
    void writeFactoredAndCheck(const QString& v);
    void writeAnswer();

    const Problem& m_problem;
    const Words& m_words;
    QChar m_separator;
    int m_decimals;
    Solution m_solution;
    // The roots of the equation in v (x or the letter), in the order x₁, x₂.
    std::vector<ExactForm> m_vRoots;
};

} // namespace velmora::textbook
