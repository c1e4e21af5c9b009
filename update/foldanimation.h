#pragma once

#include <QString>

#include <optional>

// The update dialog's features box unfolds and folds in 22 ticks, growing or shrinking about the
// window's vertical centre. The direction comes from the feature button's caption.
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

// What a feature-button caption asks for: one of the three show texts unfolds, one of the three
// hide texts folds, any other text does nothing.
enum class Direction { Unfold, Fold, None };
Direction directionOf(const QString& caption);

// The other text of the same language: the hide text for a show text and the reverse; any other
// text stays as it is.
QString oppositeCaption(const QString& caption);

} // namespace velmora::foldanimation
