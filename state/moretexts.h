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
    // The standard error report: its caption, and the messages of the failures of a known kind
    // (platform/base/failure.h), %1 standing for the failure's subject.
    ErrorCaption = 10,     // "Velmora"
    InvalidOperation = 11, // "Invalid floating point operation"
    DivisionByZero = 12,   // "Floating point division by zero"
    Overflow = 13,         // "Floating point overflow"
    NotAFloat = 14,        // "'%1' is not a valid floating point value"
    NotAnInteger = 15,     // "''%1'' is not a valid integer value"
    StoreInvalidType = 16, // "Invalid data type for '%1'"
    StoreReadFailed = 17,  // "Failed to get data for '%1'"
    StoreWriteFailed = 18, // "Failed to set data for '%1'"
};

// The line of the loaded language file; when the file has none, the program's own words: the
// Russian answer words, so the solution of an older file reads as before, else English.
QString moreText(MoreText line);

class Failure;

// The error report's words in the loaded language: its caption, and a failure's message (the
// failure's own message for a failure of no known kind).
QString errorReportCaption();
QString failureText(const Failure& failure);

// The notice that a damaged settings file was kept aside, with the kept copy's path, and its
// caption ("Messages" line 1).
QString storeNoticeText(const QString& keptCopy);
QString storeNoticeCaption();
// The notice that the settings file at the path cannot be read or written, so the program runs
// with the first-start settings and keeps no change.
QString unusableStoreNoticeText(const QString& storePath);

} // namespace velmora
