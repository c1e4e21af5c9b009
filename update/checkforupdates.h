#pragma once

#include "update/updateworker.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace velmora {

// One update check on its own thread: downloads the manifest into the update folder, then hands
// the outcome to the user-interface thread, which by the offered version and the update mode stays
// silent, tells the user, asks, or shows the update dialog, and ends the check with the update
// mode "custom".
class CheckForUpdates : public UpdateWorker {
    Q_OBJECT
public:
    // Made on the user-interface thread, which reads the update folder and the server here.
    CheckForUpdates();

    // Runs on the user-interface thread: shows the update dialog modally, when it exists.
    static void ShowUpdateDialog();

    // On the user-interface thread: true once the check has told its outcome (or failed while
    // telling it). A request that comes later needs a check of its own.
    bool reported() const { return m_reported; }

protected:
    void Execute() override;

private:
    // On the user-interface thread: the boxes and the dialog for the offered version, or for a
    // manifest that could not be downloaded (none).
    static void report(std::optional<int> offered);

    QString m_folder;
    QString m_manifestUrl;
    QByteArray m_signingKey;
    bool m_reported = false; // the user-interface thread's
};

} // namespace velmora
