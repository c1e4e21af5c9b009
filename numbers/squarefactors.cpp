#include "numbers/squarefactors.h"

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace velmora {
namespace {

// The primes below SquareFactorBound, sieved once, on the first factoring.
const std::vector<std::uint32_t>& primes() {
    static const std::vector<std::uint32_t> table = [] {
        std::vector<bool> composite(SquareFactorBound, false);
        std::vector<std::uint32_t> found;
        found.reserve(80'000);
        for (unsigned long n = 2; n < SquareFactorBound; ++n) {
            if (composite[n])
                continue;
            found.push_back(static_cast<std::uint32_t>(n));
            for (unsigned long multiple = n * n; multiple < SquareFactorBound; multiple += n)
                composite[multiple] = true;
        }
        return found;
    }();
    return table;
}

// Takes the rest's last part, with no prime factor below the divisions tried, into the split.
void takeRest(SquareSplit& split, const mpz_class& rest, bool decided) {
    if (rest == 1)
        return;
    if (mpz_perfect_square_p(rest.get_mpz_t())) {
        mpz_class root;
        mpz_sqrt(root.get_mpz_t(), rest.get_mpz_t());
        split.outside *= root;
        return;
    }
    split.inside *= rest;
    if (!decided && mpz_probab_prime_p(rest.get_mpz_t(), 25) == 0)
        split.squareFree = false;
}

} // namespace

// Every prime cubed fits an unsigned long.
static_assert(SquareFactorBound < 2'642'245);

SquareSplit splitSquare(const mpz_class& n) {
    if (sgn(n) <= 0)
        throw std::domain_error("square factors of a number that is not positive");
    SquareSplit split;
    mpz_class rest = n;
    mpz_class power;
    for (const std::uint32_t prime : primes()) {
        // No factor below prime is left: a rest below prime³ has at most two prime factors.
        const unsigned long cube = static_cast<unsigned long>(prime) * prime * prime;
        if (mpz_cmp_ui(rest.get_mpz_t(), cube) < 0) {
            takeRest(split, rest, true);
            return split;
        }
        if (!mpz_divisible_ui_p(rest.get_mpz_t(), prime))
            continue;
        const mpz_class factor(prime);
        const mp_bitcnt_t count =
            mpz_remove(rest.get_mpz_t(), rest.get_mpz_t(), factor.get_mpz_t());
        mpz_pow_ui(power.get_mpz_t(), factor.get_mpz_t(), count / 2);
        split.outside *= power;
        if (count % 2 == 1)
            split.inside *= prime;
    }
    takeRest(split, rest, false);
    return split;
}

} // namespace velmora
