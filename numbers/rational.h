#pragma once

#include <gmpxx.h>

#include <optional>

namespace velmora {

// 10^exponent, exactly; the small ones are kept in a table, a larger one lasts until the next
// call on the same thread.
const mpz_class& powerOfTen(unsigned long exponent);

// ⌊|value|·10^shift + ½⌋: |value| rounded half up to shift decimals (shift may be negative),
// the one rounding every exact number is written with.
mpz_class scaledHalfUp(const mpq_class& value, long shift);

// The decimals of a finite decimal (a denominator 2^i·5^j: max(i, j) of them); none for any
// other rational.
std::optional<unsigned long> decimalPlaces(const mpq_class& value);

// Whether a rational is the square of a rational, and its root when it is (value ≥ 0).
bool isSquare(const mpq_class& value);
mpq_class squareRootOfSquare(const mpq_class& value);

// The double nearest to a rational: ±infinity beyond the double range.
double nearestDouble(const mpq_class& value);

// The largest finite double, exactly: numbers beyond it are an overflow when written.
const mpq_class& largestDouble();

// The number of bits of the largest of a rational's numerator and denominator.
std::size_t bitSize(const mpq_class& value);

} // namespace velmora
