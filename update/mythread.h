#pragma once

#include "update/installerplan.h"
#include "update/updateworker.h"

#include <QByteArray>
#include <QMetaType>
#include <QString>

namespace velmora {

// A worker that fetches, verifies and starts the planned installer and tells how far it got; the
// update controller starts one for the update dialog. Tests put scripted ones in its place.
class DownloadWorker : public UpdateWorker {
    Q_OBJECT
signals:
    // The bytes received so far: 0 when the transfer has begun, then after every piece.
    void progress(qint64 bytes);
    // Ended without starting the installer; detail is the installer's path when a verified one
    // stays for the user (a start that failed), else empty.
    void failed(velmora::UpdateFailure reason, const QString& detail);
    // The installer runs: the program is to end.
    void installerStarted();
};

// The installer download: downloads the plan's file as "setup" with the kind's extension into the
// update folder, verifies it and starts what it verified. It keeps no file but an installer that
// would not start, which stays for the user. A cancelled download starts nothing and tells nothing.
class MyThread : public DownloadWorker {
    Q_OBJECT
public:
    MyThread(InstallerPlan plan, QString folder);

protected:
    void Execute() override;

private:
    void fail(UpdateFailure failure, const QString& installer = {});

    const InstallerPlan m_plan;
    const QString m_folder;
};

} // namespace velmora

Q_DECLARE_METATYPE(velmora::UpdateFailure)
