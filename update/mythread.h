#pragma once

#include "update/updateworker.h"

#include <QString>

#include <functional>

namespace velmora {

// The installer download on its own thread. It reads the installer's address, size and digest
// from the manifest, downloads it as "setup" with the address's extension into the update
// folder and, only when the transfer is complete and the file is the one the manifest announced,
// starts it and ends the application. Otherwise it removes what arrived, starts nothing and
// hands `failed` to the user-interface thread; the program goes on.
class MyThread : public UpdateWorker {
    Q_OBJECT
public:
    // Made on the user-interface thread, which reads the update folder here.
    MyThread(std::shared_ptr<DownloadProgress> progress, std::function<void()> failed);

    // Runs on the user-interface thread: ends the application's event loops as the menu's exit
    // command does.
    static void TerminateApplication();

protected:
    void Execute() override;

private:
    bool download(QString& installer);

    QString m_folder;
    std::function<void()> m_failed;
};

} // namespace velmora
