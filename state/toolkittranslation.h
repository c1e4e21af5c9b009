#pragma once

#include <QString>

namespace velmora {

// The file of the toolkit's own texts (standard buttons, the fields' context menu) for a
// language name: "qtbase_ru" for Russian, "qtbase_uk" for Ukrainian, empty for English and for
// any other name.
QString toolkitTranslationFile(const QString& languageName);

// Installs the toolkit's translation for the language name in place of the one installed before
// (English needs none), so its texts follow the language. The files come with the toolkit's
// translations; without them the texts stay English. Does nothing before the application
// exists. Call on the user-interface thread.
void useToolkitTranslation(const QString& languageName);

} // namespace velmora
