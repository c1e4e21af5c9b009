#include "state/settingscatalogue.h"

#include "platform/failure.h"

#include <QStandardPaths>

namespace velmora::catalogue {
namespace {

// Opens the value's key, runs the access on it and closes it again.
template <typename Access> auto accessAt(const ValuePlace& place, Access access) {
    Registry registry(place.root);
    registry.openKey(place.keyPath(), true);
    return access(registry, place.valueName());
}

} // namespace

QString read(const StringValue& value) {
    return accessAt(value, [](Registry& r, const QString& name) { return r.readString(name); });
}

int read(const IntegerValue& value) {
    return accessAt(value, [](Registry& r, const QString& name) { return r.readInteger(name); });
}

void write(const StringValue& value, const QString& text) {
    accessAt(value, [&](Registry& r, const QString& name) { r.writeString(name, text); });
}

void write(const IntegerValue& value, int number) {
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

bool writeFirstRunDefaults(const QString& localeName) {
    Registry program(Language.root);
    if (program.openKey(Language.keyPath(), false))
        return false;
    QString language = QStringLiteral("English");
    if (localeName.startsWith(QLatin1StringView("ru")))
        language = QStringLiteral("Russian");
    else if (localeName.startsWith(QLatin1StringView("uk")))
        language = QStringLiteral("Ukrainian");
    try {
        write(Language, language);
        write(AutoUpdate, flagText(DefaultAutoUpdate));
        write(DetailedSolution, flagText(DefaultDetailedSolution));
        write(KeepWindowPosition, flagText(DefaultKeepWindowPosition));
        write(Replacement, DefaultReplacement);
    } catch (const Failure&) {
        return false;
    }
    return true;
}

QString startupLanguage() {
    try {
        return read(Language);
    } catch (const Failure&) {
        return QStringLiteral("Russian");
    }
}

QString commonAppDataFolder() {
    QString folder;
    try {
        folder = read(CommonAppData);
    } catch (const Failure&) {
        // A value of the wrong type names no folder. The Windows fallback, a drive root, has no
        // Linux counterpart the user could write to, so this takes the missing-value path.
    }
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return folder;
}

std::optional<int> storedEdge(const IntegerValue& edge) {
    try {
        return read(edge);
    } catch (const Failure&) {
        return std::nullopt;
    }
}

QString windowsVersion() {
    try {
        return read(WindowsVersion);
    } catch (const Failure&) {
        return QStringLiteral("0");
    }
}

} // namespace velmora::catalogue
