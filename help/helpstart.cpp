#include "help/helpstart.h"

#include "platform/base/datafiles.h"
#include "platform/base/failure.h"
#include "platform/store/registry.h"
#include "state/settingscatalogue.h"

namespace velmora::help {

QString pageLanguage(const QString& languageName, const QString& localeName) {
    if (languageName == QLatin1String("Russian"))
        return QStringLiteral("ru");
    if (languageName == QLatin1String("Ukrainian"))
        return QStringLiteral("uk");
    if (languageName == QLatin1String("English"))
        return QStringLiteral("en");
    if (localeName.startsWith(QLatin1String("ru")))
        return QStringLiteral("ru");
    if (localeName.startsWith(QLatin1String("uk")))
        return QStringLiteral("uk");
    return QStringLiteral("en");
}

QString findPage(const QString& language, const QString& page) {
    const QString path =
        findDataFile(QStringLiteral("help/%1/%2").arg(language, page), DataPlace::ProgramFolder);
    if (!path.isEmpty() || language == QLatin1String("en"))
        return path;
    return findPage(QStringLiteral("en"), page);
}

QRect centredWindowArea(QSize wanted, const QRect& available) {
    const QSize size = wanted.boundedTo(available.size());
    return QRect(available.topLeft() + QPoint((available.width() - size.width()) / 2,
                                              (available.height() - size.height()) / 2),
                 size);
}

QString languageNameOf(const QString& folder) {
    if (folder == QLatin1String("ru"))
        return QStringLiteral("Russian");
    if (folder == QLatin1String("uk"))
        return QStringLiteral("Ukrainian");
    return QStringLiteral("English");
}

StartPage chooseStartPage(const QString& localeName) {
    StartPage start;
    Registry::setCorruptStoreHandler(
        [&start](const QString& keptCopy) { start.keptCopies << keptCopy; });
    start.language = pageLanguage(catalogue::startupLanguage(), localeName);

    // A value of another type asks for nothing.
    const bool history = catalogue::find(catalogue::HelpIndex).valueOr(QString()) ==
                         QLatin1String("version history");
    if (history) {
        try {
            catalogue::write(catalogue::HelpIndex, QString());
        } catch (const Failure&) {
            // A store that refuses the write leaves the request for the next start.
        }
    }
    Registry::setCorruptStoreHandler({});
    start.page = history ? QStringLiteral("history.html") : QStringLiteral("index.html");
    start.path = findPage(start.language, start.page);
    return start;
}

} // namespace velmora::help
