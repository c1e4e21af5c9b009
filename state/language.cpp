#include "state/language.h"

#include "platform/base/datafiles.h"
#include "platform/profile/profile.h"
#include "state/settingscatalogue.h"
#include "state/toolkittranslation.h"

namespace velmora {

QString tableSection(TextTable table) {
    switch (table) {
    case TextTable::MainMenu:
        return QStringLiteral("Main Menu");
    case TextTable::SquareRoot:
        return QStringLiteral("Square root");
    case TextTable::Trigonometry:
        return QStringLiteral("Trigonometry");
    case TextTable::Settings:
        return QStringLiteral("Settings");
    case TextTable::About:
        return QStringLiteral("About");
    case TextTable::Update:
        return QStringLiteral("Update");
    case TextTable::Messages:
        return QStringLiteral("Messages");
    case TextTable::More:
        return QStringLiteral("More");
    case TextTable::Help:
        return QStringLiteral("Help");
    }
    return {};
}

QString languageFile(const QString& name) {
    for (const QLatin1StringView known : catalogue::LanguageNames) {
        if (name == known)
            return QStringLiteral("language/%1.lng").arg(known);
    }
    return {};
}

QString shownLanguage(const QString& storedName) {
    const QString file = languageFile(storedName);
    if (!file.isEmpty() && !findDataFile(file, DataPlace::ProgramFolder).isEmpty())
        return storedName;
    return catalogue::userLocaleLanguage();
}

void loadLanguage(const QString& name) {
    const QString file = languageFile(name);
    if (file.isEmpty())
        return;
    // Parsed once for every entry. A file found nowhere reads as empty.
    const QString path = findDataFile(file, DataPlace::ProgramFolder);
    const ProfileFile profile = path.isEmpty() ? ProfileFile() : ProfileFile::load(path);

    constexpr TextTable order[] = {
        TextTable::MainMenu, TextTable::SquareRoot, TextTable::Trigonometry,
        TextTable::Settings, TextTable::About,      TextTable::Update,
        TextTable::Messages, TextTable::More,       TextTable::Help};
    QString sections[std::size(order)];
    for (std::size_t i = 0; i < std::size(order); ++i)
        sections[i] = tableSection(order[i]);

    // Line by line, each number in every table before the next number.
    for (int line = 1; line <= Global::MoreLines; ++line) {
        const QString key = QString::number(line);
        for (std::size_t i = 0; i < std::size(order); ++i) {
            if (line <= Global::lineCount(order[i]))
                Global::setText(order[i], line, profile.readString(sections[i], key, QString()));
        }
    }
    useToolkitTranslation(name);
}

} // namespace velmora
