#pragma once

#include "update/updateworker.h"

#include <QString>

namespace velmora {

// One update check on its own thread: downloads the manifest into the update folder and, by the
// offered version and the update mode, stays silent, tells the user, asks, or shows the update
// dialog. Every box and the dialog are handed to the user-interface thread, which also reads the
// update mode and the "Messages" texts for it; the check ends with the update mode "custom".
class CheckForUpdates : public UpdateWorker {
    Q_OBJECT
public:
    // Made on the user-interface thread, which reads the update folder and the server here.
    CheckForUpdates();

    // Runs on the user-interface thread: shows the update dialog modally, when it exists.
    static void ShowUpdateDialog();

protected:
    void Execute() override;

private:
    void check();

    QString m_folder;
    QString m_manifestUrl;
};

} // namespace velmora
