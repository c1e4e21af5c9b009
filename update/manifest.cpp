#include "update/manifest.h"

#include "platform/net/filecheck.h"

#include <QFile>
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

QDateTime expiry(const ProfileFile& file) {
    const QString text = file.readString(InfoSetup, u"Expires", QString()).trimmed();
    // Only a UTC time in the form the release tool writes.
    static const QRegularExpression form(
        QStringLiteral("^[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}Z$"));
    if (!form.match(text).hasMatch())
        return {};
    return QDateTime::fromString(text, Qt::ISODate);
}

bool expired(const ProfileFile& file, const QDateTime& now) {
    const QDateTime expires = expiry(file);
    return !expires.isValid() || now >= expires;
}

std::optional<ProfileFile> readManifest(QByteArrayView bytes, const QByteArray& signingKey,
                                        const QDateTime& now) {
    if (signingKey.isEmpty())
        return ProfileFile::parse(bytes);

    // The last header of the signature section that starts a line.
    const QByteArray header = QByteArray("[") + SignatureSection + "]";
    qsizetype at = bytes.size();
    for (;;) {
        at = at > 0 ? bytes.lastIndexOf(header, at - 1) : -1;
        if (at < 0)
            return std::nullopt;
        if (at == 0 || bytes[at - 1] == '\n')
            break;
    }
    const QByteArrayView signedPart = bytes.first(at);
    const QString encoded =
        ProfileFile::parse(bytes.sliced(at))
            .readString(QString::fromLatin1(SignatureSection), u"Ed25519", QString())
            .trimmed();
    const auto signature =
        QByteArray::fromBase64Encoding(encoded.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!signature || !ed25519Verifies(signedPart, signingKey, signature.decoded))
        return std::nullopt;

    ProfileFile file = ProfileFile::parse(signedPart);
    if (expired(file, now))
        return std::nullopt;
    return file;
}

std::optional<ProfileFile> loadManifest(const QString& path, const QByteArray& signingKey) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return signingKey.isEmpty() ? std::optional(ProfileFile()) : std::nullopt;
    const QByteArray bytes = file.read(MaxManifestBytes + 1);
    if (bytes.size() > MaxManifestBytes)
        return std::nullopt;
    return readManifest(bytes, signingKey, QDateTime::currentDateTimeUtc());
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
    const int count = std::min(quantity, FeatureLineCap);

    QStringList lines;
    lines.reserve(count);
    for (int i = 1; i <= count; ++i)
        lines << file.readString(section, QStringLiteral("Line %1").arg(i), QString());
    return lines;
}

} // namespace velmora::manifest
