#include "update/mythread.h"

#include "platform/launch.h"
#include "platform/profile.h"
#include "platform/terminate.h"
#include "platform/uithread.h"
#include "state/global.h"
#include "update/installerfile.h"
#include "update/manifest.h"

#include <QDir>
#include <QFile>

namespace velmora {

MyThread::MyThread(std::shared_ptr<DownloadProgress> progress, std::function<void()> failed)
    : UpdateWorker(std::move(progress)), m_folder(Global::updateFolder()),
      m_failed(std::move(failed)) {}

void MyThread::TerminateApplication() {
    requestTerminate();
}

void MyThread::Execute() {
    QString installer;
    if (download(installer)) {
        // The desktop's services are the user-interface thread's, so the start is handed over
        // together with the end of the application.
        uithread::call([installer] {
            launchFile(installer);
            TerminateApplication();
        });
        return;
    }
    QFile::remove(installer);
    if (m_failed)
        uithread::call(m_failed);
}

bool MyThread::download(QString& installer) {
    const QDir folder(m_folder);
    const ProfileFile info = ProfileFile::load(folder.filePath(QLatin1String(manifest::FileName)));
    const QString url = manifest::installerUrl(info);
    const int size = manifest::installerSize(info);
    const QString sha256 = manifest::installerSha256(info);

    QDir().mkpath(m_folder);
    installer = folder.filePath(installerFileName(url));
    // Announced size: nothing past it is taken, so an endless answer stops there.
    const qint64 limit = size > 0 ? size : NoSizeLimit;
    return downloadFile(url, installer, progress(), limit) &&
           installerMatches(installer, size, sha256);
}

} // namespace velmora
