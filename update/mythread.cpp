#include "update/mythread.h"

#include "platform/base/terminate.h"
#include "platform/base/uithread.h"
#include "platform/desktop/launch.h"
#include "platform/profile/profile.h"
#include "state/global.h"
#include "update/manifest.h"

#include <QDir>
#include <QFile>

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
    const auto planned =
        planInstaller(ProfileFile::load(folder.filePath(QLatin1String(manifest::FileName))),
                      m_manifestUrl, m_signingKey);
    if (const auto* refused = std::get_if<UpdateFailure>(&planned)) {
        fail(*refused);
        return;
    }
    const InstallerPlan& plan = std::get<InstallerPlan>(planned);

    QDir().mkpath(m_folder);
    const QString installer = folder.filePath(plan.fileName);
    if (!downloadFile(plan.url, installer, progress(), {plan.maxBytes})) {
        // An earlier file of the same name is not this download's either.
        QFile::remove(installer);
        fail(UpdateFailure::DownloadFailed);
        return;
    }
    if (!fileMeetsExpectation(installer, plan.expected)) {
        QFile::remove(installer);
        fail(UpdateFailure::NotVerified);
        return;
    }
    if (!startInstaller(installer)) {
        // Verified: it stays for the user to start.
        fail(UpdateFailure::StartFailed, installer);
        return;
    }
    uithread::call(TerminateApplication);
}

void MyThread::fail(UpdateFailure failure, const QString& installer) {
    if (m_failed)
        uithread::call([failed = m_failed, failure, installer] { failed(failure, installer); });
}

} // namespace velmora
