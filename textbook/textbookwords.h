#pragma once

#include "textbook/solution.h"

namespace velmora::textbook {

// The solution's words from the loaded language file's More table; a line the file lacks keeps
// its English word.
Words wordsOfLanguage();

} // namespace velmora::textbook
