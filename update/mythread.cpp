#include "update/mythread.h"

#include "platform/base/terminate.h"
#include "platform/base/uithread.h"
#include "platform/desktop/launch.h"
#include "state/global.h"
#include "update/manifest.h"
#include "update/updatefolder.h"

#include <QDir>
#include <QFile>

#include <cstdio>

namespace velmora {

MyThread::MyThread(std::shared_ptr<DownloadProgress> progress, DownloadFailedHandler failed)
    : UpdateWorker(std::move(progress)), m_folder(Global::updateFolder()),
      m_manifestUrl(manifest::manifestUrl()), m_signingKey(updateSigningKey()),
      m_failed(std::move(failed)) {}

void MyThread::TerminateApplication() {
    requestTerminate();
}

void MyThread::Execute() {
    const QDir folder(m_folder);
    // Read and checked again: what the download fetches is what a signed manifest names now.
    const auto manifest =
        manifest::loadManifest(folder.filePath(QLatin1String(manifest::FileName)), m_signingKey);
    if (!manifest) {
        fail(UpdateFailure::ManifestRefused);
        return;
    }
    const auto planned = planInstaller(*manifest, m_manifestUrl);
    if (const auto* refused = std::get_if<UpdateFailure>(&planned)) {
        fail(*refused);
        return;
    }
    const InstallerPlan& plan = std::get<InstallerPlan>(planned);

    if (!makePrivateFolder(m_folder)) {
        fail(UpdateFailure::DownloadFailed);
        return;
    }
    // Fetched beside the installer an earlier start left for the user, which only a verified
    // one replaces.
    const QString installer = folder.filePath(plan.fileName);
    const QString fetched = installer + QLatin1String(FetchedSuffix);
    if (!downloadFile(plan.url, fetched, progress(), {plan.maxBytes})) {
        QFile::remove(fetched);
        fail(UpdateFailure::DownloadFailed);
        return;
    }
    // Checked and started through one handle: a file renamed over the path in between is not
    // what starts.
    const std::unique_ptr<QFile> verified = openVerifiedFile(fetched, plan.expected);
    if (!verified || std::rename(QFile::encodeName(fetched).constData(),
                                 QFile::encodeName(installer).constData()) != 0) {
        QFile::remove(fetched);
        fail(UpdateFailure::NotVerified);
        return;
    }
    // The dialog that asked for it has closed, or the program ends: nothing starts without it.
    if (progress()->cancelled.load())
        return;
    if (!startInstaller(*verified, installer)) {
        // Verified: it stays for the user to start.
        fail(UpdateFailure::StartFailed, installer);
        return;
    }
    // It runs from the handle (or from its own copy): the name is no longer needed.
    QFile::remove(installer);
    uithread::call(TerminateApplication);
}

void MyThread::fail(UpdateFailure failure, const QString& installer) {
    if (m_failed)
        uithread::call([failed = m_failed, failure, installer] { failed(failure, installer); });
}

} // namespace velmora
