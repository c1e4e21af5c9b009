#pragma once

#include <QString>

namespace velmora {

// The lines of the "More" table: the program's own texts that the seven interface tables have
// no line for.
enum class MoreText {
    AnswerWord = 1,        // starts the detailed solution's answer line ("Ответ:")
    NoRoots = 2,           // the answer when there is no real root ("нет корней")
    StoreDamaged = 3,      // a damaged settings file was kept aside as %1
    DownloadFailed = 4,    // the installer could not be downloaded
    NotVerified = 5,       // the installer could not be verified; nothing started or kept
    StartFailed = 6,       // the installer, kept as %1, could not be started
    NoUpdateServer = 7,    // this installation is updated with the system's packages
    UnusableInstaller = 8, // the offered installer is of a kind this system cannot start
    StoreUnusable = 9,     // the settings file %1 cannot be used; defaults, nothing kept
    ManifestRefused = 10,  // the update's manifest could not be verified; nothing downloaded
    AddressRefused = 11,   // the installer's address cannot be used; no request made
};

// The line of the loaded language file; when the file has none, the program's own words: the
// Russian answer words, so the solution of an older file reads as before, else English.
QString moreText(MoreText line);

// The notice that a damaged settings file was kept aside, with the kept copy's path, and its
// caption ("Messages" line 1).
QString storeNoticeText(const QString& keptCopy);
QString storeNoticeCaption();
// The notice that the settings file at the path cannot be read or written, so the program runs
// with the first-start settings and keeps no change.
QString unusableStoreNoticeText(const QString& storePath);

} // namespace velmora
