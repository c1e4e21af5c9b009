#include "update/checkforupdates.h"

#include "update/manifest.h"
#include "update/updatefolder.h"

#include <QDir>
#include <QFile>

namespace velmora {

CheckForUpdates::CheckForUpdates(QString folder, QString manifestUrl, QByteArray signingKey)
    : m_folder(std::move(folder)), m_manifestUrl(std::move(manifestUrl)),
      m_signingKey(std::move(signingKey)) {}

void CheckForUpdates::Execute() {
    CheckOutcome outcome{std::nullopt, m_manifestUrl, !m_signingKey.isEmpty()};
    // A folder that cannot be made shows as a failed download.
    makePrivateFolder(m_folder);
    const QString path = QDir(m_folder).filePath(QLatin1String(manifest::FileName));
    // Brief: a server that trickles must not hold the check, and every request that waits for it,
    // for long.
    if (downloadFile(m_manifestUrl, path, &transfer(), {manifest::MaxManifestBytes, true})) {
        // A manifest this build does not take (unsigned, signed by another key, expired) is told
        // as a failed check, and not kept.
        outcome.manifest = manifest::loadManifest(path, m_signingKey);
        if (!outcome.manifest)
            QFile::remove(path);
    }
    // Stopped, not failed: nothing to tell.
    if (!cancelled())
        emit finished(outcome);
}

} // namespace velmora
