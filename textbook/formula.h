#pragma once

#include <QString>

#include <vector>

namespace velmora::textbook {

// One part of a written formula, as a tree: the model the text, the LaTeX and the painting are
// all made from.
struct Formula {
    enum class Kind {
        Row,      // the parts one after another
        Math,     // symbols and numbers: "x", "= ", "−3", "±"
        Words,    // prose in the interface language
        Fraction, // parts[0] over parts[1]
        Root,     // √ over parts[0]
        Sup,      // parts[0] with parts[1] raised
        Sub,      // parts[0] with parts[1] lowered
    };
    Kind kind = Kind::Row;
    QString text;
    std::vector<Formula> parts;
};

Formula row(std::vector<Formula> parts);
Formula math(const QString& text);
Formula words(const QString& text);
Formula fraction(Formula numerator, Formula denominator);
Formula root(Formula radicand);
Formula sup(Formula base, Formula script);
Formula sub(Formula base, Formula script);

// Appends a part to a row (or makes a row of the two).
void append(Formula& row, Formula part);

// One line of plain Unicode: fraction bars as "/" with brackets where needed, "√65",
// "√(2 + √3)", digits raised and lowered as "x²", "x₁,₂".
QString plainText(const Formula& formula);

// The formula in LaTeX (amsmath): \frac, \sqrt, ^{}, _{}, \pm, prose in \text{}.
QString latex(const Formula& formula);

} // namespace velmora::textbook
