#pragma once

#include "state/global.h"

#include <QString>

namespace velmora {

// The file section that fills a text table: "Main Menu", "Square root" …
QString tableSection(TextTable table);

// The language file a language name selects, relative to the program's folder
// ("language/English.lng"); empty unless the name is one of the three, compared exactly.
QString languageFile(const QString& name);

// Fills the text tables from the language file the name selects, line number by line
// number, and switches the toolkit's own texts to that language (state/toolkittranslation.h).
// A name that selects no file leaves the tables and the toolkit's texts as they are; a missing
// file, section or key makes its entries empty. Both windows' LoadLang call this one loader.
void loadLanguage(const QString& name);

} // namespace velmora
