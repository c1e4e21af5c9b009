#include "update/installerfile.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace velmora {

QString installerFileName(const QString& url) {
    const QString name = QUrl(url, QUrl::TolerantMode).fileName();
    const QString suffix = QFileInfo(name).suffix();
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9]{1,16}$"));
    if (name.startsWith(QLatin1Char('.')) || !plain.match(suffix).hasMatch())
        return QStringLiteral("setup");
    return QStringLiteral("setup.") + suffix;
}

bool installerMatches(const QString& path, qint64 expectedSize, const QString& expectedSha256) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    if (expectedSize > 0 && file.size() != expectedSize)
        return false;
    if (expectedSha256.isEmpty())
        return true;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        return false;
    return QString::fromLatin1(hash.result().toHex())
               .compare(expectedSha256, Qt::CaseInsensitive) == 0;
}

} // namespace velmora
