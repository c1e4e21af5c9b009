#pragma once

#include <gmpxx.h>

namespace velmora {

// Trial division for square factors tries every prime below this bound, and no more, so the
// same number takes the same work, and gives the same form, on every run and every machine.
constexpr unsigned long SquareFactorBound = 1'000'000;

// n = outside²·inside.
struct SquareSplit {
    mpz_class outside = 1;
    mpz_class inside = 1;
    // Whether inside is known to be square-free. It is unless a part of n is left with no prime
    // factor below the bound, at least the bound cubed, not a square and not a prime: such a
    // part may still hold the square of a larger prime.
    bool squareFree = true;
};

// Of n > 0: the square factors of the primes below SquareFactorBound taken out, and what is
// left judged as SquareSplit says. A part left below the cube of the next prime to try is 1, a
// prime, a product of two primes or a square, and so is decided; a larger part is decided when
// it is a square or passes GMP's primality test (Baillie–PSW and Miller–Rabin rounds).
SquareSplit splitSquare(const mpz_class& n);

} // namespace velmora
