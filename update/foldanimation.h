#pragma once

#include <optional>

// The update dialog's features box unfolds and folds in 22 ticks, growing or shrinking about the
// window's vertical centre. The dialog keeps the direction; the button's caption only shows it.
namespace velmora::foldanimation {

inline constexpr int CollapsedHeight = 216;
inline constexpr int ExpandedHeight = 368;

// One tick: what the client height and the window's top edge change by; the last step ends the
// animation.
struct Step {
    int height = 0;
    int top = 0;
    bool last = false;
};

// The step from the given client height; none outside the tables.
std::optional<Step> unfoldStep(int clientHeight);
std::optional<Step> foldStep(int clientHeight);

} // namespace velmora::foldanimation
