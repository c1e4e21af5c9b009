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
    // The textbook view: its caption and menu item, what it says before a solve.
    TextbookCaption = 10,
    TextbookEmpty = 11,
    // The words of its solution.
    TextbookLet = 12,          // "Let x² = t, t ≥ 0"
    TextbookOneRoot = 13,      // "D = 0 ⇒ one root"
    TextbookNoRealRoots = 14,  // "D < 0 ⇒ no real roots"
    TextbookRejected = 15,     // "t₂ = −3 < 0: rejected, since t ≥ 0"
    TextbookLinear = 16,       // "a = 0: the equation is linear"
    TextbookNoSolution = 17,   // of a linear equation 0·x = c, c ≠ 0
    TextbookAnyNumber = 18,    // "x is any number", after the x
    TextbookFactored = 19,     // "Factored form: …"
    TextbookCheck = 20,        // "Check by Vieta's formulas: …"
    TextbookAnswer = 21,       // the answer line, %1 the roots
    TextbookAnswerEach = 22,   // one root in the answer, %1 its value
    TextbookAnswerJoin = 23,   // between two roots of the answer
    TextbookNoRoots = 24,      // the answer when there is no real root
    TextbookUnsimplified = 25, // some roots are exact but not in simplest form
    // Its commands.
    TextbookCopyText = 26,
    TextbookCopyLatex = 27,
    TextbookPrint = 28,
    TextbookSavePdf = 29,
    TextbookZoomIn = 30,
    TextbookZoomOut = 31,
    TextbookZoomReset = 32,
    TextbookDecimals = 33,
    TextbookClose = 34,
    TextbookPdfFilter = 35,
    // The graph of the equation in the textbook view: its name, the words of its description
    // (templates take the numbers as %1 and %2), and its command.
    GraphName = 36,
    GraphParabolaUp = 37,
    GraphParabolaDown = 38,
    GraphQuarticUp = 39,
    GraphQuarticDown = 40,
    GraphLine = 41,
    GraphPoint = 42,
    GraphVertex = 43,
    GraphMinimum = 44,
    GraphMaximum = 45,
    GraphCrossesX = 46,
    GraphTouchesX = 47,
    GraphNoCrossing = 48,
    GraphCrossesY = 49,
    GraphJoin = 50,
    GraphTooClose = 51,
    GraphTooLarge = 52,
    GraphSave = 53,
    GraphFileFilter = 54,
    ManifestRefused = 55, // the update's manifest could not be verified; nothing downloaded
    AddressRefused = 56,  // the installer's address cannot be used; no request made
    // The standard error report: its caption, and the messages of the failures of a known kind
    // (platform/base/failure.h), %1 standing for the failure's subject.
    ErrorCaption = 57,     // "Velmora"
    InvalidOperation = 58, // "Invalid floating point operation"
    DivisionByZero = 59,   // "Floating point division by zero"
    Overflow = 60,         // "Floating point overflow"
    NotAFloat = 61,        // "'%1' is not a valid floating point value"
    NotAnInteger = 62,     // "''%1'' is not a valid integer value"
    StoreInvalidType = 63, // "Invalid data type for '%1'"
    StoreReadFailed = 64,  // "Failed to get data for '%1'"
    StoreWriteFailed = 65, // "Failed to set data for '%1'"
    // The steps of a typed equation to its standard form (%1: the number both sides are
    // multiplied or divided by; the degree in FormNotSolved).
    FormOpenBrackets = 66,
    FormMultiplyBoth = 67,
    FormMoveToLeft = 68,
    FormCollect = 69,
    FormDivideBoth = 70,
    FormChangeSigns = 71,
    FormIdentity = 72,
    FormContradiction = 73,
    FormFactorOut = 74,
    FormZeroProduct = 75,
    FormNotSolved = 76,
    // The textbook view's equation line: its label (with its mnemonic), the View menu item that
    // opens the view there, and why a line was refused. In the refusals %1 is the position and
    // %2 the character there; %3 is the limit passed, or for two unknowns the first letter.
    TextbookEquationLabel = 77,
    TextbookTypeEquation = 78,
    EquationUnexpectedCharacter = 79,
    EquationUnexpectedEnd = 80,
    EquationMissingBracket = 81,
    EquationNumberAfterFactor = 82,
    EquationUnknownInDenominator = 83,
    EquationDivisionByZero = 84,
    EquationTwoUnknowns = 85,
    EquationMoreThanOneEquals = 86,
    EquationMissingEquals = 87,
    EquationEmptySide = 88,
    EquationDegreeTooHigh = 89,
    EquationExponentTooLarge = 90,
    EquationZeroToPowerZero = 91,
    EquationNumberTooLong = 92,
    EquationNumbersTooLarge = 93,
    EquationNestingTooDeep = 94,
    EquationInputTooLong = 95,
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
