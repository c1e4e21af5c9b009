#pragma once

#include "numbers/exactvalue.h"

#include <QChar>
#include <QString>

namespace velmora {

constexpr QChar MinusSign = QChar(0x2212);

// A whole number in superscript digits: "⁻¹⁰", "³⁰⁸".
QString superscriptNumber(long number);

// The value rounded half up to the given number of decimals, with the separator and the minus
// given ("−1,41"); a value that rounds to zero is written without a sign.
QString fixedText(const ExactValue& value, int decimals, QChar separator, QChar minus = MinusSign);

// The value with `significant` digits, rounded half up, times a power of ten written in
// superscripts: "−1,50·10⁻¹⁰", "1,80·10³⁰⁸"; "0" for zero.
QString scientificText(const ExactValue& value, int significant, QChar separator,
                       QChar minus = MinusSign);

// Whether fixedText with these decimals writes the value exactly.
bool writtenExactly(const ExactValue& value, int decimals);

// How a value is written where only an approximation fits (a graph's label, "≈ …" after an
// exact form): fixedText with the decimals given, or scientificText with one digit more than
// the decimals where fixed decimals would show no significant digit of a non-zero value or
// more than 15 digits before the separator.
QString approximateText(const ExactValue& value, int decimals, QChar separator,
                        QChar minus = MinusSign);

// A value where it stands alone (a graph's label, its description): as it is where that takes
// no more decimals than given and fewer than 16 digits before the separator ("−0,25"), or in
// scientific form with one digit more than the decimals where that is exact ("1·10⁻⁸⁰");
// else "≈ " and approximateText ("≈ 1,235", "≈ −1,00·10⁻⁴⁰").
QString labelText(const ExactValue& value, int decimals, QChar separator, QChar minus = MinusSign);

} // namespace velmora
