#pragma once

#include "platform/profile/profile.h"
#include "update/updateworker.h"

#include <QByteArray>
#include <QMetaType>
#include <QString>

#include <optional>

namespace velmora {

// What an update check found: the manifest as this build takes it (with a signing key, the signed
// part of a manifest signed by that key that has not expired), or none when it could not be
// downloaded or was refused. Read once per check and handed on as this value.
struct CheckOutcome {
    std::optional<ProfileFile> manifest;
    // The address it came from, which decides the addresses an installer may come from.
    QString source;
    // Taken as signed: refused once its "Expires" has passed, also while the dialog shows it.
    bool expires = false;
};

// A worker that checks for an update and tells what it found; the update controller starts one
// and tells the user. Tests put scripted ones in its place.
class CheckWorker : public UpdateWorker {
    Q_OBJECT
signals:
    void finished(const velmora::CheckOutcome& outcome);
};

// The update check: downloads the manifest into the update folder (kept there only when this
// build takes it), reads it and tells the outcome. Without one, because the check failed in a
// way that is no outcome (its folder could not be used at all), it ends silently.
class CheckForUpdates : public CheckWorker {
    Q_OBJECT
public:
    CheckForUpdates(QString folder, QString manifestUrl, QByteArray signingKey);

protected:
    void Execute() override;

private:
    const QString m_folder;
    const QString m_manifestUrl;
    const QByteArray m_signingKey;
};

} // namespace velmora

Q_DECLARE_METATYPE(velmora::CheckOutcome)
