#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

namespace velmora::help {

// The folder of the help pages in a language name's language: "ru", "en" or "uk". A name that
// is none of the three follows the user's locale ("ru…" Russian, "uk…" Ukrainian, else English).
QString pageLanguage(const QString& languageName, const QString& localeName);

// The page the help opens with.
struct StartPage {
    QString language;       // "ru", "en" or "uk"
    QString page;           // "index.html" or "history.html"
    QString path;           // the page's file; empty when the pages are not installed
    QStringList keptCopies; // damaged settings files the store kept aside while reading
};

// Reads "Language" and "Help index" as the main program stores them. "version history" opens
// the version history and is then cleared, so the next plain start opens the contents again;
// anything else opens the contents. A store that cannot be read or written changes nothing
// but that; a damaged one is kept aside by the store, and the copies are named for the user. The
// pages are looked up in the program's folder and the installed data folder, in English when the
// language has none.
StartPage chooseStartPage(const QString& localeName);

// The language name of a page folder: "ru" Russian, "uk" Ukrainian, anything else English.
QString languageNameOf(const QString& folder);

// A help page's file, looked up as above; empty when it is missing in both languages.
QString findPage(const QString& language, const QString& page);

// Where a window of the wanted size, its frame included, goes in a screen's available area:
// shrunk to fit the area where it is larger, and in the middle of it.
QRect centredWindowArea(QSize wanted, const QRect& available);

} // namespace velmora::help
