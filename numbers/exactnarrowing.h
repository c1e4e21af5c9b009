#pragma once

// What the two files of ExactValue share: where narrowing gives up, and the narrowing itself.

#include "numbers/exactvalue.h"
#include "platform/base/failure.h"

namespace velmora {

// Where narrowing gives up. The typed numbers are bounded, and so is the precision they can
// need: far below this.
constexpr mpfr_prec_t LastPrecision = mpfr_prec_t(1) << 24;

// Bounds at doubling precisions until the attempt gives its answer; a Failure past the last.
template <typename Attempt> auto ExactValue::narrowed(Attempt attempt) const {
    for (mpfr_prec_t precision = startingPrecision(); precision <= LastPrecision; precision *= 2) {
        if (auto answer = attempt(bounds(precision)))
            return *answer;
    }
    throw Failure(FailureKind::InvalidOperation);
}

} // namespace velmora
