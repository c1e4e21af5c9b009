#include "state/settingscatalogue.h"

#include "platform/base/failure.h"

#include <QList>
#include <QLocale>
#include <QMutex>
#include <QStandardPaths>

#include <algorithm>
#include <utility>

namespace velmora::catalogue {
namespace {

// Opens the value's key, runs the access on it and closes it again.
template <typename Access> auto accessAt(const ValuePlace& place, Access access) {
    Registry registry(place.root);
    // Opening for a write fails only for an empty path, which no value has; the access would
    // then fail as any access without a key does.
    static_cast<void>(registry.openKey(place.keyPath(), true));
    return access(registry, place.valueName());
}

void writeAt(const StringValue& value, const QString& text) {
    accessAt(value, [&](Registry& r, const QString& name) { r.writeString(name, text); });
}

bool samePlace(const ValuePlace& a, const ValuePlace& b) {
    return a.root == b.root && a.keyPath().compare(b.keyPath(), Qt::CaseInsensitive) == 0 &&
           a.valueName().compare(b.valueName(), Qt::CaseInsensitive) == 0;
}

using HeldList = QList<std::pair<StringValue, QString>>;

// First-start values the store would not take; empty when none are held. Guarded, so that a
// setting may be read on any thread, as the store itself may.
struct HeldValues {
    QMutex mutex;
    HeldList values;
};

HeldValues& heldValues() {
    static HeldValues held;
    return held;
}

HeldList heldList() {
    HeldValues& held = heldValues();
    const QMutexLocker locker(&held.mutex);
    return held.values;
}

bool programKeyExists() {
    Registry program(Language.root);
    return program.openKey(Language.keyPath(), false);
}

// The held first-start value, while the store has no key of the program. Once the key is
// there (another copy of the program wrote it, or the store took a write), the store wins.
std::optional<QString> heldValue(const StringValue& value) {
    const HeldList held = heldList();
    const auto found = std::find_if(
        held.begin(), held.end(), [&](const auto& entry) { return samePlace(entry.first, value); });
    if (found == held.end())
        return std::nullopt;
    if (programKeyExists()) {
        forgetHeldFirstStartValues();
        return std::nullopt;
    }
    return found->second;
}

// Stores the held values, so the first write a store takes does not leave it with a key of the
// program that lacks them (the next start would then show blank captions). While the store
// refuses, they stay held and the caller's own write fails as it would have.
void storeHeldValues() {
    const HeldList held = heldList();
    if (held.isEmpty())
        return;
    if (!programKeyExists()) {
        try {
            for (const auto& [value, text] : held)
                writeAt(value, text);
        } catch (const Failure&) {
            return;
        }
    }
    forgetHeldFirstStartValues();
}

} // namespace

QString read(const StringValue& value) {
    if (const std::optional<QString> held = heldValue(value))
        return *held;
    return accessAt(value, [](Registry& r, const QString& name) { return r.readString(name); });
}

StoredValue<QString> find(const StringValue& value) {
    if (const std::optional<QString> held = heldValue(value))
        return {StoredValue<QString>::Found::Value, *held};
    return accessAt(value, [](Registry& r, const QString& name) { return r.findString(name); });
}

StoredValue<int> find(const IntegerValue& value) {
    return accessAt(value, [](Registry& r, const QString& name) { return r.findInteger(name); });
}

int read(const IntegerValue& value) {
    return accessAt(value, [](Registry& r, const QString& name) { return r.readInteger(name); });
}

void write(const StringValue& value, const QString& text) {
    storeHeldValues();
    writeAt(value, text);
}

void write(const IntegerValue& value, int number) {
    storeHeldValues();
    accessAt(value, [&](Registry& r, const QString& name) { r.writeInteger(name, number); });
}

Flag flagOf(const QString& text) {
    if (text == QLatin1StringView("true"))
        return Flag::True;
    if (text == QLatin1StringView("false"))
        return Flag::False;
    return Flag::Neither;
}

QString flagText(bool on) {
    return on ? QStringLiteral("true") : QStringLiteral("false");
}

std::optional<int> replacementPosition(const QString& text) {
    if (text.isEmpty())
        return std::nullopt;
    const qsizetype position = ReplacementLetters.indexOf(text);
    if (position < 0)
        return std::nullopt;
    return static_cast<int>(position);
}

QString localeLanguage(const QString& localeName) {
    if (localeName.startsWith(QLatin1StringView("ru")))
        return QStringLiteral("Russian");
    if (localeName.startsWith(QLatin1StringView("uk")))
        return QStringLiteral("Ukrainian");
    return QStringLiteral("English");
}

QString userLocaleLanguage() {
    return localeLanguage(QLocale().name());
}

FirstStart writeFirstRunDefaults(const QString& localeName) {
    forgetHeldFirstStartValues();
    if (programKeyExists())
        return FirstStart::NotFirst;
    const HeldList defaults = {
        {Language, localeLanguage(localeName)},
        {AutoUpdate, flagText(DefaultAutoUpdate)},
        {DetailedSolution, flagText(DefaultDetailedSolution)},
        {KeepWindowPosition, flagText(DefaultKeepWindowPosition)},
        {Replacement, DefaultReplacement},
    };
    try {
        for (const auto& [value, text] : defaults)
            writeAt(value, text);
    } catch (const Failure&) {
        HeldValues& held = heldValues();
        const QMutexLocker locker(&held.mutex);
        held.values = defaults;
        return FirstStart::HeldInMemory;
    }
    return FirstStart::Written;
}

void forgetHeldFirstStartValues() {
    HeldValues& held = heldValues();
    const QMutexLocker locker(&held.mutex);
    held.values.clear();
}

QString startupLanguage() {
    const StoredValue<QString> stored = find(Language);
    if (stored.found == StoredValue<QString>::Found::OtherType)
        return QStringLiteral("Russian");
    return stored.value;
}

QString commonAppDataFolder() {
    // A value of the wrong type names no folder. The Windows fallback, a drive root, has no Linux
    // counterpart the user could write to, so it takes the missing-value path.
    const QString folder = find(CommonAppData).valueOr(QString());
    if (folder.isEmpty())
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return folder;
}

std::optional<int> storedEdge(const IntegerValue& edge) {
    const StoredValue<int> stored = find(edge);
    if (!stored.has())
        return std::nullopt;
    return stored.value;
}

QString windowsVersion() {
    const StoredValue<QString> stored = find(WindowsVersion);
    if (stored.found == StoredValue<QString>::Found::OtherType)
        return QStringLiteral("0");
    return stored.value;
}

} // namespace velmora::catalogue
