#pragma once

#include <QString>

namespace velmora::help {

// The folder of the help pages in a language name's language: "ru", "en" or "uk". A name that
// is none of the three follows the user's locale ("ru…" Russian, "uk…" Ukrainian, else English).
QString pageLanguage(const QString& languageName, const QString& localeName);

// The page the help opens with.
struct StartPage {
    QString language; // "ru", "en" or "uk"
    QString page;     // "index.html" or "history.html"
    QString path;     // the page's file; empty when the pages are not installed
};

// Reads "Language" and "Help index" as the main program stores them. "version history" opens
// the version history and is then cleared, so the next plain start opens the contents again;
// anything else opens the contents. A store that cannot be read or written changes nothing
// but that. The pages are looked up in the program's folder and the installed data folder, in
// English when the language has none.
StartPage chooseStartPage(const QString& localeName);

// A help page's file, looked up as above; empty when it is missing in both languages.
QString findPage(const QString& language, const QString& page);

} // namespace velmora::help
