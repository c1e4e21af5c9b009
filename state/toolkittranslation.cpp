#include "state/toolkittranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace velmora {
namespace {

struct Installed {
    QPointer<QTranslator> translator; // owned by the application
    QString file;
};

Installed& installed() {
    static Installed current;
    return current;
}

} // namespace

QString toolkitTranslationFile(const QString& languageName) {
    if (languageName == QLatin1String("Russian"))
        return QStringLiteral("qtbase_ru");
    if (languageName == QLatin1String("Ukrainian"))
        return QStringLiteral("qtbase_uk");
    return {};
}

void useToolkitTranslation(const QString& languageName) {
    QCoreApplication* application = QCoreApplication::instance();
    if (!application)
        return;
    const QString file = toolkitTranslationFile(languageName);
    Installed& current = installed();
    // Loading the same file again would only cost time: a language is often reloaded.
    if (current.translator && current.file == file)
        return;
    if (current.translator) {
        QCoreApplication::removeTranslator(current.translator);
        delete current.translator;
    }
    current.file = file;
    if (file.isEmpty())
        return;
    auto* translator = new QTranslator(application);
    if (translator->load(file, QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(translator))
        current.translator = translator;
    else
        delete translator;
}

} // namespace velmora
