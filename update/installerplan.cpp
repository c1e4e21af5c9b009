#include "update/installerplan.h"

#include "update/manifest.h"

#include <QRegularExpression>
#include <QUrl>

#include <mutex>

#ifndef VELMORA_UPDATE_SIGNING_KEY
#error "the build defines the update signing key (empty for none)"
#endif

namespace velmora {
namespace {

std::mutex g_keyMutex;
QByteArray g_key = buildUpdateSigningKey();

bool isScheme(const QUrl& url, const char* scheme) {
    return url.scheme().compare(QLatin1String(scheme), Qt::CaseInsensitive) == 0;
}

// "setup" with the canonical spelling of the kind's extension; empty for another kind.
QString fileNameFor(const QUrl& url) {
    const QString name = url.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0)
        return {};
    const QString suffix = name.mid(dot + 1);
    for (const char* kind : {"deb", "AppImage", "run"}) {
        if (suffix.compare(QLatin1String(kind), Qt::CaseInsensitive) == 0)
            return QStringLiteral("setup.") + QLatin1String(kind);
    }
    return {};
}

} // namespace

std::variant<InstallerPlan, UpdateFailure> planInstaller(const ProfileFile& manifest,
                                                         const QString& manifestUrl) {
    // The dialog offered a newer version; a manifest read again must still offer one.
    if (manifest::offeredVersion(manifest) <= manifest::ProgramVersion)
        return UpdateFailure::ManifestRefused;

    InstallerPlan plan;
    plan.url = manifest::installerUrl(manifest).trimmed();
    const QUrl url(plan.url, QUrl::StrictMode);
    const bool secureManifest = isScheme(QUrl(manifestUrl), "https");
    if (!url.isValid() || url.host().isEmpty() ||
        !(isScheme(url, "https") || (isScheme(url, "http") && !secureManifest)))
        return UpdateFailure::AddressRefused;

    plan.fileName = fileNameFor(url);
    if (plan.fileName.isEmpty())
        return UpdateFailure::UnusableInstaller;

    const int size = manifest::installerSize(manifest);
    if (size > 0) {
        plan.maxBytes = size;
        plan.expected.size = size;
    }

    static const QRegularExpression sha256(QStringLiteral("^[0-9A-Fa-f]{64}$"));
    const QString digest = manifest::installerSha256(manifest);
    if (!sha256.match(digest).hasMatch())
        return UpdateFailure::ManifestRefused;
    plan.expected.sha256 = QByteArray::fromHex(digest.toLatin1());
    return plan;
}

QByteArray buildUpdateSigningKey() {
    return QByteArray::fromBase64(VELMORA_UPDATE_SIGNING_KEY);
}

QByteArray updateSigningKey() {
    const std::lock_guard lock(g_keyMutex);
    return g_key;
}

void setUpdateSigningKey(const QByteArray& key) {
    const std::lock_guard lock(g_keyMutex);
    g_key = key;
}

} // namespace velmora
