#include "textbook/solutiongraph.h"

namespace velmora::textbook {
namespace {

// Where the graph draws a root: its value to 30 decimals, read as the nearest double.
double placeOf(const ExactForm& root) {
    return roundedDecimals(root, 30, u'.', u'-').toDouble();
}

} // namespace

graph::GraphModel graphOf(const Problem& problem, const Solution& solution, QChar separator,
                          const graph::GraphTexts& texts) {
    const Coefficients& k = problem.coefficients;
    const bool linear = sgn(k.a) == 0;
    const graph::Curve::Kind kind = linear ? graph::Curve::Linear
                                    : problem.type == EquationType::Biquadratic
                                        ? graph::Curve::Biquadratic
                                        : graph::Curve::Quadratic;
    const bool doubleRoots = solution.discriminant && sgn(*solution.discriminant) == 0;

    std::vector<graph::RootInput> roots;
    for (const ExactForm& root : solution.roots) {
        graph::RootInput input;
        input.x = placeOf(root);
        input.exact = plainText(formulaOf(root));
        input.touches =
            !linear && (doubleRoots || (kind == graph::Curve::Biquadratic && signOf(root) == 0));
        roots.push_back(input);
    }
    return graph::makeGraph(graph::Curve(kind, k.a, k.b, k.c), roots, separator, texts);
}

} // namespace velmora::textbook
