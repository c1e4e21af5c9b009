#include "update/checkforupdates.h"

#include "platform/messagebox.h"
#include "platform/profile.h"
#include "platform/uithread.h"
#include "state/global.h"
#include "update/manifest.h"
#include "update/updatedialog.h"

#include <QDir>

namespace velmora {
namespace {

// The manifest is a few kilobytes; anything far larger is not one.
constexpr qint64 MaxManifestBytes = 1024 * 1024;

UpdateMode currentMode() {
    return uithread::ask([] { return Global::updateMode(); }).value_or(UpdateMode::None);
}

// A box of the "Messages" table, shown by the user-interface thread; No when refused.
int messageBox(int textLine, int captionLine, unsigned flags) {
    return uithread::ask([=] {
               return showMessageBox(Global::text(TextTable::Messages, textLine),
                                     Global::text(TextTable::Messages, captionLine), flags);
           })
        .value_or(AnswerNo);
}

} // namespace

CheckForUpdates::CheckForUpdates()
    : UpdateWorker(std::make_shared<DownloadProgress>()), m_folder(Global::updateFolder()),
      m_manifestUrl(manifest::manifestUrl()) {}

void CheckForUpdates::ShowUpdateDialog() {
    if (Form4)
        Form4->exec();
}

void CheckForUpdates::Execute() {
    try {
        check();
    } catch (...) {
        // A failure (also one handed back from the user-interface thread) ends the check
        // without a message.
    }
    uithread::call([] { Global::setUpdateMode(UpdateMode::Custom); });
}

void CheckForUpdates::check() {
    // A folder that cannot be made shows as a failed download.
    QDir().mkpath(m_folder);
    const QString path = QDir(m_folder).filePath(QLatin1String(manifest::FileName));
    if (!downloadFile(m_manifestUrl, path, progress(), MaxManifestBytes)) {
        if (currentMode() == UpdateMode::Custom)
            messageBox(11, 3, MessageFlags::ErrorOk);
        return;
    }

    const int offered = manifest::offeredVersion(ProfileFile::load(path));
    if (offered > manifest::ProgramVersion) {
        if (currentMode() == UpdateMode::Custom) {
            uithread::call(ShowUpdateDialog);
        } else if (currentMode() == UpdateMode::Auto &&
                   messageBox(13, 1, MessageFlags::InformationYesNo) == AnswerYes) {
            uithread::call(ShowUpdateDialog);
        }
    } else if (offered == manifest::ProgramVersion && currentMode() == UpdateMode::Custom) {
        messageBox(12, 1, MessageFlags::InformationOk);
    }
}

} // namespace velmora
