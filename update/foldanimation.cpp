#include "update/foldanimation.h"

#include <array>

namespace velmora::foldanimation {
namespace {

// The single heights where the easing steps start, unfolding and folding.
struct Ease {
    int from;
    int height;
    int top;
};
constexpr std::array<Ease, 5> UnfoldEase{
    {{352, 6, -3}, {358, 4, -2}, {362, 3, -1}, {365, 2, -1}, {367, 1, -1}}};
constexpr std::array<Ease, 5> FoldEase{
    {{232, -6, 3}, {226, -4, 2}, {222, -3, 1}, {219, -2, 1}, {217, -1, 1}}};

std::optional<Step> ease(const std::array<Ease, 5>& table, int clientHeight) {
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i].from == clientHeight)
            return Step{table[i].height, table[i].top, i + 1 == table.size()};
    }
    return std::nullopt;
}

} // namespace

std::optional<Step> unfoldStep(int clientHeight) {
    if (clientHeight >= 216 && clientHeight <= 344)
        return Step{8, -4, false};
    return ease(UnfoldEase, clientHeight);
}

std::optional<Step> foldStep(int clientHeight) {
    if (clientHeight >= 240 && clientHeight <= 368)
        return Step{-8, 4, false};
    return ease(FoldEase, clientHeight);
}

} // namespace velmora::foldanimation
