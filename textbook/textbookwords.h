#pragma once

#include "textbook/graph/graphmodel.h"
#include "textbook/solution.h"

namespace velmora::textbook {

// The solution's words from the loaded language file's More table; a line the file lacks keeps
// its English word.
Words wordsOfLanguage();

// The graph's words from the same table.
graph::GraphTexts graphTextsOfLanguage();

} // namespace velmora::textbook
