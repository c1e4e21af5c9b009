#include "update/checkforupdates.h"

#include "platform/base/uithread.h"
#include "platform/profile/profile.h"
#include "platform/ui/messagebox.h"
#include "state/global.h"
#include "update/installerplan.h"
#include "update/manifest.h"
#include "update/updatedialog.h"
#include "update/updatefolder.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>

namespace velmora {
namespace {

// A box of the "Messages" table.
int messageBox(int textLine, int captionLine, unsigned flags) {
    return showMessageBox(Global::text(TextTable::Messages, textLine),
                          Global::text(TextTable::Messages, captionLine), flags);
}

bool modeIs(UpdateMode mode) {
    return Global::updateMode() == mode;
}

} // namespace

CheckForUpdates::CheckForUpdates()
    : UpdateWorker(std::make_shared<DownloadProgress>()), m_folder(Global::updateFolder()),
      m_manifestUrl(manifest::manifestUrl()), m_signingKey(updateSigningKey()) {}

void CheckForUpdates::ShowUpdateDialog() {
    if (Form4)
        Form4->exec();
}

void CheckForUpdates::Execute() {
    std::optional<int> offered;
    bool fetched = false;
    try {
        // A folder that cannot be made shows as a failed download.
        makePrivateFolder(m_folder);
        const QString path = QDir(m_folder).filePath(QLatin1String(manifest::FileName));
        // Brief: a server that trickles must not hold the check, and every request that waits
        // for it, for long.
        if (downloadFile(m_manifestUrl, path, progress(), {manifest::MaxManifestBytes, true})) {
            // A manifest this build does not take (unsigned, signed by another key, expired) is
            // told as a failed check, and not kept for the dialog.
            if (const auto manifest = manifest::loadManifest(path, m_signingKey))
                offered = manifest::offeredVersion(*manifest);
            else
                QFile::remove(path);
        }
        fetched = true;
    } catch (...) {
        // A failure ends the check without a message.
    }
    // The outcome is told on the user-interface thread, where the menu's requests come in too:
    // a request either comes before this and is answered here, or after it and starts a check of
    // its own.
    uithread::call([this, fetched, offered] {
        const auto ended = qScopeGuard([this] {
            Global::setUpdateMode(UpdateMode::Custom);
            m_reported = true;
        });
        if (fetched)
            report(offered);
    });
}

void CheckForUpdates::report(std::optional<int> offered) {
    if (!offered) {
        if (modeIs(UpdateMode::Custom))
            messageBox(11, 3, MessageFlags::ErrorOk);
        return;
    }
    if (*offered > manifest::ProgramVersion) {
        if (modeIs(UpdateMode::Custom))
            ShowUpdateDialog();
        else if (modeIs(UpdateMode::Auto) &&
                 messageBox(13, 1, MessageFlags::InformationYesNo) == AnswerYes)
            ShowUpdateDialog();
    } else if (*offered == manifest::ProgramVersion && modeIs(UpdateMode::Custom)) {
        messageBox(12, 1, MessageFlags::InformationOk);
    }
}

} // namespace velmora
