#pragma once

#include "platform/store/registry.h"
#include "state/storednames.h"

#include <QLatin1StringView>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>

// Every value the program keeps in the store or reads from it: where it lives, its name and its
// type, the flag strings, and the fallbacks of the reads that have one. Every reader and writer
// goes through here.
namespace velmora::catalogue {

// A value's place in the store. Its type is part of the C++ type, so a string value cannot be
// read as an integer by mistake.
struct ValuePlace {
    RootKey root;
    const char16_t* key;
    const char16_t* name;

    QString keyPath() const { return QString::fromUtf16(key); }
    QString valueName() const { return QString::fromUtf16(name); }
};
struct StringValue : ValuePlace {};
struct IntegerValue : ValuePlace {};

// The program's own key, one for every user of the machine.
inline constexpr const char16_t* ProgramKey = storednames::ProgramKey;

inline constexpr StringValue Language{{RootKey::LocalMachine, ProgramKey, u"Language"}};
inline constexpr StringValue AutoUpdate{{RootKey::LocalMachine, ProgramKey, u"Auto update"}};
inline constexpr StringValue DetailedSolution{
    {RootKey::LocalMachine, ProgramKey, u"Detailed solution"}};
inline constexpr StringValue KeepWindowPosition{
    {RootKey::LocalMachine, ProgramKey, u"Keep window position"}};
inline constexpr IntegerValue WindowLeft{
    {RootKey::LocalMachine, ProgramKey, u"Keep window position_x"}};
inline constexpr IntegerValue WindowTop{
    {RootKey::LocalMachine, ProgramKey, u"Keep window position_y"}};
inline constexpr StringValue Replacement{{RootKey::LocalMachine, ProgramKey, u"Replacement"}};
inline constexpr StringValue HelpIndex{{RootKey::LocalMachine, ProgramKey, u"Help index"}};
// The textbook view's place and size, and the decimals of its approximations.
inline constexpr IntegerValue TextbookLeft{{RootKey::LocalMachine, ProgramKey, u"Textbook view_x"}};
inline constexpr IntegerValue TextbookTop{{RootKey::LocalMachine, ProgramKey, u"Textbook view_y"}};
inline constexpr IntegerValue TextbookWidth{
    {RootKey::LocalMachine, ProgramKey, u"Textbook view_width"}};
inline constexpr IntegerValue TextbookHeight{
    {RootKey::LocalMachine, ProgramKey, u"Textbook view_height"}};
inline constexpr IntegerValue TextbookDecimals{
    {RootKey::LocalMachine, ProgramKey, u"Textbook view decimals"}};
inline constexpr int DefaultTextbookDecimals = 2;
// The solution's share of the textbook view's height, in thousandths; the graph has the rest.
inline constexpr IntegerValue TextbookSplit{
    {RootKey::LocalMachine, ProgramKey, u"Textbook view split"}};
// The equations last solved with Enter in the textbook view's equation line, the most recent
// first, as one text (textbook/equationhistory.h says how it is written).
inline constexpr StringValue TextbookEquations{
    {RootKey::LocalMachine, ProgramKey, u"Textbook view equations"}};

// Values of the operating system. Linux has none of them in the store, so the readers take
// their missing-value paths unless a value has been stored there (tests seed them).
inline constexpr StringValue CommonAppData{
    {RootKey::LocalMachine,
     u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", u"Common AppData"}};
inline constexpr StringValue WindowsVersion{
    {RootKey::LocalMachine, u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", u"CurrentVersion"}};
inline constexpr IntegerValue UserLogPixels{
    {RootKey::CurrentUser, u"Control Panel\\Desktop", u"LogPixels"}};
inline constexpr IntegerValue ConfigLogPixels{
    {RootKey::CurrentConfig, u"Software\\Fonts", u"LogPixels"}};
inline constexpr IntegerValue ColorizationOpaqueBlend{
    {RootKey::CurrentUser, u"Software\\Microsoft\\Windows\\DWM", u"ColorizationOpaqueBlend"}};
inline constexpr IntegerValue Composition{
    {RootKey::CurrentUser, u"Software\\Microsoft\\Windows\\DWM", u"Composition"}};

// One access as the program makes every access: open the value's key (created by a write when
// missing), read or write, close. Failures are the store's ("Invalid data type for '%s'" …).
QString read(const StringValue& value);
int read(const IntegerValue& value);
// The same access for a reader that expects the value may be missing or of another type: what
// it found, as a value (see StoredValue), never a failure.
StoredValue<QString> find(const StringValue& value);
StoredValue<int> find(const IntegerValue& value);
void write(const StringValue& value, const QString& text);
void write(const IntegerValue& value, int number);

// Flags are stored as "true" and "false", compared exactly; any other text is neither.
enum class Flag { True, False, Neither };
Flag flagOf(const QString& text);
QString flagText(bool on);

// The language names that select a language file, in the order they are compared.
inline constexpr std::array<QLatin1StringView, 3> LanguageNames{
    QLatin1StringView("Russian"), QLatin1StringView("English"), QLatin1StringView("Ukrainian")};

// The letters that may replace x² in a biquadratic equation: a to z without x.
inline constexpr QStringView ReplacementLetters = u"abcdefghijklmnopqrstuvwyz";
// Where a stored "Replacement" text occurs in those letters ("mn" → 12, the "m"); no value for
// a text that does not occur, the empty text included.
std::optional<int> replacementPosition(const QString& text);

// The language a locale name selects: "ru…" Russian, "uk…" Ukrainian, anything else English.
// It is the default language: the first start stores it and the restore button offers it.
QString localeLanguage(const QString& localeName);
// The same for the user's locale (QLocale's default, the system's unless a test sets one).
QString userLocaleLanguage();

// What the settings dialog's restore button offers besides the user's locale language.
inline constexpr bool DefaultAutoUpdate = true;
inline constexpr bool DefaultDetailedSolution = true;
inline constexpr bool DefaultKeepWindowPosition = true;
inline constexpr QLatin1StringView DefaultReplacement("y");

// The first start of a user whose store has no key of the program at all: writes what an
// installer writes, the defaults above with the language of the user's locale. Without it a first
// start would show blank captions and a biquadratic solve no substitution letter. A key that
// exists, even empty, is left alone. A store that refuses the write (a FIFO, a folder, a folder
// nobody may write) is left as it is and the values are held in memory instead: while the store has
// no key of the program, reads of those values give them, and the next write tries to store them
// all before its own value, so a store that starts taking writes never gets a key without them.
enum class FirstStart { NotFirst, Written, HeldInMemory };
FirstStart writeFirstRunDefaults(const QString& localeName);
// Stops holding first-start values in memory (the program's windows are gone).
void forgetHeldFirstStartValues();

// Reads that fall back silently instead of failing.

// "Language" at start-up: a value that is not a string gives "Russian"; a missing one the
// empty name, so no language file is read.
QString startupLanguage();
// The Common AppData folder: the stored value when there is one; otherwise the user's XDG data
// folder, which is where a Linux desktop keeps such files.
QString commonAppDataFolder();
// A stored window edge; no value when it is missing or not an integer.
std::optional<int> storedEdge(const IntegerValue& edge);
// "CurrentVersion": "0" when it is not a string, empty when missing.
QString windowsVersion();

} // namespace velmora::catalogue
