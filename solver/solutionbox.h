#pragma once

#include <optional>

namespace velmora {

// Heights that fit the detailed solution to its lines: one line every 15 pixels.
struct SolutionBoxHeights {
    int memo;   // the text box
    int group;  // its group box
    int client; // the main window's client area
};

// The fitted heights for 3 to 8 lines; other counts leave the sizes as they are.
constexpr std::optional<SolutionBoxHeights> solutionBoxHeights(int lineCount) {
    if (lineCount < 3 || lineCount > 8)
        return std::nullopt;
    const int memo = 15 * lineCount + 27;
    return SolutionBoxHeights{memo, memo + 34, memo + 396};
}

} // namespace velmora
