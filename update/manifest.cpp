#include "update/manifest.h"

#include <QRegularExpression>

#include <algorithm>

#ifndef VELMORA_UPDATE_SERVER_DEFAULT
#error "the build defines the default update server"
#endif

namespace velmora::manifest {
namespace {

const QString InfoSetup = QStringLiteral("Info setup");

} // namespace

QString serverBase() {
    QString base = qEnvironmentVariable("VELMORA_UPDATE_SERVER");
    if (base.isEmpty())
        base = QStringLiteral(VELMORA_UPDATE_SERVER_DEFAULT);
    base = base.trimmed();
    if (base.isEmpty())
        return {};
    if (!base.contains(QLatin1String("://")))
        base.prepend(QLatin1String("https://"));
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base;
}

QString manifestUrl() {
    const QString base = serverBase();
    return base.isEmpty() ? QString() : base + QLatin1String(ServerPath);
}

int offeredVersion(const ProfileFile& file) {
    return file.readInteger(InfoSetup, u"Version 1", ProgramVersion);
}

QString offeredVersionText(const ProfileFile& file) {
    return file.readString(InfoSetup, u"Version 2", QString());
}

int installerSize(const ProfileFile& file) {
    return file.readInteger(InfoSetup, u"Size 1", 0);
}

QString installerSizeText(const ProfileFile& file) {
    return file.readString(InfoSetup, u"Size 2", QString());
}

QString installerUrl(const ProfileFile& file) {
    return file.readString(InfoSetup, u"URL", QString());
}

QString installerSha256(const ProfileFile& file) {
    return file.readString(InfoSetup, u"SHA-256", QString()).trimmed();
}

QString installerSignature(const ProfileFile& file) {
    return file.readString(InfoSetup, u"Signature", QString()).trimmed();
}

QString featureSection(const QString& languageName) {
    if (languageName == QLatin1String("Russian"))
        return QStringLiteral("Info new version ru");
    if (languageName == QLatin1String("English"))
        return QStringLiteral("Info new version en");
    if (languageName == QLatin1String("Ukrainian"))
        return QStringLiteral("Info new version uk");
    return {};
}

QStringList featureLines(const ProfileFile& file, const QString& languageName) {
    const QString section = featureSection(languageName);
    if (section.isEmpty())
        return {};
    const int quantity = file.readInteger(section, u"Quantity of lines", 0);
    if (quantity <= 0)
        return {};
    static const QRegularExpression lineKey(QStringLiteral("^line [1-9][0-9]*$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QStringList keys = file.keyNames(section);
    const auto lineKeys = std::count_if(
        keys.begin(), keys.end(), [](const QString& key) { return lineKey.match(key).hasMatch(); });
    const auto count = std::min<qsizetype>(quantity, std::max<qsizetype>(lineKeys, FeatureLineCap));

    QStringList lines;
    lines.reserve(count);
    for (qsizetype i = 1; i <= count; ++i)
        lines << file.readString(section, QStringLiteral("Line %1").arg(i), QString());
    return lines;
}

} // namespace velmora::manifest
