#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

#include <optional>

namespace velmora {

// The functions the trigonometry page offers. arctg is shown but can never be chosen, so it
// has no entry here.
enum class TrigFunction { Sin, Cos, Tg, Ctg, Arcsin, Arccos, Arcctg };

// sin, cos, tg and ctg read an angle in degrees; the others read a function value and answer
// with an angle in degrees.
[[nodiscard]] bool isDirect(TrigFunction f);

// The input text as a number, read with the given decimal separator.
// Throws Failure("'<text>' is not a valid floating point value") when it is not one.
double readTrigInput(QStringView text, QChar separator);

// The fixed answer when the text equals one of the function's keys character for character
// ("90" is a key, "90,0" and "090" are not); no value otherwise.
std::optional<QString> exactTrigValue(TrigFunction f, QStringView text);

// The answer for the input text: the fixed answer when the text is a key, else the value
// computed from x (readTrigInput of the same text) in the result format.
// Throws Failure("Invalid floating point operation") for arcsin/arccos outside -1..1,
// Failure("Floating point division by zero") for ctg of a zero angle that is not the key "0",
// and Failure("Floating point overflow") should a result ever be infinite.
QString trigAnswer(TrigFunction f, QStringView text, double x, QChar separator);

// A computed value written with at most five significant digits and five decimals:
// fixed-point with exactly five decimals ("1,73210"), scientific from 99999.5 in magnitude
// ("5,7296E5"), and "0,00000" without a sign for anything that rounds to zero.
// The value must be finite.
QString formatTrigResult(long double value, QChar separator);

} // namespace velmora
