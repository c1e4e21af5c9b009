#pragma once

#include "state/global.h"

#include <QString>

namespace velmora {

// The file section that fills a text table: "Main Menu", "Square root" …
QString tableSection(TextTable table);

// The language file a language name selects, relative to the program's folder
// ("language/English.lng"); empty unless the name is one of the three, compared exactly.
QString languageFile(const QString& name);

// The language the program shows for a stored language name: that name when it selects a
// language file that is there, else the language of the user's locale, as at a first start (a
// store without "Language", an unknown name, a file that is missing).
QString shownLanguage(const QString& storedName);

// Fills the text tables from the language file the name selects, line number by line
// number, and switches the toolkit's own texts to that language (state/toolkittranslation.h).
// A name that selects no file leaves the tables and the toolkit's texts as they are; a missing
// file, section or key makes its entries empty. Both windows' LoadLang call this one loader.
void loadLanguage(const QString& name);

} // namespace velmora
