#pragma once

// Whether a caption is written in the interface language it belongs to, by its letters: an
// English caption has no Cyrillic letter; a Russian or Ukrainian one is not in Latin letters
// alone (names such as "Velmora" and "OK" aside) and has none of the other's own letters.

#include <QString>

namespace velmora::test {

// Why the text does not read as the language ("Russian", "English", "Ukrainian"); "" when it
// does, or when it has no letters at all.
inline QString captionLanguageFault(const QString& text, const QString& language) {
    // Words every language keeps as they are.
    static const QString names[] = {QStringLiteral("Velmora"), QStringLiteral("OK"),
                                    QStringLiteral("E-mail")};
    QString rest = text;
    for (const QString& name : names)
        rest.remove(name);
    bool latin = false;
    bool cyrillic = false;
    for (const QChar c : rest) {
        if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'))
            latin = true;
        else if (c.script() == QChar::Script_Cyrillic && c.isLetter())
            cyrillic = true;
    }
    if (language == QLatin1String("English"))
        return cyrillic ? QStringLiteral("Cyrillic in an English caption") : QString();
    if (latin && !cyrillic)
        return QStringLiteral("Latin letters only in a %1 caption").arg(language);
    // Letters one of the two languages has and the other has not.
    const QString otherLetters = language == QLatin1String("Russian") ? QStringLiteral("іїєґІЇЄҐ")
                                                                      : QStringLiteral("ыэъёЫЭЪЁ");
    for (const QChar c : rest)
        if (otherLetters.contains(c))
            return QStringLiteral("the letter %1 in a %2 caption").arg(c).arg(language);
    return {};
}

} // namespace velmora::test
