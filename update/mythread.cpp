#include "update/mythread.h"

#include "platform/desktop/launch.h"
#include "update/updatefolder.h"

#include <QDir>
#include <QFile>

#include <cstdio>

namespace velmora {

MyThread::MyThread(InstallerPlan plan, QString folder)
    : m_plan(std::move(plan)), m_folder(std::move(folder)) {}

void MyThread::Execute() {
    if (!makePrivateFolder(m_folder)) {
        fail(UpdateFailure::DownloadFailed);
        return;
    }
    // Fetched beside the installer an earlier start left for the user, which only a verified
    // one replaces.
    const QString installer = QDir(m_folder).filePath(m_plan.fileName);
    const QString fetched = installer + QLatin1String(FetchedSuffix);

    // Every piece is told: a count held back for later would wait for the next piece, which a
    // stalled server never sends. One event per piece of kilobytes is little for the dialog.
    transfer().written = [this](qint64 received) { emit progress(received); };
    const bool downloaded = downloadFile(m_plan.url, fetched, &transfer(), {m_plan.maxBytes});
    if (!downloaded) {
        QFile::remove(fetched);
        fail(UpdateFailure::DownloadFailed);
        return;
    }
    // Checked and started through one handle: a file renamed over the path in between is not
    // what starts.
    const std::unique_ptr<QFile> verified = openVerifiedFile(fetched, m_plan.expected);
    if (!verified || std::rename(QFile::encodeName(fetched).constData(),
                                 QFile::encodeName(installer).constData()) != 0) {
        QFile::remove(fetched);
        fail(UpdateFailure::NotVerified);
        return;
    }
    // The dialog that asked for it has closed, or the program ends: nothing starts without it.
    if (cancelled())
        return;
    if (!startInstaller(*verified, installer)) {
        // Verified: it stays for the user to start.
        fail(UpdateFailure::StartFailed, installer);
        return;
    }
    // It runs from the handle (or from its own copy): the name is no longer needed.
    QFile::remove(installer);
    emit installerStarted();
}

void MyThread::fail(UpdateFailure failure, const QString& installer) {
    if (!cancelled())
        emit failed(failure, installer);
}

} // namespace velmora
