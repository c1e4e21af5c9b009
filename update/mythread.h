#pragma once

#include "update/updateservice.h"
#include "update/updateworker.h"

#include <QByteArray>
#include <QString>

namespace velmora {

// The installer download on its own thread. It plans the installer from the manifest (refusing
// an address, a kind or a manifest it cannot trust), downloads it as "setup" with the kind's
// extension into the update folder, verifies it, starts it, and only when it started ends the
// application. Otherwise it starts nothing, keeps no file (but an installer that would not start,
// which stays for the user) and hands the reason to the user-interface thread; the program goes
// on.
class MyThread : public UpdateWorker {
    Q_OBJECT
public:
    // Made on the user-interface thread, which reads the update folder, the server and the
    // signing key here.
    MyThread(std::shared_ptr<DownloadProgress> progress, DownloadFailedHandler failed);

    // Runs on the user-interface thread: ends the application's event loops as the menu's exit
    // command does.
    static void TerminateApplication();

protected:
    void Execute() override;

private:
    void fail(UpdateFailure failure, const QString& installer = {});

    QString m_folder;
    QString m_manifestUrl;
    QByteArray m_signingKey;
    DownloadFailedHandler m_failed;
};

} // namespace velmora
