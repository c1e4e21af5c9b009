#pragma once

#include "textbook/graph/graphmodel.h"
#include "textbook/solution.h"

namespace velmora::textbook {

// The graph of a solved equation: its curve from the exact coefficients, its real roots at their
// exact values labelled with their exact forms, and which of them the curve only touches (a
// double root: D = 0, or the root 0 of a biquadratic equation without c). Numbers are written
// with the separator and the decimals of the solution.
graph::GraphModel graphOf(const Problem& problem, const Solution& solution, QChar separator,
                          int decimals, const graph::GraphTexts& texts);

} // namespace velmora::textbook
