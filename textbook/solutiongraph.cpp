#include "textbook/solutiongraph.h"

namespace velmora::textbook {

graph::GraphModel graphOf(const Problem& problem, const Solution& solution, QChar separator,
                          int decimals, const graph::GraphTexts& texts) {
    const Coefficients& k = problem.coefficients;
    const bool biquadratic = problem.type == EquationType::Biquadratic;
    // With a = 0 the biquadratic equation is b·x² + c = 0: a parabola when b ≠ 0.
    graph::Curve curve(graph::Curve::Quadratic, k.a, k.b, k.c);
    if (sgn(k.a) == 0)
        curve = biquadratic && sgn(k.b) != 0 ? graph::Curve(graph::Curve::Quadratic, k.b, 0, k.c)
                                             : graph::Curve(graph::Curve::Linear, 0, k.b, k.c);
    else if (biquadratic)
        curve = graph::Curve(graph::Curve::Biquadratic, k.a, k.b, k.c);
    const bool linear = curve.kind() == graph::Curve::Linear;
    // A double root: D = 0, or x = 0 of x²·(…) (the biquadratic without c, or b·x² = 0).
    const bool doubleRoots = solution.discriminant && sgn(*solution.discriminant) == 0;
    const bool zeroTouches = biquadratic && sgn(k.c) == 0;

    std::vector<graph::RootInput> roots;
    for (const ExactForm& root : solution.roots) {
        graph::RootInput input;
        input.value = root.value;
        input.exact = plainText(formulaOf(root));
        input.touches = !linear && (doubleRoots || (zeroTouches && root.value.sign() == 0));
        roots.push_back(input);
    }
    return graph::makeGraph(curve, roots, separator, decimals, texts);
}

} // namespace velmora::textbook
