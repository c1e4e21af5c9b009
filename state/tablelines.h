#pragma once

#include "state/global.h"

#include <QString>

// The lines of the seven interface tables by name, numbered as the language files number them,
// and their texts: text(MainMenuLine::File) rather than Global::text(TextTable::MainMenu, 1).
namespace velmora {

enum class MainMenuLine {
    File = 1,
    Settings,
    Exit,
    View,
    DetailedSolution,
    Window,
    Equations,
    Trigonometry,
    Help,
    Contents,
    HomePage,
    CheckForUpdates,
    About,
};

enum class SquareRootLine {
    Caption = 1, // the page's tab
    EquationType,
    Quadratic,
    Biquadratic,
    Coefficients,
    Calculate,
    Trinomial,
    ShortAnswer,
    Discriminant,
    Roots,
    DetailedSolution,
};

enum class TrigonometryLine {
    Caption = 1, // the page's tab
    Functions,
    AngleValue,
    FunctionValue,
    Calculate,
};

enum class SettingsLine {
    Caption = 1,
    Language,
    LanguageListLeft, // the language list's left edge, in pixels
    AutoUpdate,
    DetailedSolution,
    KeepWindowPosition,
    Replacement,
    ReplacementListLeft, // the letter list's left edge, in pixels
    Defaults,
    Ok,
    Cancel,
    Apply,
};

enum class AboutLine {
    Caption = 1,
    Product,
    Version,
    Modified,
    ModifiedDate,
    Developer,
    DeveloperName, // the default developer name in the language's words
    WebPage,
    GoToWebPage,
    VersionHistory,
    Licence,
    Close,
};

enum class UpdateLine {
    Caption = 1,
    Title,
    CurrentVersion,
    NewVersion,
    Size,
    Connecting,
    Downloaded,
    Kilobytes,
    Megabytes,
    ShowFeatures,
    HideFeatures,
    Download,
};

enum class MessageLine {
    Information = 1, // caption
    ScreenScale,     // caption
    Error,           // caption
    ScaleQuestion,
    ScaleSet,
    // Line 6 is not used.
    MissingA = 7,
    ZeroA,
    InvalidCoefficient,
    NoRealRoots,
    NoUpdateInformation,
    LatestVersion,
    NewVersionAvailable,
};

inline QString text(MainMenuLine line) {
    return Global::text(TextTable::MainMenu, static_cast<int>(line));
}
inline QString text(SquareRootLine line) {
    return Global::text(TextTable::SquareRoot, static_cast<int>(line));
}
inline QString text(TrigonometryLine line) {
    return Global::text(TextTable::Trigonometry, static_cast<int>(line));
}
inline QString text(SettingsLine line) {
    return Global::text(TextTable::Settings, static_cast<int>(line));
}
inline QString text(AboutLine line) {
    return Global::text(TextTable::About, static_cast<int>(line));
}
inline QString text(UpdateLine line) {
    return Global::text(TextTable::Update, static_cast<int>(line));
}
inline QString text(MessageLine line) {
    return Global::text(TextTable::Messages, static_cast<int>(line));
}

// The report for a coefficient that is not a number: its line, then the letter in quotes.
inline QString refusedCoefficientText(char letter) {
    return text(MessageLine::InvalidCoefficient) + QStringLiteral(" \"") + QLatin1Char(letter) +
           QLatin1Char('"');
}

} // namespace velmora
