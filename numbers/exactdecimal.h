#pragma once

#include <QChar>
#include <QStringView>

#include <gmpxx.h>

#include <optional>

namespace velmora {

// Numbers this far below 1 in magnitude are refused as input, as numbers beyond the double
// range are: no typed field reaches them, and they would only make the arithmetic slow.
constexpr long SmallestInputExponent = -9999;

// Reads a typed number as the exact rational it names ("0,1" is 1/10, "1E-400" is 10⁻⁴⁰⁰).
// It takes the texts parseDecimal takes (those beyond the double range are refused), except the
// non-zero ones below 1E-9999 in magnitude.
std::optional<mpq_class> parseExactDecimal(QStringView text, QChar separator);

} // namespace velmora
