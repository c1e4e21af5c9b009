#pragma once

#include <QString>

namespace velmora {

// The lines of the "Help" table: the help window's own words (the pages carry the rest).
enum class HelpText {
    Back = 1,         // the toolbar's Back
    Forward = 2,      // the toolbar's Forward
    Contents = 3,     // the toolbar's Contents
    PagesMissing = 4, // the note shown when the help pages are not installed
    Find = 5,         // the find bar's label ("Find:")
    NotFound = 6,     // the find bar's note when no page holds the text
};

// The line of the loaded language file; when the file has none, the English words.
QString helpText(HelpText line);

} // namespace velmora
