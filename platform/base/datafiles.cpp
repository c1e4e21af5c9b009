#include "platform/base/datafiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace velmora {

QString installedDataFolder() {
    const QString fromEnvironment = qEnvironmentVariable("VELMORA_DATA_DIR");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                           QStringLiteral("/../share/velmora"));
}

QStringList dataFileCandidates(const QString& relativePath, DataPlace first) {
    const QString programFolder = QCoreApplication::applicationDirPath();
    QStringList places;
    if (first == DataPlace::CurrentFolder)
        places << QDir::currentPath();
    places << programFolder << installedDataFolder();
    places.removeDuplicates();

    QStringList candidates;
    for (const QString& place : places)
        candidates << QDir(place).filePath(relativePath);
    return candidates;
}

QString findDataFile(const QString& relativePath, DataPlace first) {
    for (const QString& candidate : dataFileCandidates(relativePath, first)) {
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return {};
}

} // namespace velmora
