#pragma once

#include "textbook/graph/graphmodel.h"
#include "textbook/solution.h"
#include "textbook/typedsolution.h"

namespace velmora::textbook {

// The solution's words from the loaded language file's More table; a line the file lacks keeps
// its English word.
Words wordsOfLanguage();

// The graph's words from the same table.
graph::GraphTexts graphTextsOfLanguage();

// Why the reader refused a line, in the interface language, with the place in the line:
// "Unexpected character ')' at position 7".
QString equationErrorWords(const EquationError& error);
// Why a typed line has no solution: the reader's refusal, or the degree of an equation not
// solved here. Empty for a solution.
QString refusalWords(const TypedOutcome& outcome);

} // namespace velmora::textbook
